#include "console/terminal_keys.h"

#include <curses.h>

#include "console/glyphs.h"
#include "console/keys.h"

namespace console {
namespace {

std::optional<int> function_key(int value) {
  switch (value) {
    case KEY_UP: return key::up;
    case KEY_DOWN: return key::down;
    case KEY_LEFT: return key::left;
    case KEY_RIGHT: return key::right;
    case KEY_HOME:
    case KEY_FIND:
    case KEY_A1: return key::home;
    case KEY_END:
    case KEY_SELECT:
    case KEY_C1: return key::end;
    case KEY_PPAGE:
    case KEY_A3: return key::page_up;
    case KEY_NPAGE:
    case KEY_C3: return key::page_down;
    case KEY_ENTER: return key::enter;
    case KEY_BTAB: return key::shift_tab;
    case KEY_BACKSPACE: return key::backspace;
    case KEY_DC: return key::del;
    case KEY_IC: return key::ins;
    case KEY_SLEFT: return key::shift_left;
    case KEY_SRIGHT: return key::shift_right;
    case KEY_SR: return key::shift_up;
    case KEY_SF: return key::shift_down;
    case KEY_SHOME: return key::shift_home;
    case KEY_SEND: return key::shift_end;
    case KEY_SIC: return key::shift_ins;
    case KEY_SDC: return key::shift_del;
    default: break;
  }
  if (value == KEY_F(1)) return key::f1;
  return std::nullopt;
}

std::optional<int> character_key(int value) {
  switch (value) {
    case 13: return key::enter;
    case 10: return key::ctrl_enter;
    case 9: return key::tab;
    case 27: return key::escape;
    // Terminals send DEL for Backspace and ^H for Ctrl+Backspace.
    case 127: return key::backspace;
    case 8: return key::ctrl_backspace;
    default: break;
  }
  if (value >= 1 && value <= 26) return 512 + value;  // Ctrl+letter
  if (value < 32) return std::nullopt;
  if (auto byte = cp1252_byte(static_cast<char32_t>(value))) return *byte;
  return std::nullopt;
}

}  // namespace

std::optional<int> key_from_terminal(TerminalKey pressed, const LearntKeys& learnt) {
  if (!pressed.function_key) return character_key(pressed.value);
  if (auto found = learnt.find(pressed.value); found != learnt.end()) return found->second;
  return function_key(pressed.value);
}

std::optional<int> alt_key_from_character(int character) {
  if (character < 0 || character > 127) return std::nullopt;
  int code = key::alt_letter(static_cast<char>(character));
  return code != 0 ? std::optional<int>(code) : std::nullopt;
}

const std::vector<ModifiedKey>& modified_keys() {
  static const std::vector<ModifiedKey> keys = {
      {key::ctrl_left, {"kLFT5"}, {"\033[1;5D", "\033[5D", "\033Od"}},
      {key::ctrl_right, {"kRIT5"}, {"\033[1;5C", "\033[5C", "\033Oc"}},
      {key::ctrl_home, {"kHOM5"}, {"\033[1;5H", "\033[7^", "\033[1^"}},
      {key::ctrl_end, {"kEND5"}, {"\033[1;5F", "\033[8^", "\033[4^"}},
      {key::ctrl_page_up, {"kPRV5"}, {"\033[5;5~", "\033[5^"}},
      {key::ctrl_page_down, {"kNXT5"}, {"\033[6;5~", "\033[6^"}},
      {key::shift_left, {"kLFT2"}, {"\033[1;2D"}},
      {key::shift_right, {"kRIT2"}, {"\033[1;2C"}},
      {key::shift_up, {"kUP2", "kUP"}, {"\033[1;2A"}},
      {key::shift_down, {"kDN2", "kDN"}, {"\033[1;2B"}},
      {key::shift_home, {"kHOM2"}, {"\033[1;2H"}},
      {key::shift_end, {"kEND2"}, {"\033[1;2F"}},
      {key::shift_ins, {"kIC2"}, {"\033[2;2~"}},
      {key::shift_del, {"kDC2"}, {"\033[3;2~"}},
      {key::home, {}, {"\033[1~", "\033[7~", "\033[H", "\033OH"}},
      {key::end, {}, {"\033[4~", "\033[8~", "\033[F", "\033OF"}},
  };
  return keys;
}

}  // namespace console
