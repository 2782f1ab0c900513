#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace drovanexis {

// Breaks UTF-8 text into lines of at most `width` characters, at blanks where
// possible; the first line starts with `first_prefix`, the others with as
// many blanks.
std::vector<std::string> wrap_text(std::string_view first_prefix, std::string_view text,
                                   std::size_t width);

}  // namespace drovanexis
