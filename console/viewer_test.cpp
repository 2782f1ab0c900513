#include "console/viewer.h"

#include <gtest/gtest.h>

#include <string>

#include "console/call_stack.h"
#include "console/clipboard.h"
#include "console/keys.h"
#include "console/runtime_error.h"

namespace console {
namespace {

std::string numbered_lines(int count, bool trailing_break) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += "line " + std::to_string(i);
    if (i < count || trailing_break) text += "\r\n";
  }
  return text;
}

std::string padded(std::string text, std::size_t width = 80) {
  text.resize(width, ' ');
  return text;
}

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override { Clipboard::instance().set_terminal_sink({}); }

  // Runs the viewer until it asks for a key that was not queued, so that the
  // screen can be read as the user sees it at that moment.
  void view_until_out_of_keys(const std::string& text, int top, int left, int bottom, int right) {
    EXPECT_THROW(view_text(con_, text, top, left, bottom, right), OutOfKeys);
  }
  std::string row(int r) const { return con_.screen().row_text(r); }

  HeadlessBackend backend_;
  Console con_{backend_};
};

TEST_F(ViewerTest, DrawsTheWindowCutAndPaddedAndClearsTheRowsBelow) {
  con_.write_at(20, 0, std::string(80, '#'));
  con_.write_at(2, 0, std::string(80, '*'));
  view_until_out_of_keys("a\tb\r\n" + std::string(100, 'x') + "\r\n", 3, 0, 24, 79);
  EXPECT_EQ(row(2), std::string(80, '*'));  // outside the window
  EXPECT_EQ(row(3), padded("a   b"));
  EXPECT_EQ(row(4), std::string(80, 'x'));
  EXPECT_EQ(row(5), padded(std::string(20, 'x')));
  EXPECT_EQ(row(6), padded(""));
  EXPECT_EQ(row(20), padded(""));
  EXPECT_EQ(con_.screen().cursor_row(), 3);
  EXPECT_EQ(con_.screen().cursor_column(), 0);
}

TEST_F(ViewerTest, HalfWindowsKeepTheirColumns) {
  con_.write_at(6, 0, std::string(80, '#'));
  view_until_out_of_keys(std::string(60, 'y'), 6, 41, 24, 79);
  EXPECT_EQ(row(6), std::string(41, '#') + std::string(39, 'y'));
  EXPECT_EQ(row(7).substr(41), padded(std::string(21, 'y'), 39));
}

TEST_F(ViewerTest, PageDownAndUpMoveByTheWindowHeight) {
  backend_.push_key(key::page_down);
  view_until_out_of_keys(numbered_lines(50, false), 3, 0, 24, 79);
  EXPECT_EQ(row(3), padded("line 23"));
  EXPECT_EQ(con_.screen().cursor_row(), 3);

  backend_.push_keys({key::page_down, key::page_up});
  view_until_out_of_keys(numbered_lines(50, false), 3, 0, 24, 79);
  EXPECT_EQ(row(3), padded("line 1"));

  // A full page further the text ends inside the window: PgDn then only
  // moves the cursor to the last line instead of scrolling the text away.
  backend_.push_keys({key::page_down, key::page_down, key::page_down});
  view_until_out_of_keys(numbered_lines(50, false), 3, 0, 24, 79);
  EXPECT_EQ(row(3), padded("line 45"));
  EXPECT_EQ(row(8), padded("line 50"));
  EXPECT_EQ(row(9), padded(""));
  EXPECT_EQ(con_.screen().cursor_row(), 8);

  backend_.push_key(key::page_down);
  view_until_out_of_keys("short\r\ntext", 3, 0, 24, 79);
  EXPECT_EQ(row(3), padded("short"));
  EXPECT_EQ(con_.screen().cursor_row(), 4);
}

TEST_F(ViewerTest, CtrlPageDownGoesToTheEndOfTheText) {
  backend_.push_key(key::ctrl_page_down);
  view_until_out_of_keys(numbered_lines(50, false), 3, 0, 24, 79);
  EXPECT_EQ(row(3), padded("line 29"));
  EXPECT_EQ(row(24), padded("line 50"));
  EXPECT_EQ(con_.screen().cursor_row(), 24);
  EXPECT_EQ(con_.screen().cursor_column(), 7);

  backend_.push_keys({key::ctrl_page_down, key::ctrl_page_up});
  view_until_out_of_keys(numbered_lines(50, false), 3, 0, 24, 79);
  EXPECT_EQ(row(3), padded("line 1"));
}

TEST_F(ViewerTest, LargeTextMovesToItsEndAndBack) {
  const std::string text = numbered_lines(300000, true);
  backend_.push_keys({key::ctrl_page_down, key::page_up, key::up});
  view_until_out_of_keys(text, 3, 0, 24, 79);
  // The empty last line is 300001; one page up shows 299958..299979.
  EXPECT_EQ(row(3), padded("line 299958"));
  EXPECT_EQ(row(23), padded("line 299978"));
  EXPECT_EQ(con_.screen().cursor_row(), 23);
}

