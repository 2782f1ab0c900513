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

// True when the text is well-formed UTF-8 (no overlong forms, surrogates or
// code points past U+10FFFF). Plain ASCII is valid UTF-8.
bool is_valid_utf8(std::string_view text);

// A text for a console that shows Windows-1252: a text that is valid UTF-8
// and not plain ASCII is converted (characters outside the code page become
// "?"); any other text is returned as it is, since it already is in the
// console's code page or is not a UTF-8 text at all.
std::string for_cp1252_display(std::string_view text);

}  // namespace portable
