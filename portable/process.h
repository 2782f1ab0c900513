#pragma once
// Starting other programs and waiting for them; the process's own id.

#include <optional>
#include <string>
#include <vector>

namespace portable {

// What the child's standard streams are: the program's own (a command the
// user watches), or no input and its output captured or thrown away.
enum class ChildStreams { inherit, capture_output, discard_output };

struct ProcessResult {
  bool started = false;
  std::optional<int> exit_code;  // nullopt when it did not end normally
  std::string output;            // with ChildStreams::capture_output
};

// Runs arguments[0] (searched along PATH when it has no slash) with the
// other arguments, without a shell, and waits for it to end. The child gets
// the default handling of the interrupt and quit signals even while the
// program ignores them.
ProcessResult run_process(const std::vector<std::string>& arguments, ChildStreams streams);

// Runs a command line through the shell, capturing its standard output.
ProcessResult run_shell_command(const std::string& command_line);

// True when the file exists and may be executed.
bool is_executable(const std::string& file);

int current_process_id();

// True while the process waits in the system call that opens a file (a named
// pipe with no other end yet, for instance); false when it runs, waits in
// another call, or cannot be looked at.
bool waits_opening_a_file(int process_id);

}  // namespace portable
