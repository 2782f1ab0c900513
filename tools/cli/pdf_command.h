#pragma once

#include <iosfwd>

#include "tools/cli/arguments.h"

namespace cli {

// drovanexis pdf: the printed form of each CFDI file as a PDF.
int run_pdf(const ParsedCommand& command, std::ostream& out, std::ostream& err);

}  // namespace cli
