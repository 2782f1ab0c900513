#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace drovanexis {

// Breaks UTF-8 text into lines of at most `width` characters, at blanks where
// possible; the first line starts with `first_prefix`, the others with as
// many blanks.
// Wrapping takes time in proportion to the text's length.
std::vector<std::string> wrap_text(std::string_view first_prefix, std::string_view text,
                                   std::size_t width);

// The most characters of one text a log line shows: a value longer than that
// (a file name or attribute of megabytes) keeps its first kLogTextLimit
// characters and a note of how many more it had.
inline constexpr std::size_t kLogTextLimit = 4096;
std::string clip_log_text(std::string_view text);

}  // namespace drovanexis
