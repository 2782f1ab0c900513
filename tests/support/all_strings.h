#pragma once
// For tests: every short string over a small alphabet, to check a property
// (splitting and joining, writing and reading back) on all of them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace test_support {

// Calls `visit` with every string over `alphabet` of each length from
// `min_length` to `max_length`; stops early when `visit` returns false.
template <typename Visit>
void for_each_string(std::string_view alphabet, std::size_t min_length, std::size_t max_length,
                     Visit visit) {
  for (std::size_t length = min_length; length <= max_length; ++length) {
    std::vector<std::size_t> digits(length, 0);
    for (;;) {
      std::string text;
      for (std::size_t d : digits) text.push_back(alphabet[d]);
      if (!visit(text)) return;
      std::size_t i = 0;
      while (i < length && ++digits[i] == alphabet.size()) digits[i++] = 0;
      if (i == length) break;
    }
  }
}

}  // namespace test_support
