#include "console/error_dialog.h"

#include <gtest/gtest.h>

#include "console/error_test_backend.h"
#include "console/keys.h"

namespace console {
namespace {

constexpr std::uint8_t kBoxAttr = 0x4F;      // W+/R
constexpr std::uint8_t kCurrentAttr = 0x1F;  // W+/B

std::string text_at(const Screen& screen, int row, int column, int length) {
  return screen.row_text(row).substr(static_cast<std::size_t>(column),
                                     static_cast<std::size_t>(length));
}

TEST(ErrorDialogLayout, FortyCharacterMessageWithQuit) {
  const DialogLayout l = layout_error_dialog(std::string(40, 'm'), {"Quit"}, 25, 80);
  EXPECT_EQ(l.width, 44);
  EXPECT_EQ(l.left, 16);
  EXPECT_EQ(l.right, 63);
  EXPECT_EQ(l.top, 10);
  EXPECT_EQ(l.bottom, 14);
  EXPECT_EQ(l.line_column(0), 20);
  EXPECT_EQ(l.button_row, 13);
  ASSERT_EQ(l.buttons.size(), 1u);
  EXPECT_EQ(l.buttons[0].column, 37);
}

struct BreakCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

TEST(ErrorDialogLayout, LinesAreBrokenAtBlanksWithinTheSoftWidth) {
  const std::string word10 = "abcdefghi ";  // nine letters and a blank
  std::string hundred;
  for (int i = 0; i < 10; ++i) hundred += word10;
  hundred.pop_back();  // 99 characters
  hundred += "j";      // 100
  const std::string long_word(90, 'x');
  const BreakCase cases[] = {
      {"100 characters", hundred, {hundred.substr(0, 49), hundred.substr(50)}},
      {"a word longer than the hard width",
       long_word,
       {long_word.substr(0, 76), long_word.substr(76)}},
      {"a long word ends beyond the soft width",
       std::string(60, 'y') + " " + std::string(30, 'z'),
       {std::string(60, 'y'), std::string(30, 'z')}},
      {"a line within the hard width stays whole", std::string(70, 'w'), {std::string(70, 'w')}},
      {"semicolons end lines", "first;second;", {"first", "second"}},
  };
  for (const BreakCase& c : cases) {
    const DialogLayout l = layout_error_dialog(c.text, {"Quit"}, 25, 80);
    EXPECT_EQ(l.lines, c.lines) << c.name;
  }
  // Every line of the 100-character message fits the soft width.
  for (const std::string& line : layout_error_dialog(hundred, {}, 25, 80).lines) {
    EXPECT_LE(line.size(), 57u);
  }
}

TEST(ErrorDialogLayout, ButtonsAreCentredAndWidenTheBox) {
  const DialogLayout l = layout_error_dialog("Short", {"Quit", "Retry", "Default"}, 25, 80);
  // Buttons total 8 + 9 + 11 = 28, wider than the line; a single short line
  // then gets 4 more columns.
  EXPECT_EQ(l.width, 32);
  EXPECT_EQ(l.left, 22);
  ASSERT_EQ(l.buttons.size(), 3u);
  EXPECT_EQ(l.buttons[0].column, 25 + 2);
  EXPECT_EQ(l.buttons[1].column, 27 + 8);
  EXPECT_EQ(l.buttons[2].column, 35 + 9);
  EXPECT_EQ(layout_error_dialog("x", {}, 25, 80).buttons[0].text, "Ok");
}

class ErrorDialogTest : public ::testing::Test {
 protected:
  testing::SnapshotBackend backend_;
  Console con_{backend_};
};

TEST_F(ErrorDialogTest, DrawsTheFramedBoxAndRestoresTheScreenUnderIt) {
  for (int row = 0; row < 25; ++row)
    con_.write_at(row, 0, std::string(80, static_cast<char>('a' + row % 26)));
  con_.set_position(3, 7);
  con_.set_cursor_shape(cursor_shape::insert);
  const Screen before = con_.screen();
  backend_.push_key(key::enter);

  EXPECT_EQ(error_dialog(con_, std::string(40, 'm'), {"Quit"}), 1);

  ASSERT_EQ(backend_.at_reads().size(), 1u);
  const Screen& shown = backend_.at_reads()[0];
  struct Corner {
    int row, column;
    std::uint8_t ch;
  };
  for (const Corner& c :
       {Corner{10, 16, 218}, Corner{10, 63, 191}, Corner{14, 16, 192}, Corner{14, 63, 217},
        Corner{10, 40, 196}, Corner{12, 16, 179}, Corner{12, 63, 179}, Corner{14, 40, 196}}) {
    EXPECT_EQ(shown.cell(c.row, c.column).ch, c.ch) << c.row << "," << c.column;
    EXPECT_TRUE(shown.cell(c.row, c.column).frame);
    EXPECT_EQ(shown.cell(c.row, c.column).attr, kBoxAttr);
  }
  EXPECT_EQ(text_at(shown, 11, 17, 44), "   " + std::string(40, 'm') + " ");
  EXPECT_EQ(text_at(shown, 13, 37, 6), " Quit ");
  EXPECT_EQ(shown.cell(13, 37).attr, kCurrentAttr);
  EXPECT_EQ(shown.cell(13, 43).attr, kBoxAttr);
  EXPECT_EQ(shown.cell(12, 30).attr, kBoxAttr);
  EXPECT_EQ(shown.cursor_shape(), cursor_shape::hidden);
  EXPECT_EQ(shown.cell(9, 16), before.cell(9, 16));

  EXPECT_EQ(con_.screen().cells(), before.cells());
  EXPECT_EQ(con_.screen().cursor_row(), 3);
  EXPECT_EQ(con_.screen().cursor_column(), 7);
  EXPECT_EQ(con_.screen().cursor_shape(), cursor_shape::insert);
}

struct KeyCase {
  const char* name;
  std::vector<int> keys;
  int chosen;
  std::size_t keys_left = 0;
};

TEST_F(ErrorDialogTest, KeysChooseButtons) {
  const KeyCase cases[] = {
      {"Enter", {key::enter}, 1},
      {"Space", {' '}, 1},
      {"Right", {key::right, key::enter}, 2},
      {"Tab twice", {key::tab, key::tab, ' '}, 3},
      {"Right past the last", {key::right, key::right, key::right, key::enter}, 1},
      {"Left before the first", {key::left, key::enter}, 3},
      {"Shift+Tab", {key::shift_tab, key::shift_tab, key::enter}, 2},
      {"letter", {'r'}, 2},
      {"capital letter", {'D'}, 3},
      {"q at once", {'q', key::enter}, 1, 1},
      {"x does nothing", {'x', 'd'}, 3},
      {"other keys do nothing", {key::up, key::f1, key::enter}, 1},
      {"Esc", {key::escape, key::enter}, 0, 1},
  };
  for (const KeyCase& c : cases) {
    testing::SnapshotBackend backend;
    Console con(backend);
    for (int code : c.keys) backend.push_key(code);
    EXPECT_EQ(error_dialog(con, "Something failed", {"Quit", "Retry", "Default"}), c.chosen)
        << c.name;
    EXPECT_EQ(backend.pending(), c.keys_left) << c.name;
  }
}

TEST_F(ErrorDialogTest, IsShownEvenWhileOutputIsHeldBack) {
  Console::DeferredPresent hold(con_);
  backend_.push_keys({key::right, key::enter});
  EXPECT_EQ(error_dialog(con_, "Something failed", {"Quit", "Retry"}), 2);
  ASSERT_EQ(backend_.at_reads().size(), 2u);
  EXPECT_NE(backend_.at_reads()[0].row_text(11).find("Something failed"), std::string::npos);
  EXPECT_NE(backend_.at_reads()[1].row_text(13).find(" Retry "), std::string::npos);
}

TEST_F(ErrorDialogTest, MovingRedrawsTheCurrentButton) {
  backend_.push_keys({key::right, key::enter});
  error_dialog(con_, "Something failed", {"Quit", "Retry"});
  const DialogLayout l = layout_error_dialog("Something failed", {"Quit", "Retry"}, 25, 80);
  const Screen& after_move = backend_.at_reads().at(1);
  EXPECT_EQ(after_move.cell(l.button_row, l.buttons[0].column + 1).attr, kBoxAttr);
  EXPECT_EQ(after_move.cell(l.button_row, l.buttons[1].column + 1).attr, kCurrentAttr);
}

TEST_F(ErrorDialogTest, ALeftClickOnAButtonsTextChoosesIt) {
  const DialogLayout l = layout_error_dialog("Something failed", {"Quit", "Retry"}, 25, 80);
  const int retry_text = l.buttons[1].column + 1;
  backend_.push_click(l.button_row, retry_text - 1);  // the blank before: nothing
  backend_.push_click(l.button_row - 1, retry_text);  // the row above: nothing
  backend_.push_click(l.button_row, retry_text + 4);  // the last letter
  EXPECT_EQ(error_dialog(con_, "Something failed", {"Quit", "Retry"}), 2);
  EXPECT_EQ(backend_.pending(), 0u);
}

// The dialog is the only reader of clicks: mouse reporting is on while it
// waits and off again once it is closed, also when it ends by an exception.
TEST_F(ErrorDialogTest, MouseReportingIsOnOnlyWhileTheDialogWaits) {
  EXPECT_FALSE(backend_.mouse_reporting());
  backend_.push_keys({key::right, key::enter});
  error_dialog(con_, "Something failed", {"Quit", "Retry"});
  EXPECT_EQ(backend_.mouse_at_reads(), (std::vector<bool>{true, true}));
  EXPECT_FALSE(backend_.mouse_reporting());

  backend_.push_failure();
  EXPECT_THROW(error_dialog(con_, "Something failed", {"Quit"}), std::runtime_error);
  EXPECT_FALSE(backend_.mouse_reporting());
}

}  // namespace
}  // namespace console
