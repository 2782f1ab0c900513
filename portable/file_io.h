#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace portable {

// The whole file as bytes, with Windows file-name semantics (see
// resolve_path); nullopt when the file cannot be opened or read.
std::optional<std::string> read_file(std::string_view windows_name);

// Writes the file so that it is either fully replaced or left untouched: the
// bytes go to a temporary file in the same folder, which is flushed to disk
// and then renamed over the target. Throws std::system_error naming the file.
void write_file_atomic(std::string_view windows_name, std::string_view bytes);

}  // namespace portable
