#include "console/run_command.h"

#include "portable/process.h"
#include "portable/signals.h"

namespace console {

std::string default_command_interpreter() { return "/bin/sh"; }

void run_command(Console& con, std::string_view command, const std::string& interpreter) {
  if (interpreter.empty() || !portable::is_executable(interpreter)) return;
  con.backend().suspend();
  {
    // The interrupt key belongs to the command while it runs.
    const portable::InterruptIgnored interrupt_to_the_command;
    portable::run_process({interpreter, "-c", std::string(command)},
                          portable::ChildStreams::inherit);
  }
  con.backend().resume();
  con.present();
}

}  // namespace console
