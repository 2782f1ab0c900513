#include "console/wait_prompt.h"

#include <algorithm>

#include "console/call_stack.h"

namespace console {
namespace {

void scroll_up(Screen& screen, std::uint8_t attr) {
  for (int row = 0; row < screen.last_row(); ++row) {
    for (int column = 0; column < screen.columns(); ++column) {
      screen.set_cell(row, column, screen.cell(row + 1, column));
    }
  }
  for (int column = 0; column < screen.columns(); ++column) {
    screen.set_cell(screen.last_row(), column, Cell{' ', attr, false});
  }
}

void next_row(Screen& screen, int& row, std::uint8_t attr) {
  if (row < screen.last_row()) {
    ++row;
  } else {
    scroll_up(screen, attr);
  }
}

}  // namespace

void write_console_style(Console& con, std::string_view text) {
  Screen& screen = con.screen();
  const std::uint8_t attr = con.colours().current_attr();
  int row = std::clamp(screen.cursor_row(), 0, screen.last_row());
  int column = std::clamp(screen.cursor_column(), 0, screen.last_column());
  for (char ch : text) {
    if (ch == '\r') {
      column = 0;
    } else if (ch == '\n') {
      next_row(screen, row, attr);
    } else {
      screen.set_cell(row, column, Cell{static_cast<std::uint8_t>(ch), attr, false});
      if (++column > screen.last_column()) {
        column = 0;
        next_row(screen, row, attr);
      }
    }
  }
  screen.set_cursor(row, column);
  con.present();
}

std::string wait_prompt(Console& con, std::optional<std::string_view> message,
                        std::source_location caller) {
  RoutineFrame frame("WAIT_PROMPT", CalledFrom{caller});
  std::string text = "\r\n";
  text += message.value_or(default_wait_message);
  write_console_style(con, text);
  const int key = con.read_key();
  if (key < 32 || key > 255) return std::string(1, '\0');
  const std::string answer(1, static_cast<char>(key));
  write_console_style(con, answer);
  return answer;
}

}  // namespace console
