#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "console/text_lines.h"

namespace console {

// The line break of a text: CR when it holds CRs only, LF when it holds LFs
// only, CR LF in every other case.
std::string_view choose_line_break(std::string_view text);

// Replaces every tab by exactly three blanks (the viewer has no tab stops).
std::string expand_tabs(std::string_view text);

// Where a line longer than `width` is cut: after the last blank among its
// first width + 1 bytes when that blank is past the first byte, else after
// `width` bytes.
std::size_t wrap_cut(std::string_view line, std::size_t width);

// Splits a text into the viewer's lines for a window `width` columns wide:
//  - the two-byte soft breaks (141, 10) are removed;
//  - the line break is CR when the text holds CRs only, LF when it holds LFs
//    only, CR LF otherwise; with CR LF every LF inside a line is dropped;
//  - a line longer than `width` is cut after the last blank among its first
//    width + 1 bytes (that blank stays at the line's end), or at `width` bytes
//    when there is no such blank past the first byte; the cut-off parts carry
//    the soft flag, except the last line of each piece, which ends with the
//    line break even when a cut took the whole rest of it;
//  - a text that ends with its own line break gets an empty last line.
// The result always holds at least one line. Tabs are not touched here.
TextLines split_lines(std::string_view text, std::size_t width);

}  // namespace console
