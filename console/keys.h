#pragma once
// Key codes: one integer per key press. Printable characters are their byte
// value (32-255); the rest follow this table.

namespace console::key {

constexpr int up = 5;
constexpr int down = 24;
constexpr int left = 19;
constexpr int right = 4;
constexpr int home = 1;
constexpr int end = 6;
constexpr int page_up = 18;
constexpr int page_down = 3;
constexpr int enter = 13;
constexpr int escape = 27;
constexpr int tab = 9;
constexpr int shift_tab = 271;
constexpr int backspace = 8;
constexpr int del = 7;
constexpr int ins = 22;
constexpr int f1 = 28;

constexpr int ctrl_left = 26;
constexpr int ctrl_right = 2;
constexpr int ctrl_home = 29;
constexpr int ctrl_end = 23;
constexpr int ctrl_page_up = 31;
constexpr int ctrl_page_down = 30;
constexpr int ctrl_enter = 10;
constexpr int ctrl_backspace = 127;

constexpr int shift_left = 424;
constexpr int shift_up = 425;
constexpr int shift_right = 426;
constexpr int shift_down = 427;
constexpr int shift_ins = 428;
constexpr int shift_del = 429;
constexpr int shift_home = 430;
constexpr int shift_end = 431;

// Ctrl+Break, or the request to close the program (a terminal hang-up or
// termination signal).
constexpr int break_request = 256;

// Ctrl+letter: 512 + the letter's place in the alphabet (Ctrl+A 513).
constexpr int ctrl_letter(char letter) {
  char lower = (letter >= 'A' && letter <= 'Z') ? static_cast<char>(letter - 'A' + 'a') : letter;
  return (lower >= 'a' && lower <= 'z') ? 512 + (lower - 'a' + 1) : 0;
}

// Alt+letter: the classic alternate codes, by keyboard row (Q..P 272-281,
// A..L 286-294, Z..M 300-306). 0 for anything but a letter.
constexpr int alt_letter(char letter) {
  char lower = (letter >= 'A' && letter <= 'Z') ? static_cast<char>(letter - 'A' + 'a') : letter;
  constexpr const char* rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
  constexpr int starts[] = {272, 286, 300};
  for (int r = 0; r < 3; ++r) {
    for (int i = 0; rows[r][i] != '\0'; ++i) {
      if (rows[r][i] == lower) return starts[r] + i;
    }
  }
  return 0;
}

constexpr int ctrl_a = ctrl_letter('a');
constexpr int ctrl_b = ctrl_letter('b');
constexpr int ctrl_c = ctrl_letter('c');
constexpr int ctrl_n = ctrl_letter('n');
constexpr int ctrl_t = ctrl_letter('t');
constexpr int ctrl_v = ctrl_letter('v');
constexpr int ctrl_w = ctrl_letter('w');
constexpr int ctrl_x = ctrl_letter('x');
constexpr int ctrl_y = ctrl_letter('y');
constexpr int alt_c = alt_letter('c');
constexpr int alt_w = alt_letter('w');

static_assert(ctrl_c == 515 && ctrl_w == 535);
static_assert(alt_c == 302 && alt_w == 273 && alt_letter('q') == 272 && alt_letter('p') == 281 &&
              alt_letter('a') == 286 && alt_letter('l') == 294 && alt_letter('z') == 300 &&
              alt_letter('m') == 306);

}  // namespace console::key