TEST_F(ViewerTest, EscWithScoreboardOffLeavesAtOnceWithTheOriginalText) {
  con_.set_setting("SCOREBOARD", false);
  backend_.push_keys({'Z', key::escape});
  const std::string text = "a\tb\r\n";
  EXPECT_EQ(view_text(con_, text, 3, 0, 24, 79), text);
  EXPECT_EQ(backend_.pending(), 0u);
  EXPECT_EQ(row(0), padded(""));
}

TEST_F(ViewerTest, EscAfterAnEditWithScoreboardOnAsksFirst) {
  con_.write_at(0, 0, std::string(80, '='));
  backend_.push_keys({'Z', key::escape, 'n', 'q', key::escape});
  view_until_out_of_keys("abc", 3, 0, 24, 79);
  EXPECT_EQ(row(0), std::string(60, '=') + "(Abort Edit? Y/N)" + "===");
  EXPECT_EQ(con_.screen().cursor_shape(), cursor_shape::normal);

  con_.write_at(0, 0, std::string(80, '='));  // the interrupted run left its question
  backend_.push_keys({'Z', key::escape, 'y'});
  EXPECT_EQ(view_text(con_, "abc", 3, 0, 24, 79), "abc");
  EXPECT_EQ(row(0), std::string(80, '='));  // the question's cells are put back
}

// The answer's key may come with a second one (a doubled key, an auto
// repeat): that one is dropped too instead of editing the text.
TEST_F(ViewerTest, AbortQuestionAlsoDropsOneFurtherPendingKey) {
  backend_.push_keys({'Z', key::escape, 'n', 'y', key::ctrl_w});
  EXPECT_EQ(view_text(con_, "abc", 3, 0, 24, 79), "Zbc");
  EXPECT_EQ(backend_.pending(), 0u);

  // With nothing waiting after the answer, the next key is read as usual.
  backend_.push_keys({'Z', key::escape, 'n'});
  view_until_out_of_keys("abc", 3, 0, 24, 79);
}

TEST_F(ViewerTest, EscWithoutAnEditNeverAsks) {
  backend_.push_keys({key::down, key::escape});
  EXPECT_EQ(view_text(con_, "abc\r\ndef", 3, 0, 24, 79), "abc\r\ndef");
}

TEST_F(ViewerTest, SaveKeysReturnTheEditedText) {
  con_.set_setting("SCOREBOARD", false);
  for (int save_key : {key::ctrl_w, key::alt_w}) {
    backend_.push_keys({'Z', key::down, key::end, '!', save_key});
    EXPECT_EQ(view_text(con_, "abc\r\ndef\r\n", 3, 0, 24, 79), "Zbc\r\ndef!\r\n");
  }
}

TEST_F(ViewerTest, InsStaysOnForTheNextViewer) {
  con_.set_setting("SCOREBOARD", false);
  backend_.push_keys({key::ins, key::escape});
  view_text(con_, "abc", 3, 0, 24, 79);
  EXPECT_TRUE(con_.settings().insert());
  EXPECT_EQ(con_.screen().cursor_shape(), cursor_shape::normal);  // shape at opening restored

  view_until_out_of_keys("abc", 3, 0, 24, 79);
  EXPECT_EQ(con_.screen().cursor_shape(), cursor_shape::insert);

  backend_.push_keys({'X', key::ctrl_w});
  EXPECT_EQ(view_text(con_, "abc", 3, 0, 24, 79), "Xabc");
}

TEST_F(ViewerTest, InsertIndicatorOnlyWithScoreboardOn) {
  const std::string dashes(80, '-');
  con_.write_at(0, 0, dashes);
  backend_.push_key(key::ins);
  view_until_out_of_keys("abc", 3, 0, 24, 79);
  EXPECT_EQ(row(0).substr(58, 12), "--<insert>--");

  // Opening in insert mode shows it too; leaving takes it away again.
  con_.write_at(0, 0, dashes);
  backend_.push_key(key::escape);
  view_text(con_, "abc", 3, 0, 24, 79);
  EXPECT_EQ(row(0), dashes);

  // Ins puts the cells under the indicator back.
  backend_.push_key(key::ins);
  view_until_out_of_keys("abc", 3, 0, 24, 79);
  EXPECT_EQ(row(0), dashes);

  con_.set_setting("SCOREBOARD", false);
  backend_.push_key(key::ins);
  view_until_out_of_keys("abc", 3, 0, 24, 79);
  EXPECT_TRUE(con_.settings().insert());
  EXPECT_EQ(row(0), dashes);
}

