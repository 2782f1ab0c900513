#pragma once

#include <string_view>

#include "document/element.h"

namespace drovanexis::issue {

// Reads the text of an externally built CFDI into the tree. Throws
// ProcessingFailure: 301 for an empty text, a text that is not well-formed
// XML, a root that is not a CFDI (or whose namespace and Version disagree),
// or a CFDI 4.0, which the pipeline does not seal or stamp; 307 when the
// document already carries a stamp.
Element read_external_document(std::string_view text);

}  // namespace drovanexis::issue
