// Inputs the fuzz targets found that break a property of the colour strings
// and of the viewer's line splitter;
// both are mended, and these tests keep them so.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "console/colour.h"
#include "console/line_split.h"
#include "console/text_lines.h"

namespace console {
namespace {

// What the colour table writes must read back to the same five values.
TEST(FuzzFindings, ColourStringsReadBackToTheSameValues) {
  for (const std::string_view text : {"/UX", "/U15", "U//"}) {
    ColourTable table;
    table.apply(text);
    ColourTable again;
    again.apply(table.to_string());
    for (int i = 0; i < ColourTable::slot_count; ++i) {
      EXPECT_EQ(table.slot(i).attr, again.slot(i).attr)
          << "\"" << text << "\" slot " << i << " written as " << table.to_string();
      EXPECT_TRUE(table.slot(i) == again.slot(i)) << "\"" << text << "\" slot " << i;
    }
  }
}

std::string joined(const TextLines& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out.append(lines.text(i));
    if (i + 1 < lines.size() && !lines.soft(i)) out.append(lines.line_break());
  }
  return out;
}

// Joining the lines back (as the edited text is) keeps every hard line break.
TEST(FuzzFindings, SplitLinesJoinBackWithEveryHardBreak) {
  const struct {
    std::string_view text;
    std::size_t width;
    std::string_view expected;  // the text without its soft breaks (141, 10)
  } cases[] = {
      {"a b c \n\x8d\nxyz\x8d", 5, "a b c \nxyz\x8d"},
      {"abcd \nx", 4, "abcd \nx"},  // a line of width + 1 bytes ending in a blank
      {"word w\x8d$b c \n\x8d\xed\xdf\x9d\xf5word\nwordb\nword .w\nsltast", 11,
       "word w\x8d$b c \n\x8d\xed\xdf\x9d\xf5word\nwordb\nword .w\nsltast"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(joined(split_lines(c.text, c.width)), c.expected) << "width " << c.width;
  }
}

}  // namespace
}  // namespace console
