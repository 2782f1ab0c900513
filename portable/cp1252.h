#pragma once

#include <string>
#include <string_view>

namespace portable {

// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 control characters of the same
// value, as Windows itself maps them.
std::string cp1252_to_utf8(std::string_view text);

// UTF-8 to Windows-1252; characters outside the code page, and bytes that are
// not valid UTF-8, become "?".
std::string utf8_to_cp1252(std::string_view text);

}  // namespace portable
