#include "portable/terminal.h"

#include <unistd.h>

namespace portable {

bool input_is_terminal() { return ::isatty(STDIN_FILENO) != 0; }

bool output_is_terminal() { return ::isatty(STDOUT_FILENO) != 0; }

bool write_to_terminal(std::string_view bytes) {
  if (!output_is_terminal()) return false;
  while (!bytes.empty()) {
    const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace portable
