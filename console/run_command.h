#pragma once
// Running a command through the command interpreter while the program waits.

#include <string>
#include <string_view>

#include "console/console.h"

namespace console {

// The command interpreter of this system: /bin/sh (on Windows: COMSPEC, else
// CMD.EXE found along PATH).
std::string default_command_interpreter();

// Hands the terminal back, runs `command` through the interpreter ("-c"),
// waits for it, takes the terminal back and redraws the screen. Ctrl+C goes
// to the command, not to the program, while it runs. When the interpreter
// does not exist or cannot be started nothing happens. The exit status is
// not reported.
void run_command(Console& con, std::string_view command,
                 const std::string& interpreter = default_command_interpreter());

}  // namespace console
