#pragma once
// Console-style writing and the wait prompt.

#include <optional>
#include <source_location>
#include <string>
#include <string_view>

#include "console/console.h"

namespace console {

// Writes `text` at the cursor the way a console does: the cursor is first
// brought back inside the screen; CR goes to column 0, LF to the next row;
// text wraps at the right edge onto the next row; past the last row the
// whole screen scrolls up one row, the new bottom row blank in the current
// colour. Written in the current colour.
void write_console_style(Console& con, std::string_view text);

inline constexpr std::string_view default_wait_message = "Press any key to continue...";

// Writes a line break and the message (console style), waits for one key and
// returns its character, written after the message, as a one-byte text; a
// key that is not a character (code outside 32-255) gives the byte 0.
std::string wait_prompt(Console& con, std::optional<std::string_view> message = std::nullopt,
                        std::source_location caller = std::source_location::current());

}  // namespace console
