#include "console/viewer_model.h"

#include <gtest/gtest.h>

#include <string>

namespace console {
namespace {

void type(ViewerModel& model, std::string_view text) {
  for (char ch : text) model.type(static_cast<unsigned char>(ch));
}

std::string line(const ViewerModel& model, std::size_t n) {
  return std::string(model.lines().text(n - 1));
}

TEST(ViewerModelMoves, CursorWrapsBetweenLinesAtTheEdges) {
  ViewerModel model("abc\r\ndef", 5, 10);
  model.left();  // line 1, column 1: nowhere to go
  EXPECT_EQ(model.line(), 1u);
  for (int i = 0; i < 9; ++i) model.right();
  EXPECT_EQ(model.column(), 10u);
  model.right();
  EXPECT_EQ(model.line(), 2u);
  EXPECT_EQ(model.column(), 1u);
  model.left();
  EXPECT_EQ(model.line(), 1u);
  EXPECT_EQ(model.column(), 10u);
  model.end();
  EXPECT_EQ(model.column(), 4u);
  model.home();
  EXPECT_EQ(model.column(), 1u);
}

TEST(ViewerModelMoves, ScrollingKeepsTheCursorLineInTheWindow) {
  std::string text;
  for (int i = 1; i <= 30; ++i) text += "l" + std::to_string(i) + "\n";
  ViewerModel model(text, 10, 20);  // 31 lines: the last one empty
  for (int i = 0; i < 12; ++i) model.down();
  EXPECT_EQ(model.line(), 13u);
  EXPECT_EQ(model.first_line(), 4u);
  EXPECT_EQ(model.cursor_row(), 9u);
  model.window_top();
  EXPECT_EQ(model.line(), 4u);
  model.window_bottom();
  EXPECT_EQ(model.line(), 13u);
  EXPECT_EQ(model.column(), 4u);
  model.page_up();
  EXPECT_EQ(model.first_line(), 1u);
  EXPECT_EQ(model.line(), 10u);
  model.page_up();
  EXPECT_EQ(model.line(), 1u);
  model.text_end();
  EXPECT_EQ(model.line(), 31u);
  EXPECT_EQ(model.first_line(), 22u);
}

TEST(ViewerModelMoves, WordsAcrossLines) {
  ViewerModel model("one two\r\n   three", 5, 20);
  model.word_right();
  EXPECT_EQ(model.column(), 5u);
  model.word_right();
  EXPECT_EQ(model.line(), 2u);
  EXPECT_EQ(model.column(), 4u);
  model.word_left();
  EXPECT_EQ(model.line(), 1u);
  EXPECT_EQ(model.column(), 5u);
  model.word_left();
  EXPECT_EQ(model.column(), 1u);
}

TEST(ViewerModelEdits, TypingInOverwriteAndInsertMode) {
  ViewerModel model("abc", 5, 20);
  type(model, "XY");
  EXPECT_EQ(line(model, 1), "XYc");
  model.set_insert_mode(true);
  type(model, "-");
  EXPECT_EQ(line(model, 1), "XY-c");
  model.end();
  model.right();
  model.right();
  type(model, "!");  // past the end: padded with blanks first
  EXPECT_EQ(line(model, 1), "XY-c  !");
  EXPECT_TRUE(model.changed());
}

TEST(ViewerModelEdits, GrowingLineIsBrokenAgainAtABlank) {
  ViewerModel model("aaaa bbbb", 5, 10);
  model.set_insert_mode(true);
  type(model, "xx");
  EXPECT_EQ(line(model, 1), "xxaaaa ");
  EXPECT_TRUE(model.lines().soft(0));
  EXPECT_EQ(line(model, 2), "bbbb");
  EXPECT_EQ(model.column(), 3u);
  EXPECT_EQ(model.joined_text(), "xxaaaa bbbb");

  // The carried part runs into the next line of the same paragraph.
  ViewerModel wrapped("aaaa bbbb cccc dd", 5, 10);  // "aaaa bbbb " + "cccc dd"
  wrapped.set_insert_mode(true);
  type(wrapped, "zz");
  EXPECT_EQ(line(wrapped, 1), "zzaaaa ");
  EXPECT_EQ(line(wrapped, 2), "bbbb cccc ");
  EXPECT_EQ(line(wrapped, 3), "dd");
  EXPECT_EQ(wrapped.joined_text(), "zzaaaa bbbb cccc dd");
}

TEST(ViewerModelEdits, TypingAtTheLastColumnGoesOnInTheNextLine) {
  ViewerModel model("aaaa bbbb", 5, 10);
  model.end();
  type(model, "cd");
  EXPECT_EQ(line(model, 1), "aaaa bbbbc");
  EXPECT_EQ(line(model, 2), "d");
  EXPECT_EQ(model.line(), 2u);
  EXPECT_EQ(model.joined_text(), "aaaa bbbbcd");
}

TEST(ViewerModelEdits, TypingOverTheLastColumnOfALineWithAHiddenBlank) {
  // "abcde " keeps its blank past the edge; the next line continues it.
  ViewerModel model("abcde fgh", 5, 5);
  ASSERT_EQ(line(model, 1), "abcde ");
  model.end();
  EXPECT_EQ(model.column(), 5u);
  type(model, "XY");
  EXPECT_EQ(line(model, 1), "abcdX ");
  EXPECT_EQ(line(model, 2), "Ygh");
  EXPECT_EQ(model.line(), 2u);
  EXPECT_EQ(model.column(), 2u);
  EXPECT_EQ(model.joined_text(), "abcdX Ygh");
}

TEST(ViewerModelEdits, EnterSplitsInInsertModeOnly) {
  ViewerModel model("abcd\r\nlast", 5, 10);
  model.right();
  model.right();
  model.enter();  // overwrite mode, not on the last line: only moves
  EXPECT_EQ(model.line_count(), 2u);
  EXPECT_EQ(model.line(), 2u);
  model.enter();  // overwrite mode on the last line: a new empty line
  EXPECT_EQ(model.line_count(), 3u);
  EXPECT_EQ(model.line(), 3u);

  ViewerModel split("abcd", 5, 10);
  split.set_insert_mode(true);
  split.right();
  split.right();
  split.enter();
  EXPECT_EQ(split.joined_text(), "ab\r\ncd");
  EXPECT_EQ(split.line(), 2u);
  EXPECT_EQ(split.column(), 1u);
}

TEST(ViewerModelEdits, BackspaceAndDelJoinLines) {
  ViewerModel model("ab\ncd\nef", 5, 10);
  model.backspace();  // nothing left of the text's start
  EXPECT_FALSE(model.changed());
  model.down();
  model.backspace();
  EXPECT_EQ(model.joined_text(), "abcd\nef");
  EXPECT_EQ(model.column(), 3u);
  model.backspace();
  EXPECT_EQ(model.joined_text(), "acd\nef");
  model.end();
  model.del();
  EXPECT_EQ(model.joined_text(), "acdef");
  model.home();
  model.del();
  EXPECT_EQ(model.joined_text(), "cdef");
}

TEST(ViewerModelEdits, TabInsertsOrMovesAndStopsNearTheEdge) {
  ViewerModel model("abcdef", 5, 20);
  model.tab();  // overwrite mode in the middle of the line: moves only
  EXPECT_EQ(model.column(), 4u);
  EXPECT_EQ(line(model, 1), "abcdef");
  model.set_insert_mode(true);
  model.tab();
  EXPECT_EQ(line(model, 1), "abc   def");
  EXPECT_EQ(model.column(), 7u);
  for (int i = 0; i < 10; ++i) model.right();  // column 17: wrap column 19 - 6 reached
  model.tab();
  EXPECT_EQ(model.column(), 17u);
  EXPECT_EQ(line(model, 1), "abc   def");
}

TEST(ViewerModelEdits, LineAndWordKeys) {
  ViewerModel model("one two three\nsecond\nthird", 5, 20);
  model.delete_word_right();
  EXPECT_EQ(line(model, 1), "two three");
  model.insert_line_above();
  EXPECT_EQ(model.joined_text(), "\ntwo three\nsecond\nthird");
  model.delete_line();
  EXPECT_EQ(model.joined_text(), "two three\nsecond\nthird");
  model.text_end();
  model.delete_line();  // the last line is emptied, not removed
  EXPECT_EQ(model.joined_text(), "two three\nsecond\n");
}

TEST(ViewerModelEdits, CtrlBTurnsWrappedLinesIntoLines) {
  ViewerModel model("aaaa bbbb", 5, 6);
  ASSERT_EQ(model.line_count(), 2u);
  EXPECT_EQ(model.joined_text(), "aaaa bbbb");
  model.unwrap_all();
  EXPECT_EQ(model.joined_text(), "aaaa \r\nbbbb");
}

TEST(ViewerModelSelection, ColumnRangeCopyCutAndPaste) {
  ViewerModel model("hello world", 5, 20);
  for (int i = 0; i < 5; ++i) model.extend_selection_right();
  EXPECT_EQ(model.selected_text(), "hello");
  model.delete_selection();
  EXPECT_EQ(line(model, 1), " world");
  model.end();
  model.paste(std::string("!\0?", 3));
  EXPECT_EQ(line(model, 1), " world! ?");
  model.home();
  model.paste("a\r\nb\r\n");
  EXPECT_EQ(model.joined_text(), "a\r\nb\r\n world! ?");
  EXPECT_EQ(model.line(), 3u);
}

TEST(ViewerModelSelection, MovementClearsAndSelectAllTakesEverything) {
  ViewerModel model("a\nb\nc", 5, 20);
  model.extend_selection_down();
  EXPECT_TRUE(model.line_selected(2));
  model.down();
  EXPECT_FALSE(model.selection().active);
  model.select_all();
  EXPECT_EQ(model.selected_text(), "a\r\nb\r\nc\r\n");
  model.delete_selection();
  EXPECT_EQ(model.line_count(), 1u);
  EXPECT_EQ(model.joined_text(), "");
}

}  // namespace
}  // namespace console
