// Option 11: asks the service for the acknowledgement of a cancellation and
// shows the acknowledgement XML beside the service's log. The log is read
// back as ".\Recupera.LOG": file names are looked up regardless of letter
// case, so that is the ".\Recupera.log" the library wrote.

#include <array>

#include "app/operations.h"
#include "app/service_result.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"

namespace app {
namespace {

constexpr std::string_view kTitle = " Resultado de la Recuperaci\xF3n del Acuse de Cancelaci\xF3n";
constexpr std::size_t kTitleBlanks = 80;
static_assert(kTitle.size() + kTitleBlanks == 134);

constexpr std::array<ResultMessage, 3> kMessages{{
    {1, "Operaci\xF3n Exitosa, Acuse obtenido"},
    {0, "Operaci\xF3n Exitosa, pero no el acuse no se encuentra disponible"},
    {-1, "Error en la obtenci\xF3n del acuse"},
}};

}  // namespace

void ACUSECANCELA() {
  console::RoutineFrame frame("ACUSECANCELA");
  const int result = DROVANEXIS_RECUPERAACUSECANCELACION(
      "demo_valdorin", "AAA010101AAA", "F94FE4AC-4743-4745-BA99-E0D13100331D", ".\\Recupera.res",
      ".\\Recupera.xml", ".\\Recupera.log", "");
  show_service_result(kTitle, kTitleBlanks, kMessages, result, ".\\Recupera.xml",
                      ".\\Recupera.LOG");
}

}  // namespace app
