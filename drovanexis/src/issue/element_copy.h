#pragma once

#include "document/element.h"

namespace drovanexis::issue {

// A deep copy of an element: name, attributes in order, text and children.
// Processing works on a copy so that a failed run leaves the document as the
// caller built it (Fecha still "%cb_date", no seal, no stamp).
Element copy_element(const Element& source);

}  // namespace drovanexis::issue
