#include "tests/e2e/tmux_session.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

TEST(StyledRowTest, SgrSequencesGiveEachCharacterItsColours) {
  // As capture-pane -e writes them: bold red background, reset, 256-colour
  // forms, blink, and a two-byte UTF-8 character.
  const StyledRow row = parse_styled_row(
      "a\033[1m\033[41mB\033[0mc\033[30;47md\033[38;5;4;48;5;1me\033[5;94mf\033[39;49;25;"
      "22m\xC3\xB3");
  const std::vector<std::string> characters = {"a", "B", "c", "d", "e", "f", "\xC3\xB3"};
  const std::vector<CellColour> colours = {
      {7, 0, false, false},  // default
      {7, 4, true, false},   // bright white on red
      {7, 0, false, false},  // reset
      {0, 7, false, false},  // black on white
      {1, 4, false, false},  // terminal colour 4 is our blue, 1 our red
      {1, 4, true, true},    // bright blue from 94, blink
      {7, 0, false, false},  // defaults back
  };
  EXPECT_EQ(row.characters, characters);
  EXPECT_EQ(row.colours, colours);
}

TEST(StyledRowTest, ColoursCarryOverFromOneRowToTheNext) {
  // A banner: tmux sets blue once on row 0 and sends the next rows' blanks
  // without repeating it.
  const std::vector<StyledRow> rows = parse_styled_screen("\033[1m\033[44mAB\nCD\033[0m\nE");
  ASSERT_EQ(rows.size(), 3u);
  const CellColour banner{7, 1, true, false};
  EXPECT_EQ(rows[0].colours, (std::vector<CellColour>{banner, banner}));
  EXPECT_EQ(rows[1].colours, (std::vector<CellColour>{banner, banner}));
  EXPECT_EQ(rows[2].colours, (std::vector<CellColour>{{7, 0, false, false}}));
}

// A text cut by the right edge is found whole; rows shorter than the width
// (their trailing blanks cut off, or holding multi-byte characters) are
// padded so that nothing of two rows runs together.
TEST(JoinScreenRowsTest, TextRunningOnIntoTheNextRowIsFoundWhole) {
  const std::string joined = join_screen_rows({"abc /long/pa", "th/lib.so\"", "\xC3\xB3k"}, 12);
  EXPECT_NE(joined.find("/long/path/lib.so\""), std::string::npos);
  EXPECT_EQ(joined.substr(12, 12), "th/lib.so\"  ");
  EXPECT_EQ(joined.size(), 12u + 12u + 3u + 10u);  // the o acute takes two bytes, one column
  EXPECT_EQ(joined.find("\"\xC3"), std::string::npos);
}

}  // namespace
}  // namespace e2e
