#include "console/read_file.h"

#include "portable/file_io.h"

namespace console {

std::string read_file(std::string_view windows_name) {
  std::optional<std::string> bytes = portable::read_file(windows_name);
  if (!bytes) return {};
  if (!bytes->empty() && bytes->back() == '\x1a') bytes->pop_back();
  return std::move(*bytes);
}

}  // namespace console
