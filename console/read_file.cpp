#include "console/read_file.h"

#include "portable/file_io.h"
#include "portable/windows_path.h"

namespace console {

std::string read_file(std::string_view windows_name, std::size_t limit) {
  portable::BoundedRead read =
      portable::read_regular_file(portable::resolve_path(windows_name), limit);
  if (read.failure) return {};
  if (!read.bytes.empty() && read.bytes.back() == '\x1a') read.bytes.pop_back();
  return std::move(read.bytes);
}

}  // namespace console
