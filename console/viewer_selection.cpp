// Selection, copy and paste in the text viewer.

#include <algorithm>
#include <vector>

#include "console/line_split.h"
#include "console/viewer_model.h"

namespace console {

void ViewerModel::start_selection(bool whole_lines) {
  if (selection_.active && selection_.whole_lines == whole_lines) return;
  selection_ = ViewerSelection{};
  selection_.active = true;
  selection_.whole_lines = whole_lines;
  selection_.anchor_line = line_;
  selection_.anchor_column = column_;
}

void ViewerModel::update_selection() {
  if (selection_.whole_lines) {
    selection_.first_line = std::min(selection_.anchor_line, line_);
    selection_.last_line = std::max(selection_.anchor_line, line_);
    return;
  }
  selection_.first_line = selection_.last_line = selection_.anchor_line;
  selection_.first_column = std::min(selection_.anchor_column, column_);
  selection_.end_column = std::max(selection_.anchor_column, column_);
}

void ViewerModel::extend_selection_up() {
  start_selection(true);
  if (line_ > 1) move_to_line(line_ - 1);
  update_selection();
}

void ViewerModel::extend_selection_down() {
  start_selection(true);
  move_to_line(line_ + 1);
  update_selection();
}

// Column selections stay on the line where they started.
void ViewerModel::extend_selection_left() {
  start_selection(false);
  if (column_ > 1) move_to_column(column_ - 1);
  update_selection();
}

void ViewerModel::extend_selection_right() {
  start_selection(false);
  move_to_column(column_ + 1);
  update_selection();
}

void ViewerModel::extend_selection_home() {
  start_selection(false);
  move_to_column(1);
  update_selection();
}

void ViewerModel::extend_selection_end() {
  start_selection(false);
  move_to_column(std::min(line_length(line_) + 1, width_));
  update_selection();
}

void ViewerModel::select_all() {
  selection_ = ViewerSelection{};
  selection_.active = true;
  selection_.whole_lines = true;
  selection_.anchor_line = 1;
  selection_.first_line = 1;
  selection_.last_line = lines_.size();
}

bool ViewerModel::line_selected(std::size_t line) const {
  return selection_.active && selection_.whole_lines && line >= selection_.first_line &&
         line <= selection_.last_line;
}

// Whole lines are copied each with its line break (wrapped lines run on);
// a column range is copied as it stands.
std::string ViewerModel::selected_text() const {
  if (!selection_.active) return {};
  if (!selection_.whole_lines) {
    std::string_view text = lines_.text(selection_.first_line - 1);
    const std::size_t from = std::min(selection_.first_column - 1, text.size());
    const std::size_t to = std::min(selection_.end_column - 1, text.size());
    return std::string(text.substr(from, to - from));
  }
  std::string out;
  for (std::size_t line = selection_.first_line; line <= selection_.last_line; ++line) {
    out.append(lines_.text(line - 1));
    if (!lines_.soft(line - 1) || line == selection_.last_line) out.append("\r\n");
  }
  return out;
}

void ViewerModel::delete_selection() {
  if (!selection_.active) return;
  const ViewerSelection selected = selection_;
  edited();
  if (!selected.whole_lines) {
    std::string text = line_text(selected.first_line);
    const std::size_t from = std::min(selected.first_column - 1, text.size());
    const std::size_t to = std::min(selected.end_column - 1, text.size());
    text.erase(from, to - from);
    set_line(selected.first_line, std::move(text));
    place_cursor(selected.first_line, selected.first_column);
    return;
  }
  if (selected.first_line > 1) {
    lines_.set_soft(selected.first_line - 2, false);
  }
  lines_.erase(selected.first_line - 1, selected.last_line - selected.first_line + 1);
  if (lines_.empty()) lines_.append(std::string());
  first_line_ = std::min(first_line_, lines_.size());
  place_cursor(selected.first_line, 1);
}

// The pasted text's own line breaks start new lines; its first line joins
// the text before the cursor and its last line the text after it.
void ViewerModel::paste(std::string_view clipboard) {
  if (clipboard.empty()) return;
  std::string text = expand_tabs(clipboard);
  std::replace(text.begin(), text.end(), '\0', ' ');
  TextLines pasted = split_lines(text, std::string::npos / 4);
  edited();

  std::string current = line_text(line_);
  if (current.size() < column_ - 1) current.append(column_ - 1 - current.size(), ' ');
  std::string after = current.substr(column_ - 1);
  current.resize(column_ - 1);

  const std::size_t first = line_;
  const std::size_t last = first + pasted.size() - 1;
  const bool soft = lines_.soft(first - 1);
  if (pasted.size() == 1) {
    current.append(pasted.text(0));
    const std::size_t cursor = current.size() + 1;
    set_line(first, current + after);
    column_ = cursor;
  } else {
    set_line(first, current + std::string(pasted.text(0)));
    lines_.set_soft(first - 1, false);
    std::vector<std::string> middle;
    for (std::size_t i = 1; i < pasted.size(); ++i) middle.emplace_back(pasted.text(i));
    const std::size_t cursor = middle.back().size() + 1;
    middle.back() += after;
    lines_.insert_many(first, std::move(middle));
    lines_.set_soft(last - 1, soft);
    line_ = last;
    column_ = cursor;
  }
  for (std::size_t line = last; line >= first; --line) rebreak_from(line);
  place_cursor(line_, column_);
}

}  // namespace console
