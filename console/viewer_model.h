#pragma once
// The text viewer's state apart from the screen: the lines, the cursor in the
// text, the window's first visible line and column, the edit flags and the
// selection. Lines and columns are counted from 1, as the user sees them.
// Every operation is bounded by the window or by the lines it touches, so a
// text of a million lines moves as fast as a short one.

#include <cstddef>
#include <string>
#include <string_view>

#include "console/text_lines.h"

namespace console {

struct ViewerSelection {
  bool active = false;
  // Whole lines (extended with Shift+Up/Down, Ctrl+A) or a column range on
  // one line (extended with Shift+Left/Right/Home/End).
  bool whole_lines = true;
  std::size_t anchor_line = 0;
  std::size_t anchor_column = 0;
  std::size_t first_line = 0;  // whole-line mode: first..last selected lines
  std::size_t last_line = 0;
  std::size_t first_column = 0;  // column mode: columns [first, end) of first_line
  std::size_t end_column = 0;
};

class ViewerModel {
 public:
  // `text` is split for a window of `rows` × `width` (tabs already replaced).
  ViewerModel(std::string_view text, std::size_t rows, std::size_t width);

  const TextLines& lines() const { return lines_; }
  std::size_t line_count() const { return lines_.size(); }
  std::size_t rows() const { return rows_; }
  std::size_t width() const { return width_; }
  std::size_t wrap_column() const { return width_ - 1; }

  std::size_t line() const { return line_; }
  std::size_t column() const { return column_; }
  std::size_t first_line() const { return first_line_; }
  std::size_t first_column() const { return first_column_; }
  // The cursor's place inside the window, counted from 0.
  std::size_t cursor_row() const { return line_ - first_line_; }
  std::size_t cursor_column() const { return column_ - first_column_; }

  bool insert_mode() const { return insert_; }
  void set_insert_mode(bool on) { insert_ = on; }
  bool changed() const { return changed_; }
  const ViewerSelection& selection() const { return selection_; }

  // Movement (each clears the selection first).
  void move_to_line(std::size_t line);
  void move_to_column(std::size_t column);
  void down();
  void up();
  void page_down();
  void page_up();
  void text_start();
  void text_end();
  void window_top();
  void window_bottom();
  void right();
  void left();
  void home();
  void end();
  void word_right();
  void word_left();

  // Editing (each sets the changed flag).
  void type(unsigned char ch);
  void enter();
  void backspace();
  void del();
  void tab();
  void delete_line();
  void delete_word_right();
  void insert_line_above();
  void unwrap_all();

  // Selection and clipboard text.
  void extend_selection_up();
  void extend_selection_down();
  void extend_selection_left();
  void extend_selection_right();
  void extend_selection_home();
  void extend_selection_end();
  void select_all();
  void clear_selection() { selection_.active = false; }
  bool line_selected(std::size_t line) const;
  std::string selected_text() const;
  void delete_selection();
  void paste(std::string_view text);

  // The lines joined back into one text: wrapped lines run on, other lines
  // end with the text's own line break.
  std::string joined_text() const;

 private:
  std::string line_text(std::size_t line) const { return std::string(lines_.text(line - 1)); }
  std::size_t line_length(std::size_t line) const { return lines_.text(line - 1).size(); }
  void set_line(std::size_t line, std::string text);
  void place_cursor(std::size_t line, std::size_t column);
  void rebreak_from(std::size_t line);
  void break_at_window_edge();
  void edited() {
    changed_ = true;
    selection_.active = false;
  }
  void start_selection(bool whole_lines);
  void update_selection();

  TextLines lines_;
  std::size_t rows_;
  std::size_t width_;
  std::size_t line_ = 1;
  std::size_t column_ = 1;
  std::size_t first_line_ = 1;
  std::size_t first_column_ = 1;
  bool insert_ = false;
  bool changed_ = false;
  ViewerSelection selection_;
};

}  // namespace console
