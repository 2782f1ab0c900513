#pragma once
// Translation of terminal input, as ncurses delivers it, into our key codes.

#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace console {

// A key as the terminal library reports it: a function-key code, or a
// character (Unicode).
struct TerminalKey {
  bool function_key = false;
  int value = 0;
};

// Function-key codes learnt at start-up for modified keys (Ctrl+arrows,
// Shift+Home, ...) and the key code each one means.
using LearntKeys = std::map<int, int>;

// nullopt for input that is no key of ours (for example a character outside
// Windows-1252).
std::optional<int> key_from_terminal(TerminalKey key, const LearntKeys& learnt);

// Alt+character: the character that followed Esc at once; nullopt when it
// is not a letter.
std::optional<int> alt_key_from_character(int character);

// Modified keys: the terminfo extended names that may describe them and the
// xterm sequences defined where the entry lacks them.
struct ModifiedKey {
  int code;
  std::vector<std::string_view> terminfo_names;
  std::vector<std::string_view> sequences;
};
const std::vector<ModifiedKey>& modified_keys();

}  // namespace console
