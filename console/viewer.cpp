#include "console/viewer.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "console/call_stack.h"
#include "console/keys.h"
#include "console/line_split.h"
#include "console/runtime_error.h"
#include "console/viewer_draw.h"
#include "console/viewer_keys.h"
#include "console/viewer_model.h"

namespace console {
namespace {

constexpr int kScoreboardRow = 0;
constexpr int kScoreboardColumn = 60;
constexpr std::string_view kInsertIndicator = "<insert>";
constexpr std::string_view kAbortQuestion = "(Abort Edit? Y/N)";
constexpr int kAbortCells = 18;  // columns 60-77

[[noreturn]] void argument_error(std::string operation) {
  throw RuntimeError(std::string(view_text_subsystem), view_text_error_subcode,
                     std::string(view_text_routine), std::move(operation));
}

int window_value(const ViewerArgument& argument, std::string_view name, int fallback) {
  switch (argument.kind()) {
    case ViewerArgument::Kind::absent: return fallback;
    case ViewerArgument::Kind::number: return argument.number();
    default: argument_error("<" + std::string(name) + "> Argument type error");
  }
}

ViewerWindow checked_window(const Console& con, const ViewerArgument& top,
                            const ViewerArgument& left, const ViewerArgument& bottom,
                            const ViewerArgument& right) {
  ViewerWindow window;
  window.top = window_value(top, "nTop", 0);
  window.left = window_value(left, "nLeft", 0);
  window.bottom = window_value(bottom, "nBottom", con.last_row());
  window.right = window_value(right, "nRight", con.last_column());
  if (window.top > window.bottom || window.left > window.right) {
    argument_error("<nTop,nLeft,nRight,nBottom> Argument error");
  }
  window.top = std::clamp(window.top, 0, con.last_row());
  window.bottom = std::clamp(window.bottom, 0, con.last_row());
  window.left = std::clamp(window.left, 0, con.last_column());
  window.right = std::clamp(window.right, 0, con.last_column());
  return window;
}

// Screen cells kept while something is shown over them on row 0.
class SavedCells {
 public:
  SavedCells(const Screen& screen, int row, int column, int count) : row_(row), column_(column) {
    for (int i = 0; i < count; ++i) cells_.push_back(screen.cell(row, column + i));
  }
  void restore(Screen& screen) const {
    for (std::size_t i = 0; i < cells_.size(); ++i) {
      screen.set_cell(row_, column_ + static_cast<int>(i), cells_[i]);
    }
  }

 private:
  int row_;
  int column_;
  std::vector<Cell> cells_;
};

void put_text(Screen& screen, int row, int column, std::string_view text, std::uint8_t attr) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    screen.set_cell(row, column + static_cast<int>(i),
                    Cell{static_cast<std::uint8_t>(text[i]), attr, false});
  }
}

class Viewer {
 public:
  Viewer(Console& con, std::string_view text, const ViewerWindow& window)
      : con_(con),
        window_(window),
        model_(text, static_cast<std::size_t>(window.rows()),
               static_cast<std::size_t>(window.columns())),
        opening_shape_(con.screen().cursor_shape()) {
    colours_.text = con.colours().slot(ColourTable::standard).attr;
    colours_.selected = con.colours().slot(ColourTable::enhanced).attr;
    colours_.current = con.colours().current_attr();
    model_.set_insert_mode(con.settings().insert());
  }

  // Runs until the user leaves; true when leaving with the save key.
  bool run() {
    // Switching twice leaves the mode as it was, with the matching cursor
    // shape and indicator.
    toggle_insert();
    toggle_insert();
    for (;;) {
      draw();
      const int key = con_.read_key();
      switch (apply_viewer_key(model_, key)) {
        case ViewerKeyResult::handled: break;
        case ViewerKeyResult::toggle_insert: toggle_insert(); break;
        case ViewerKeyResult::escape:
          if (confirm_abort()) return leave(false);
          break;
        case ViewerKeyResult::save_and_leave: return leave(true);
      }
    }
  }

  std::string edited_text() const { return model_.joined_text(); }

 private:
  void draw() {
    colours_.current = con_.colours().current_attr();
    draw_viewer(con_.screen(), model_, window_, colours_);
    con_.present();
  }

  void toggle_insert() {
    const bool on = !model_.insert_mode();
    model_.set_insert_mode(on);
    con_.set_setting("INSERT", on);
    con_.set_cursor_shape(on ? cursor_shape::insert : cursor_shape::normal);
    if (!con_.settings().scoreboard()) return;
    if (on) {
      indicator_cells_.emplace(con_.screen(), kScoreboardRow, kScoreboardColumn,
                               static_cast<int>(kInsertIndicator.size()));
      put_text(con_.screen(), kScoreboardRow, kScoreboardColumn, kInsertIndicator,
               con_.colours().current_attr());
    } else if (indicator_cells_) {
      indicator_cells_->restore(con_.screen());
      indicator_cells_.reset();
    }
  }

  // Esc leaves at once unless the text was edited and the scoreboard is on:
  // then the user is asked on row 0 and only Y or y leaves.
  bool confirm_abort() {
    if (!model_.changed() || !con_.settings().scoreboard()) return true;
    Screen& screen = con_.screen();
    const SavedCells saved(screen, kScoreboardRow, kScoreboardColumn, kAbortCells);
    const int shape = con_.set_cursor_shape(cursor_shape::normal);
    const int row = screen.cursor_row();
    const int column = screen.cursor_column();
    put_text(screen, kScoreboardRow, kScoreboardColumn, kAbortQuestion,
             con_.colours().current_attr());
    screen.set_cursor(kScoreboardRow, kScoreboardColumn + static_cast<int>(kAbortQuestion.size()));
    con_.present();
    const int answer = con_.read_key();
    con_.discard_pending_event();
    saved.restore(screen);
    con_.set_cursor_shape(shape);
    screen.set_cursor(row, column);
    return answer == 'Y' || answer == 'y';
  }

  // The indicator belongs to this viewer: left on row 0 it would be saved
  // by the next viewer and put back when that one switches insert mode off.
  bool leave(bool saved) {
    if (indicator_cells_) indicator_cells_->restore(con_.screen());
    con_.set_cursor_shape(opening_shape_);
    con_.present();
    return saved;
  }

  Console& con_;
  ViewerWindow window_;
  ViewerModel model_;
  ViewerColours colours_;
  int opening_shape_;
  std::optional<SavedCells> indicator_cells_;
};

}  // namespace

std::string view_text(Console& con, const ViewerArgument& text, const ViewerArgument& top,
                      const ViewerArgument& left, const ViewerArgument& bottom,
                      const ViewerArgument& right, std::source_location caller) {
  RoutineFrame frame(view_text_routine, CalledFrom{caller});
  if (text.kind() != ViewerArgument::Kind::absent && text.kind() != ViewerArgument::Kind::text) {
    argument_error("<cString> Argument type error");
  }
  const ViewerWindow window = checked_window(con, top, left, bottom, right);
  Viewer viewer(con, expand_tabs(text.text()), window);
  if (viewer.run()) return viewer.edited_text();
  return std::string(text.text());
}

}  // namespace console
