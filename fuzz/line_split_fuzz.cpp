// The viewer's lines, joined back as the edited text is (hard lines separated
// by the text's line break, soft pieces run together), keep every hard line
// break of the text: with LF breaks only, or CR breaks only, the joined text
// is the text itself without its two-byte soft breaks (141, 10).
// The first byte of the input chooses the window width (1 to 64).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/line_split.h"
#include "console/text_lines.h"
#include "fuzz_check.h"

namespace {

std::string without_soft_breaks(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\x8d' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
      continue;
    }
    out += text[i];
  }
  return out;
}

std::string joined(const console::TextLines& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out.append(lines.text(i));
    if (i + 1 < lines.size() && !lines.soft(i)) out.append(lines.line_break());
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t width = 1 + data[0] % 64;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const console::TextLines lines = console::split_lines(text, width);
  FUZZ_CHECK(lines.size() >= 1, "no line at all");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    FUZZ_CHECK(lines.text(i).size() <= width + 1, "line %zu is %zu bytes for width %zu", i,
               lines.text(i).size(), width);
  }
  const std::string expected = without_soft_breaks(text);
  const bool one_kind_of_break =
      expected.find('\r') == std::string::npos || expected.find('\n') == std::string::npos;
  if (one_kind_of_break) {
    const std::string result = joined(lines);
    FUZZ_CHECK(result == expected, "width %zu: %zu bytes joined back as %zu bytes", width,
               expected.size(), result.size());
  }
  return 0;
}
