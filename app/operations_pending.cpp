// Operations whose work is not built yet: each returns to the menu at once.
// An operation moves to a file of its own when it is built.

#include "app/operations.h"

namespace app {

void VXMLSAMPLE() {}
void VXMLPAGOS() {}
void VXMLNOMINA() {}
void VXMLCARTAPORTE1() {}
void VXMLCARTAPORTE2() {}
void VXMLEXTERNO() {}

}  // namespace app
