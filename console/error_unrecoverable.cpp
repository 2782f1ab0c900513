#include "console/error_unrecoverable.h"

#include <fstream>

#include "portable/terminal.h"
#include "portable/windows_path.h"

namespace console {

std::string console_start_failure_text() {
  if (!portable::output_is_terminal()) return "Can't allocate console (output)";
  if (!portable::input_is_terminal()) return "Can't allocate console (input)";
  return "Can't allocate console";
}

int report_unrecoverable(const UnrecoverableError& error, std::ostream& error_output,
                         std::string_view log_name) {
  {
    std::ofstream log(portable::resolve_path(log_name), std::ios::binary | std::ios::app);
    if (log) log << error.text << "\r\n";
  }
  error_output << "\nUnrecoverable error " << error.number << ": " << error.text << "\n";
  error_output.flush();
  return 1;
}

}  // namespace console
