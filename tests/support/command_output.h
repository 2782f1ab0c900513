#pragma once
// For tests: running a command line through the shell and reading what it
// wrote.

#include <optional>
#include <string>

#include "portable/process.h"

namespace test_support {

struct CommandOutput {
  std::optional<int> exit_code;  // nullopt when it could not run or did not end normally
  std::string output;            // standard output, and error output with `with_errors`
};

// Runs the command line through the shell and waits for it (and, with
// `with_errors`, for what it started in the background, its error output
// joined to its output).
inline CommandOutput run_command_line(const std::string& command_line, bool with_errors = false) {
  // A line break, not ";", ends the command: it may itself end with "&".
  const std::string line = with_errors ? "( " + command_line + "\nwait ) 2>&1" : command_line;
  const portable::ProcessResult result = portable::run_shell_command(line);
  if (!result.started) return {std::nullopt, "<the shell could not be started>"};
  return {result.exit_code, result.output};
}

}  // namespace test_support
