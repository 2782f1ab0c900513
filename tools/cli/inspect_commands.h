#pragma once

#include <iosfwd>

#include "tools/cli/arguments.h"

namespace cli {

// validate FILE...: each document as a provider judges it, as of its own Fecha.
int run_validate(const ParsedCommand& command, std::ostream& out, std::ostream& err);
// cadena [--tfd] FILE: the original string, bytes only.
int run_cadena(const ParsedCommand& command, std::ostream& out, std::ostream& err);
// check FILE... [--pac-cer FILE]: the issuer's seal and the stamp's.
int run_check(const ParsedCommand& command, std::ostream& out, std::ostream& err);

}  // namespace cli
