#include "console/clipboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace console {
namespace {

TEST(Clipboard, CopiedTextIsKeptAndOfferedToTheTerminal) {
  std::vector<std::string> offered;
  Clipboard::instance().set_terminal_sink(
      [&offered](std::string_view sequence) { offered.emplace_back(sequence); });
  Clipboard::instance().set_text("hi");
  Clipboard::instance().set_text(std::string("a\xF3\0", 3));
  EXPECT_EQ(Clipboard::instance().text(), std::string("a\xF3\0", 3));
  const std::string huge(Clipboard::max_terminal_offer + 1, 'h');
  Clipboard::instance().set_text(huge);  // kept, but not sent to the terminal
  EXPECT_EQ(Clipboard::instance().text(), huge);
  Clipboard::instance().set_terminal_sink({});

  ASSERT_EQ(offered.size(), 2u);
  EXPECT_EQ(offered[0], "\x1b]52;c;aGk=\x07");
  // "a", o acute, NUL: Windows-1252 bytes 61 F3 00 go out as UTF-8 61 C3 B3 00.
  EXPECT_EQ(offered[1], "\x1b]52;c;YcOzAA==\x07");
  EXPECT_EQ(osc52_sequence("abcd"), "\x1b]52;c;YWJjZA==\x07");
}

}  // namespace
}  // namespace console
