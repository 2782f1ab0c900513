#pragma once
// The error dialog: a framed box in the middle of the screen with a message
// and a row of buttons, bright white on red; the current button bright white
// on blue. The screen under the box, the cursor position and its shape are
// restored when it closes.
//
//   int chosen = console::error_dialog(con, "Error BASE/5  Zero divisor", {"Quit", "Retry"});
//
// ";" in the message starts a new line; longer lines are broken at blanks
// (see break_dialog_text).

#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"

namespace console {

struct DialogButton {
  std::string text;
  int column = 0;  // the blank before the text; the text starts one further
};

struct DialogLayout {
  std::vector<std::string> lines;
  int width = 0;  // w: the widest line or the buttons' total width
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
  int button_row = 0;
  std::vector<DialogButton> buttons;

  // The column at which line `index` starts (lines are centred).
  int line_column(std::size_t index) const;
};

// Breaks the message into lines: "\n" ends a line (a final one adds no empty
// line); a line longer than `soft_width` is broken at its last blank within
// that width; without one, a line longer than `hard_width` is broken at its
// first blank beyond the soft width or, without any there, after
// `hard_width` characters. The blank at a break is dropped.
std::vector<std::string> break_dialog_text(std::string_view text, int soft_width, int hard_width);

// Where everything of the dialog stands on a screen of `rows` x `columns`.
// ";" in `text` is a line break; no buttons means the single button "Ok".
DialogLayout layout_error_dialog(std::string_view text, std::vector<std::string> buttons, int rows,
                                 int columns);

// Shows the dialog and waits: Enter or Space choose the current button,
// Right/Tab and Left/Shift+Tab move between buttons (wrapping around), a
// character 33-255 chooses at once the first button beginning with it (any
// case), a left click on a button's text chooses it, Esc closes with 0.
// Returns the chosen button's number from 1, or 0 after Esc.
int error_dialog(Console& con, std::string_view text, std::vector<std::string> buttons);

// Shows the grid at once, even while a Console::DeferredPresent holds
// output back: an error must be seen however the screen was being drawn.
void show_now(Console& con);

// The dialog's colours.
inline constexpr std::string_view dialog_colour = "W+/R";
inline constexpr std::string_view dialog_current_button_colour = "W+/B";

}  // namespace console
