#include "console/console.h"

#include <gtest/gtest.h>

#include "console/call_stack.h"
#include "console/keys.h"

namespace console {
namespace {

class ConsoleTest : public ::testing::Test {
 protected:
  HeadlessBackend backend_;
  Console con_{backend_};
};

TEST_F(ConsoleTest, LongTextIsCutAtTheEdgeAndTheCursorGoesPastIt) {
  std::string banner(133, '=');
  banner[79] = '|';
  banner[80] = '#';
  con_.write_at(0, 0, banner);
  EXPECT_EQ(con_.screen().row_text(0), banner.substr(0, 80));
  EXPECT_EQ(con_.screen().row_text(1), std::string(80, ' '));
  EXPECT_EQ(con_.screen().cursor_row(), 0);
  EXPECT_EQ(con_.screen().cursor_column(), 133);
  // The backend was shown the new grid.
  ASSERT_TRUE(backend_.last_presented().has_value());
  EXPECT_EQ(backend_.last_presented()->row_text(0), banner.substr(0, 80));
}

TEST_F(ConsoleTest, OutputOutsideTheGridIsDroppedCellByCell) {
  con_.write_at(3, -2, "abcd");
  EXPECT_EQ(con_.screen().row_text(3).substr(0, 3), "cd ");
  EXPECT_EQ(con_.screen().cursor_column(), 2);
  con_.write_at(25, 0, "below");
  con_.write_at(-1, 0, "above");
  con_.write_at(2, 80, "right");
  for (int r = 0; r < 25; ++r) {
    if (r != 3) {
      EXPECT_EQ(con_.screen().row_text(r), std::string(80, ' ')) << r;
    }
  }
}

TEST_F(ConsoleTest, WriteKeepsBytesAndControlCharactersAsTheyAre) {
  con_.write_at(1, 0, std::string("a\r\n\xF3\x01", 5));
  EXPECT_EQ(con_.screen().row_text(1).substr(0, 5), std::string("a\r\n\xF3\x01", 5));
  EXPECT_EQ(con_.screen().cell(2, 0).ch, ' ');
}

TEST_F(ConsoleTest, ColourOfOneWriteAppliesToThatWriteOnly) {
  con_.set_colour("GR/B,W+/G");
  con_.select_colour(ColourTable::enhanced);
  con_.write_at(0, 0, "x", "W+/R");
  EXPECT_EQ(con_.screen().cell(0, 0).attr, attr::make(7, 4, true));
  EXPECT_EQ(con_.colour_string(), "GR/B,W+/G,N/N,N/N,W+/G");
  EXPECT_EQ(con_.colours().current_slot(), ColourTable::standard);
  con_.write("y");
  EXPECT_EQ(con_.screen().cell(0, 1).attr, attr::make(6, 1));
}

TEST_F(ConsoleTest, ClearPaintsEveryCellInTheCurrentColourAndKeepsTheCursor) {
  con_.write_at(4, 10, "text");
  EXPECT_EQ(con_.set_colour("W+/R"), ColourTable::initial);
  con_.clear();
  for (const Cell& cell : con_.screen().cells()) {
    ASSERT_EQ(cell, (Cell{' ', attr::make(7, 4, true), false}));
  }
  EXPECT_EQ(con_.screen().cursor_row(), 4);
  EXPECT_EQ(con_.screen().cursor_column(), 14);
}

TEST_F(ConsoleTest, FrameWritesMarkTheirCells) {
  con_.write_frame_at(2, 2, "\xDA\xC4\xBF");
  EXPECT_TRUE(con_.screen().cell(2, 3).frame);
  EXPECT_EQ(con_.screen().cell(2, 3).ch, 0xC4);
  con_.write_at(2, 2, "ab");
  EXPECT_FALSE(con_.screen().cell(2, 3).frame);
  EXPECT_TRUE(con_.screen().cell(2, 4).frame);
}

TEST_F(ConsoleTest, SetModeRefusesNonPositiveSizesAndCutsToTheDisplay) {
  EXPECT_FALSE(con_.set_mode(0, 80));
  EXPECT_FALSE(con_.set_mode(25, -1));
  EXPECT_EQ(con_.last_row(), 24);
  EXPECT_EQ(con_.last_column(), 79);
  EXPECT_TRUE(con_.set_mode(30, std::nullopt));
  EXPECT_EQ(con_.last_row(), 24);  // the display shows 25 rows at most
  EXPECT_TRUE(con_.set_mode(10, 40));
  EXPECT_EQ(con_.last_row(), 9);
  EXPECT_EQ(con_.last_column(), 39);
  EXPECT_TRUE(con_.set_mode(std::nullopt, 80));
  EXPECT_EQ(con_.last_row(), 9);
  EXPECT_EQ(con_.last_column(), 79);
}

TEST_F(ConsoleTest, CursorShapeReturnsThePreviousShape) {
  EXPECT_EQ(con_.set_cursor_shape(), cursor_shape::normal);
  EXPECT_EQ(con_.set_cursor_shape(cursor_shape::insert), cursor_shape::normal);
  EXPECT_EQ(con_.set_cursor_shape(9), cursor_shape::insert);
  EXPECT_EQ(con_.set_cursor_shape(0), cursor_shape::insert);
  EXPECT_EQ(backend_.last_presented()->cursor_shape(), cursor_shape::hidden);
}

TEST_F(ConsoleTest, SettingsByNameIncludeTheColourTable) {
  EXPECT_EQ(std::get<bool>(*con_.set_setting("SCOREBOARD", std::string("off"))), true);
  EXPECT_FALSE(con_.settings().scoreboard());
  EXPECT_EQ(std::get<bool>(*con_.set_setting("SCOREBOARD", std::string("NO"))), false);
  EXPECT_FALSE(con_.settings().scoreboard());
  EXPECT_EQ(std::get<std::string>(*con_.set_setting("COLOR", std::string("W+/N"))),
            ColourTable::initial);
  EXPECT_EQ(std::get<std::string>(*con_.setting("color")), "W+/N,N/W,N/N,N/N,N/W");
  EXPECT_FALSE(con_.setting("NOSUCH").has_value());
}

TEST_F(ConsoleTest, ReadKeySkipsMouseEventsWhileOnlyKeysAreDelivered) {
  backend_.push_event(InputEvent{InputEvent::Kind::mouse, 0, 3, 4, true});
  backend_.push_key('x');
  EXPECT_EQ(con_.read_key(), 'x');
  con_.set_setting("EVENTMASK", 255);
  backend_.push_event(InputEvent{InputEvent::Kind::mouse, 0, 3, 4, true});
  EXPECT_EQ(con_.read_event(false).kind, InputEvent::Kind::mouse);
}

TEST_F(ConsoleTest, RunningOutOfKeysFailsWithAMessage) {
  backend_.push_key(key::enter);
  EXPECT_EQ(con_.read_key(), key::enter);
  try {
    con_.read_key();
    FAIL() << "no exception";
  } catch (const OutOfKeys& e) {
    EXPECT_NE(std::string(e.what()).find("ran out of queued keys after 1 key"), std::string::npos)
        << e.what();
  }
}

int inner_read_line = 0;

void inner_routine(Console& con) {
  RoutineFrame frame("INNER");
  inner_read_line = __LINE__ + 1;
  con.read_key();  // the cancel report names this line
}

TEST_F(ConsoleTest, AltCAndBreakCancelWithTheCallChain) {
  for (int code : {key::alt_c, key::break_request}) {
    RoutineFrame frame("OUTER");
    RoutineFrame::at();
    const int outer_line = __LINE__ - 1;
    backend_.push_key(code);
    try {
      inner_routine(con_);
      FAIL() << "not cancelled by " << code;
    } catch (const Cancelled& e) {
      EXPECT_EQ(e.report(), "\nCancelled at: INNER (" + std::to_string(inner_read_line) +
                                ")\nOUTER (" + std::to_string(outer_line) + ")\n");
    }
  }
  EXPECT_TRUE(CallStack::frames().empty());
}

TEST_F(ConsoleTest, CancelOffDeliversAltCAndBreakAsKeys) {
  con_.set_setting("CANCEL", false);
  backend_.push_keys({key::alt_c, key::break_request});
  EXPECT_EQ(con_.read_key(), key::alt_c);
  EXPECT_EQ(con_.read_key(), key::break_request);
}

TEST_F(ConsoleTest, DeferredPresentShowsManyWritesOnce) {
  const int before = backend_.present_count();
  {
    Console::DeferredPresent batch(con_);
    {
      Console::DeferredPresent nested(con_);
      con_.write_at(0, 0, "one");
    }
    con_.write_at(1, 0, "two");
    EXPECT_EQ(backend_.present_count(), before);
  }
  EXPECT_EQ(backend_.present_count(), before + 1);
  EXPECT_EQ(backend_.last_presented()->row_text(1).substr(0, 3), "two");
}

TEST(ScreenTest, ResizeKeepsTheCellsBothSizesShare) {
  Screen screen(3, 4);
  screen.set_cell(1, 2, Cell{'x', 0x1F, true});
  screen.set_cell(2, 3, Cell{'y', 0x07, false});
  screen.resize(2, 10);
  EXPECT_EQ(screen.cell(1, 2), (Cell{'x', 0x1F, true}));
  EXPECT_EQ(screen.row_text(1), "  x       ");
  EXPECT_EQ(screen.cell(2, 3), Cell{});  // outside reads as a blank
  EXPECT_THROW(screen.resize(0, 5), std::invalid_argument);
}

TEST(KeysTest, LetterCodes) {
  EXPECT_EQ(key::ctrl_letter('A'), 513);
  EXPECT_EQ(key::ctrl_letter('w'), 535);
  EXPECT_EQ(key::ctrl_letter('1'), 0);
  EXPECT_EQ(key::alt_letter('C'), 302);
  EXPECT_EQ(key::alt_letter('x'), 301);
  EXPECT_EQ(key::alt_letter('k'), 293);
  EXPECT_EQ(key::alt_letter('5'), 0);
}

}  // namespace
}  // namespace console
