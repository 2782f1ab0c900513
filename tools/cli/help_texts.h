#pragma once

#include <string_view>

namespace cli {

// The general help: every subcommand in one line, and the exit codes.
std::string_view general_help();

// The help of one subcommand, with an example; "" for an unknown name.
std::string_view command_help(std::string_view subcommand);

// "drovanexis VERSION" and a line end: what --version prints.
std::string_view version_text();

}  // namespace cli
