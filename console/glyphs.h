#pragma once
// How screen bytes look on a Unicode terminal: bytes are Windows-1252
// characters; control bytes show as the classic PC glyphs; cells marked as
// frame characters show the box-drawing glyphs of the PC code page.

#include <cstdint>
#include <optional>

#include "console/screen.h"

namespace console {

char32_t glyph_for(const Cell& cell);
// The Windows-1252 byte of a character typed on the terminal, nullopt when
// the character has none.
std::optional<std::uint8_t> cp1252_byte(char32_t character);

}  // namespace console
