#pragma once

#include <string>
#include <string_view>

namespace console {

// The whole file as bytes, read with Windows file-name semantics (".\" prefix,
// letter case ignored). A trailing end-of-file byte (26) is left out. Anything
// that cannot be read (missing, unreadable, a folder) gives "".
std::string read_file(std::string_view windows_name);

}  // namespace console
