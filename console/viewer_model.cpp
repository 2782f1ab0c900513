#include "console/viewer_model.h"

#include <algorithm>

#include "console/line_split.h"

namespace console {

ViewerModel::ViewerModel(std::string_view text, std::size_t rows, std::size_t width)
    : lines_(split_lines(text, std::max<std::size_t>(width, 1))),
      rows_(std::max<std::size_t>(rows, 1)),
      width_(std::max<std::size_t>(width, 1)) {}

void ViewerModel::set_line(std::size_t line, std::string text) {
  lines_.set_text(line - 1, std::move(text));
}

// Vertical movement: the window follows so that the line stays visible.
void ViewerModel::move_to_line(std::size_t line) {
  line = std::clamp<std::size_t>(line, 1, lines_.size());
  line_ = line;
  if (line < first_line_) first_line_ = line;
  if (line - first_line_ >= rows_) first_line_ = std::max<std::size_t>(1, line - rows_ + 1);
}

// Horizontal movement: the column stays within the window's width.
void ViewerModel::move_to_column(std::size_t column) {
  column = std::clamp<std::size_t>(column, 1, width_);
  column_ = column;
  if (column < first_column_) first_column_ = column;
  if (column - first_column_ >= width_)
    first_column_ = std::max<std::size_t>(1, column - width_ + 1);
}

void ViewerModel::place_cursor(std::size_t line, std::size_t column) {
  move_to_line(line);
  move_to_column(column);
}

void ViewerModel::down() {
  clear_selection();
  move_to_line(line_ + 1);
}

void ViewerModel::up() {
  clear_selection();
  if (line_ > 1) move_to_line(line_ - 1);
}

// One window further. When the text already ends inside the window the
// cursor only goes to the last line: scrolling would push the text out of
// the window and leave it nearly empty.
void ViewerModel::page_down() {
  clear_selection();
  const std::size_t last = lines_.size();
  const std::size_t step = std::min(rows_, (last - first_line_) - (line_ - first_line_));
  if (first_line_ + rows_ - 1 >= last || step > last - line_) {
    move_to_line(std::min(first_line_ + rows_ - 1, last));
    return;
  }
  first_line_ = std::min(first_line_ + step, last);
  line_ = std::min(line_ + step, last);
}

void ViewerModel::page_up() {
  clear_selection();
  const std::size_t step = std::min(rows_, first_line_ - 1);
  if (step == 0) {
    move_to_line(1);
    return;
  }
  first_line_ -= step;
  line_ = std::max<std::size_t>(1, line_ - step);
}

void ViewerModel::text_start() {
  clear_selection();
  place_cursor(1, 1);
}

void ViewerModel::text_end() {
  clear_selection();
  move_to_line(lines_.size());
  move_to_column(line_length(line_) + 1);
}

void ViewerModel::window_top() {
  clear_selection();
  place_cursor(first_line_, 1);
}

void ViewerModel::window_bottom() {
  clear_selection();
  move_to_line(std::min(first_line_ + rows_ - 1, lines_.size()));
  end();
}

void ViewerModel::right() {
  clear_selection();
  if (column_ < width_) {
    move_to_column(column_ + 1);
  } else if (line_ < lines_.size()) {
    place_cursor(line_ + 1, 1);
  }
}

void ViewerModel::left() {
  clear_selection();
  if (column_ > 1) {
    move_to_column(column_ - 1);
  } else if (line_ > 1) {
    place_cursor(line_ - 1, width_);
  }
}

void ViewerModel::home() {
  clear_selection();
  move_to_column(1);
}

void ViewerModel::end() {
  clear_selection();
  move_to_column(std::min(line_length(line_) + 1, width_));
}

// Words are runs of non-blanks; the search goes on into the following lines.
void ViewerModel::word_right() {
  clear_selection();
  std::string_view text = lines_.text(line_ - 1);
  std::size_t at = column_ - 1;
  while (at < text.size() && text[at] != ' ') ++at;
  while (at < text.size() && text[at] == ' ') ++at;
  if (at < text.size()) {
    move_to_column(at + 1);
    return;
  }
  for (std::size_t next = line_ + 1; next <= lines_.size(); ++next) {
    std::size_t start = lines_.text(next - 1).find_first_not_of(' ');
    if (start != std::string_view::npos) {
      place_cursor(next, start + 1);
      return;
    }
  }
  move_to_column(std::min(text.size() + 1, width_));
}

void ViewerModel::word_left() {
  clear_selection();
  std::size_t line = line_;
  std::size_t at = std::min(column_ - 1, lines_.text(line - 1).size());
  for (;;) {
    std::string_view text = lines_.text(line - 1);
    while (at > 0 && text[at - 1] == ' ') --at;
    if (at > 0) {
      while (at > 0 && text[at - 1] != ' ') --at;
      place_cursor(line, at + 1);
      return;
    }
    if (line == 1) break;
    --line;
    at = lines_.text(line - 1).size();
  }
  place_cursor(1, 1);
}

std::string ViewerModel::joined_text() const {
  std::string out;
  const std::string_view line_break = lines_.line_break();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    out.append(lines_.text(i));
    if (i + 1 < lines_.size() && !lines_.soft(i)) out.append(line_break);
  }
  return out;
}

}  // namespace console