TEST_F(ViewerTest, SelectionIsDrawnInTheSecondColourAndCopied) {
  con_.set_colour("W+/N,N/W");
  backend_.push_keys({key::shift_down, key::ctrl_c});
  view_until_out_of_keys("one\r\ntwo\r\nthree", 3, 0, 24, 79);
  EXPECT_EQ(con_.screen().cell(3, 0).attr, attr::make(0, 7));
  EXPECT_EQ(con_.screen().cell(4, 79).attr, attr::make(0, 7));
  EXPECT_EQ(con_.screen().cell(5, 0).attr, attr::make(7, 0, true));
  EXPECT_EQ(Clipboard::instance().text(), "one\r\ntwo\r\n");
}

TEST_F(ViewerTest, CutAndPasteMoveLines) {
  con_.set_setting("SCOREBOARD", false);
  backend_.push_keys({key::shift_down, key::ctrl_x, key::down, key::ctrl_v, key::ctrl_w});
  EXPECT_EQ(view_text(con_, "one\r\ntwo\r\nthree\r\nfour", 3, 0, 24, 79),
            "three\r\none\r\ntwo\r\nfour");
  EXPECT_EQ(Clipboard::instance().text(), "one\r\ntwo\r\n");
}

TEST_F(ViewerTest, CancelInsideTheViewerNamesIt) {
  backend_.push_key(key::alt_c);
  try {
    view_text(con_, "abc", 3, 0, 24, 79);
    ADD_FAILURE() << "Alt+C did not cancel";
  } catch (const Cancelled& cancelled) {
    EXPECT_NE(cancelled.report().find("Cancelled at: VIEWTEXT ("), std::string::npos)
        << cancelled.report();
  }
}

// The calling routine's frame shows the line of the call being run, not the
// line where the routine was entered.
TEST_F(ViewerTest, CancelNamesTheLineOfTheCallInTheCallingRoutine) {
  RoutineFrame page("PAGE");
  backend_.push_key(key::alt_c);
  std::string report;
  const int call_line = __LINE__ + 2;
  try {
    view_text(con_, "abc", 3, 0, 24, 79);
  } catch (const Cancelled& cancelled) {
    report = cancelled.report();
  }
  EXPECT_NE(report.find(")\nPAGE (" + std::to_string(call_line) + ")\n"), std::string::npos)
      << report;
}

// Saving returns every hard break of the text, also after a line of exactly
// the window's width plus a blank.
TEST_F(ViewerTest, SavedTextKeepsEveryHardBreak) {
  con_.set_setting("SCOREBOARD", false);
  backend_.push_key(key::ctrl_w);
  EXPECT_EQ(view_text(con_, "a b c \nxyz", 3, 0, 24, 4), "a b c \nxyz");
  backend_.push_keys({key::down, key::end, '!', key::ctrl_w});
  EXPECT_EQ(view_text(con_, "a b c \nxyz", 3, 0, 24, 4), "a b c \nxyz!");
}

struct ArgumentCase {
  ViewerArgument text;
  ViewerArgument top, left, bottom, right;
  const char* operation;
};

TEST_F(ViewerTest, ArgumentsOfTheWrongKindAreRunTimeErrors) {
  const ViewerArgument other = ViewerArgument::other_kind();
  const ArgumentCase cases[] = {
      {other, 0, 0, 24, 79, "<cString> Argument type error"},
      {"x", other, 0, 24, 79, "<nTop> Argument type error"},
      {"x", 0, other, 24, 79, "<nLeft> Argument type error"},
      {"x", 0, 0, "24", 79, "<nBottom> Argument type error"},
      {"x", 0, 0, 24, other, "<nRight> Argument type error"},
      {"x", 10, 0, 9, 79, "<nTop,nLeft,nRight,nBottom> Argument error"},
      {"x", 0, 50, 24, 40, "<nTop,nLeft,nRight,nBottom> Argument error"},
  };
  for (const ArgumentCase& c : cases) {
    try {
      view_text(con_, c.text, c.top, c.left, c.bottom, c.right);
      ADD_FAILURE() << "no error for " << c.operation;
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.subsystem(), "BASE");
      EXPECT_EQ(error.subcode(), 1127);
      EXPECT_EQ(error.description(), view_text_routine);
      EXPECT_EQ(error.operation(), c.operation);
    }
  }
}

TEST_F(ViewerTest, AbsentArgumentsMeanTheWholeScreenAndAnEmptyText) {
  con_.write_at(0, 0, std::string(80, '#'));
  con_.write_at(24, 0, std::string(80, '#'));
  backend_.push_key(key::escape);
  EXPECT_EQ(view_text(con_), "");
  EXPECT_EQ(row(0), padded(""));
  EXPECT_EQ(row(24), padded(""));
}

TEST_F(ViewerTest, WindowBeyondTheScreenIsClamped) {
  backend_.push_key(key::escape);
  EXPECT_EQ(view_text(con_, std::string(100, 'q'), 20, 70, 40, 120), std::string(100, 'q'));
  EXPECT_EQ(row(20).substr(70), std::string(10, 'q'));
  EXPECT_EQ(row(24).substr(70), std::string(10, 'q'));
}

}  // namespace
}  // namespace console
