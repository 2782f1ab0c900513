#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace console {

// The whole file as bytes, read with Windows file-name semantics (".\" prefix,
// letter case ignored). A trailing end-of-file byte (26) is left out. Anything
// that cannot be read (missing, unreadable, a folder, a device or FIFO, which
// is never waited on) gives "", and so does a file of more than `limit` bytes,
// refused from its size before any byte is read.
std::string read_file(std::string_view windows_name,
                      std::size_t limit = std::numeric_limits<std::size_t>::max() - 1);

}  // namespace console
