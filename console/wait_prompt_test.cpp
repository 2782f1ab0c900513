#include "console/wait_prompt.h"

#include <gtest/gtest.h>

#include "console/keys.h"

namespace console {
namespace {

constexpr std::string_view kMessage = "Presione cualquier tecla para continuar ...";

std::string padded(std::string_view text) {
  std::string row(text);
  row.resize(80, ' ');
  return row;
}

class WaitPromptTest : public ::testing::Test {
 protected:
  HeadlessBackend backend_;
  Console con_{backend_};
};

TEST_F(WaitPromptTest, CursorPastTheEdgeIsBroughtBackBeforeTheLineBreak) {
  con_.write_at(2, 0, std::string(133, '='));  // cursor at row 2, column 133
  backend_.push_key('x');
  EXPECT_EQ(wait_prompt(con_, kMessage), "x");
  EXPECT_EQ(con_.screen().row_text(3), padded(std::string(kMessage) + "x"));
  EXPECT_EQ(con_.screen().cursor_row(), 3);
  EXPECT_EQ(con_.screen().cursor_column(), static_cast<int>(kMessage.size()) + 1);
}

TEST_F(WaitPromptTest, OnTheLastRowTheScreenScrollsUp) {
  con_.set_colour("W+/B");
  con_.write_at(0, 0, "top row");
  con_.write_at(24, 0, "bottom row");
  backend_.push_key(key::f1);
  EXPECT_EQ(wait_prompt(con_, kMessage), std::string(1, '\0'));
  EXPECT_EQ(con_.screen().row_text(23), padded("bottom row"));
  EXPECT_EQ(con_.screen().row_text(24), padded(kMessage));
  EXPECT_EQ(con_.screen().cell(24, 79).attr,
            attr::make(7, 1, true));                 // new row in the current colour
  EXPECT_EQ(con_.screen().row_text(0), padded(""));  // "top row" scrolled away
}

TEST_F(WaitPromptTest, LongTextWrapsAndDefaultMessage) {
  con_.set_position(5, 70);
  write_console_style(con_, "0123456789abcdef");
  EXPECT_EQ(con_.screen().row_text(5).substr(70), "0123456789");
  EXPECT_EQ(con_.screen().row_text(6).substr(0, 7), "abcdef ");

  backend_.push_key(key::enter);
  EXPECT_EQ(wait_prompt(con_), std::string(1, '\0'));
  EXPECT_EQ(con_.screen().row_text(7), padded(default_wait_message));
}

}  // namespace
}  // namespace console
