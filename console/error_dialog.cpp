#include "console/error_dialog.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "console/colour.h"
#include "console/keys.h"

namespace console {
namespace {

// Code-page 437 frame bytes.
constexpr std::uint8_t kTopLeft = 218;
constexpr std::uint8_t kHorizontal = 196;
constexpr std::uint8_t kTopRight = 191;
constexpr std::uint8_t kVertical = 179;
constexpr std::uint8_t kBottomRight = 217;
constexpr std::uint8_t kBottomLeft = 192;

int length_of(const std::string& text) { return static_cast<int>(text.size()); }

std::uint8_t attribute_of(std::string_view colour) {
  ColourValue value;
  ColourTable::parse_item(colour, value);
  return value.attr;
}

// Breaks one line (no line breaks inside) and appends the pieces.
void break_line(std::string rest, std::size_t soft, std::size_t hard,
                std::vector<std::string>& lines) {
  while (rest.size() > soft) {
    std::size_t cut = std::string::npos;
    for (std::size_t i = std::min(soft, rest.size() - 1); i >= 1; --i) {
      if (rest[i] == ' ') {
        cut = i;
        break;
      }
    }
    if (cut == std::string::npos) {
      if (rest.size() <= hard) break;
      std::size_t blank = rest.find(' ', soft + 1);
      if (blank != std::string::npos && blank <= hard) {
        cut = blank;
      } else {
        lines.push_back(rest.substr(0, hard));
        rest.erase(0, hard);
        continue;
      }
    }
    lines.push_back(rest.substr(0, cut));
    rest.erase(0, cut + 1);
  }
  lines.push_back(std::move(rest));
}

struct DialogState {
  const DialogLayout& layout;
  std::uint8_t box_attr;
  std::uint8_t current_attr;
};

void draw_buttons(Screen& screen, const DialogState& state, std::size_t current) {
  const DialogLayout& layout = state.layout;
  for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
    const DialogButton& button = layout.buttons[i];
    const std::uint8_t attr = i == current ? state.current_attr : state.box_attr;
    const std::string shown = " " + button.text + " ";
    for (std::size_t k = 0; k < shown.size(); ++k) {
      screen.set_cell(layout.button_row, button.column + static_cast<int>(k),
                      Cell{static_cast<std::uint8_t>(shown[k]), attr, false});
    }
  }
}

void draw_box(Screen& screen, const DialogState& state) {
  const DialogLayout& l = state.layout;
  const std::uint8_t attr = state.box_attr;
  for (int row = l.top; row <= l.bottom; ++row) {
    for (int column = l.left; column <= l.right; ++column) {
      const bool top = row == l.top;
      const bool bottom = row == l.bottom;
      const bool left = column == l.left;
      const bool right = column == l.right;
      std::uint8_t ch = ' ';
      if (top)
        ch = left ? kTopLeft : right ? kTopRight : kHorizontal;
      else if (bottom)
        ch = left ? kBottomLeft : right ? kBottomRight : kHorizontal;
      else if (left || right)
        ch = kVertical;
      screen.set_cell(row, column, Cell{ch, attr, ch != ' '});
    }
  }
  for (std::size_t i = 0; i < l.lines.size(); ++i) {
    const int row = l.top + 1 + static_cast<int>(i);
    const int start = l.line_column(i);
    for (std::size_t k = 0; k < l.lines[i].size(); ++k) {
      screen.set_cell(row, start + static_cast<int>(k),
                      Cell{static_cast<std::uint8_t>(l.lines[i][k]), attr, false});
    }
  }
}

// The first button whose text begins with the character, in any case.
int button_for_character(const DialogLayout& layout, int code) {
  const int wanted = std::tolower(code);
  for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
    const std::string& text = layout.buttons[i].text;
    if (!text.empty() && std::tolower(static_cast<unsigned char>(text[0])) == wanted) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

int button_under_click(const DialogLayout& layout, const InputEvent& event) {
  if (!event.left_click || event.row != layout.button_row) return 0;
  for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
    const DialogButton& button = layout.buttons[i];
    const int first = button.column + 1;
    if (event.column >= first && event.column < first + length_of(button.text)) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

// Waits for the choice: a button number from 1, or 0 after Esc.
int wait_for_choice(Console& con, const DialogState& state) {
  const DialogLayout& layout = state.layout;
  const std::size_t count = layout.buttons.size();
  std::size_t current = 0;
  while (true) {
    const InputEvent event = con.read_event(true);
    if (event.kind == InputEvent::Kind::mouse) {
      if (int chosen = button_under_click(layout, event)) return chosen;
      continue;
    }
    const int code = event.code;
    if (code == key::enter || code == ' ') return static_cast<int>(current) + 1;
    if (code == key::escape) return 0;
    if (code == key::right || code == key::tab) {
      current = (current + 1) % count;
    } else if (code == key::left || code == key::shift_tab) {
      current = (current + count - 1) % count;
    } else if (code >= 33 && code <= 255) {
      if (int chosen = button_for_character(layout, code)) return chosen;
      continue;
    } else {
      continue;
    }
    draw_buttons(con.screen(), state, current);
    show_now(con);
  }
}

// Keeps the cells under the box and the cursor; puts them back on every way
// out of the dialog.
class SavedArea {
 public:
  SavedArea(Console& con, const DialogLayout& layout)
      : con_(con),
        layout_(layout),
        cursor_row_(con.screen().cursor_row()),
        cursor_column_(con.screen().cursor_column()),
        cursor_shape_(con.screen().cursor_shape()) {
    for (int row = layout.top; row <= layout.bottom; ++row) {
      for (int column = layout.left; column <= layout.right; ++column) {
        cells_.push_back(con.screen().cell(row, column));
      }
    }
  }
  ~SavedArea() {
    Screen& screen = con_.screen();
    std::size_t i = 0;
    for (int row = layout_.top; row <= layout_.bottom; ++row) {
      for (int column = layout_.left; column <= layout_.right; ++column) {
        screen.set_cell(row, column, cells_[i++]);
      }
    }
    screen.set_cursor(cursor_row_, cursor_column_);
    screen.set_cursor_shape(cursor_shape_);
    show_now(con_);
  }
  SavedArea(const SavedArea&) = delete;
  SavedArea& operator=(const SavedArea&) = delete;

 private:
  Console& con_;
  const DialogLayout& layout_;
  std::vector<Cell> cells_;
  int cursor_row_;
  int cursor_column_;
  int cursor_shape_;
};

// Mouse reporting is on only while the dialog waits for a click, so that
// the rest of the time the terminal's own text selection works.
class MouseReporting {
 public:
  explicit MouseReporting(Backend& backend) : backend_(backend) {
    backend_.set_mouse_reporting(true);
  }
  ~MouseReporting() { backend_.set_mouse_reporting(false); }
  MouseReporting(const MouseReporting&) = delete;
  MouseReporting& operator=(const MouseReporting&) = delete;

 private:
  Backend& backend_;
};

}  // namespace

void show_now(Console& con) { con.backend().present(con.screen()); }

int DialogLayout::line_column(std::size_t index) const {
  return left + 2 + (width - length_of(lines.at(index)) + 1) / 2;
}

std::vector<std::string> break_dialog_text(std::string_view text, int soft_width, int hard_width) {
  const std::size_t soft = static_cast<std::size_t>(std::max(1, soft_width));
  const std::size_t hard = static_cast<std::size_t>(std::max(soft_width, hard_width));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    break_line(std::string(text.substr(start, end - start)), soft, hard, lines);
    start = end + 1;
  }
  if (lines.empty()) lines.emplace_back();
  return lines;
}

DialogLayout layout_error_dialog(std::string_view text, std::vector<std::string> buttons, int rows,
                                 int columns) {
  if (buttons.empty()) buttons.emplace_back("Ok");
  std::string message(text);
  std::replace(message.begin(), message.end(), ';', '\n');
  const int soft = (columns * 3 - 12) / 4;
  const int hard = columns - 4;

  DialogLayout layout;
  layout.lines = break_dialog_text(message, soft, hard);
  if (length_of(layout.lines.back()) == 0 && layout.lines.size() > 1) layout.lines.pop_back();
  if (static_cast<int>(layout.lines.size()) > rows - 4) {
    layout.lines.resize(static_cast<std::size_t>(std::max(1, rows - 4)));
  }

  int longest = 0;
  for (const std::string& line : layout.lines) longest = std::max(longest, length_of(line));
  int button_total = 0;
  for (const std::string& button : buttons) button_total += length_of(button) + 4;
  button_total = std::min(button_total, hard);
  layout.width = std::max(longest, button_total);
  if (layout.lines.size() == 1 && longest < soft && layout.width < soft) {
    layout.width += std::min(4, soft - layout.width);
  }

  const int n = static_cast<int>(layout.lines.size());
  layout.top = (rows - n - 4) / 2;
  layout.left = (columns - layout.width - 4) / 2;
  layout.bottom = layout.top + n + 3;
  layout.right = layout.left + layout.width + 3;
  layout.button_row = layout.bottom - 1;
  int column = layout.left + 3 + (layout.width - button_total) / 2;
  for (std::string& button : buttons) {
    const int next = column + length_of(button) + 4;
    layout.buttons.push_back(DialogButton{std::move(button), column});
    column = next;
  }
  return layout;
}

int error_dialog(Console& con, std::string_view text, std::vector<std::string> buttons) {
  const DialogLayout layout =
      layout_error_dialog(text, std::move(buttons), con.screen().rows(), con.screen().columns());
  SavedArea saved(con, layout);
  const DialogState state{layout, attribute_of(dialog_colour),
                          attribute_of(dialog_current_button_colour)};
  con.screen().set_cursor_shape(cursor_shape::hidden);
  draw_box(con.screen(), state);
  draw_buttons(con.screen(), state, 0);
  show_now(con);
  const MouseReporting mouse(con.backend());
  return wait_for_choice(con, state);
}

}  // namespace console
