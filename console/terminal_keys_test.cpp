#include "console/terminal_keys.h"

#include <curses.h>
#include <gtest/gtest.h>

#include "console/glyphs.h"
#include "console/keys.h"

namespace console {
namespace {

TEST(TerminalKeysTest, FunctionKeysMapToOurCodes) {
  const LearntKeys none;
  const std::vector<std::pair<int, int>> table = {{KEY_UP, key::up},
                                                  {KEY_DOWN, key::down},
                                                  {KEY_LEFT, key::left},
                                                  {KEY_RIGHT, key::right},
                                                  {KEY_HOME, key::home},
                                                  {KEY_END, key::end},
                                                  {KEY_PPAGE, key::page_up},
                                                  {KEY_NPAGE, key::page_down},
                                                  {KEY_ENTER, key::enter},
                                                  {KEY_BTAB, key::shift_tab},
                                                  {KEY_BACKSPACE, key::backspace},
                                                  {KEY_DC, key::del},
                                                  {KEY_IC, key::ins},
                                                  {KEY_F(1), key::f1},
                                                  {KEY_SLEFT, key::shift_left},
                                                  {KEY_SRIGHT, key::shift_right},
                                                  {KEY_SR, key::shift_up},
                                                  {KEY_SF, key::shift_down},
                                                  {KEY_SHOME, key::shift_home},
                                                  {KEY_SEND, key::shift_end},
                                                  {KEY_SIC, key::shift_ins},
                                                  {KEY_SDC, key::shift_del}};
  for (auto [curses_code, ours] : table) {
    EXPECT_EQ(key_from_terminal({true, curses_code}, none), ours) << curses_code;
  }
  EXPECT_EQ(key_from_terminal({true, KEY_F(2)}, none), std::nullopt);
}

TEST(TerminalKeysTest, LearntModifiedKeysWin) {
  const LearntKeys learnt = {{KEY_MAX + 1, key::ctrl_page_down}, {KEY_MAX + 2, key::ctrl_left}};
  EXPECT_EQ(key_from_terminal({true, KEY_MAX + 1}, learnt), key::ctrl_page_down);
  EXPECT_EQ(key_from_terminal({true, KEY_MAX + 2}, learnt), key::ctrl_left);
  EXPECT_EQ(key_from_terminal({true, KEY_MAX + 3}, learnt), std::nullopt);
}

TEST(TerminalKeysTest, CharactersMapToBytesAndControlCodes) {
  const LearntKeys none;
  const std::vector<std::pair<int, std::optional<int>>> table = {
      {'a', 'a'},
      {'Z', 'Z'},
      {' ', ' '},
      {13, key::enter},
      {10, key::ctrl_enter},
      {9, key::tab},
      {27, key::escape},
      {127, key::backspace},
      {8, key::ctrl_backspace},
      {1, 513},
      {3, 515},
      {23, 535},
      {26, 538},
      {0xF3, 0xF3},    // o with acute accent
      {0x20AC, 0x80},  // euro sign
      {0x2019, 0x92},
      {0x4E2D, std::nullopt},  // outside Windows-1252
      {0, std::nullopt},
      {28, std::nullopt}};
  for (auto [typed, expected] : table) {
    EXPECT_EQ(key_from_terminal({false, typed}, none), expected) << typed;
  }
}

TEST(TerminalKeysTest, AltLetters) {
  EXPECT_EQ(alt_key_from_character('c'), key::alt_c);
  EXPECT_EQ(alt_key_from_character('C'), key::alt_c);
  EXPECT_EQ(alt_key_from_character('w'), key::alt_w);
  EXPECT_EQ(alt_key_from_character('['), std::nullopt);
  EXPECT_EQ(alt_key_from_character('1'), std::nullopt);
}

TEST(TerminalKeysTest, EveryModifiedKeyHasAnXtermSequence) {
  for (const ModifiedKey& modified : modified_keys()) {
    ASSERT_FALSE(modified.sequences.empty()) << modified.code;
    EXPECT_EQ(modified.sequences.front().front(), '\033');
  }
}

TEST(GlyphsTest, BytesShowAsWindows1252AndFramesAsLines) {
  EXPECT_EQ(glyph_for(Cell{'A', 7, false}), U'A');
  EXPECT_EQ(glyph_for(Cell{0xF3, 7, false}), U'\u00F3');
  EXPECT_EQ(glyph_for(Cell{0x80, 7, false}), U'\u20AC');
  EXPECT_EQ(glyph_for(Cell{0x81, 7, false}), U'?');
  EXPECT_EQ(glyph_for(Cell{0x0A, 7, false}), U'\u25D9');  // a stray LF shows its glyph
  // The same byte is a letter in text and a frame line in a frame cell.
  EXPECT_EQ(glyph_for(Cell{0xC4, 7, false}), U'\u00C4');
  EXPECT_EQ(glyph_for(Cell{0xC4, 7, true}), U'\u2500');
  const std::vector<std::pair<std::uint8_t, char32_t>> frame = {
      {218, U'\u250C'}, {191, U'\u2510'}, {179, U'\u2502'}, {217, U'\u2518'}, {192, U'\u2514'}};
  for (auto [byte, line] : frame) EXPECT_EQ(glyph_for(Cell{byte, 7, true}), line) << int(byte);
}

}  // namespace
}  // namespace console
