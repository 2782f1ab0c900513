#include "app/open_bitmap.h"

#include <filesystem>

#include "console/run_command.h"
#include "portable/windows_path.h"

namespace app {
namespace {

// The text as one shell word: inside single quotes, where only the quote
// itself needs care.
std::string shell_quoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace

std::string open_bitmap_command(std::string_view windows_name) {
  std::error_code ignored;
  const std::filesystem::path file =
      std::filesystem::absolute(portable::resolve_path(windows_name), ignored);
  return "{ if { [ -n \"${DISPLAY:-}\" ] || [ -n \"${WAYLAND_DISPLAY:-}\" ]; } "
         "&& command -v xdg-open; then xdg-open " +
         shell_quoted(file.string()) + " & fi; } </dev/null >/dev/null 2>&1";
}

void open_bitmap(console::Console& con, std::string_view windows_name) {
  console::run_command(con, open_bitmap_command(windows_name));
}

}  // namespace app
