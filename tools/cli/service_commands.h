#pragma once

#include <iosfwd>

#include "tools/cli/arguments.h"

namespace cli {

// The provider's services and two helpers, each answering in plain text
// ("key: value" lines) or, with --json, one object.
int run_status(const ParsedCommand& command, std::ostream& out, std::ostream& err);
int run_cancel(const ParsedCommand& command, std::ostream& out, std::ostream& err);
int run_ack(const ParsedCommand& command, std::ostream& out, std::ostream& err);
int run_balance(const ParsedCommand& command, std::ostream& out, std::ostream& err);
int run_cer64(const ParsedCommand& command, std::ostream& out, std::ostream& err);
int run_qr(const ParsedCommand& command, std::ostream& out, std::ostream& err);

}  // namespace cli
