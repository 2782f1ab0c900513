// Editing keys of the text viewer. A line that grows past the window's width
// is broken again at blanks; the part cut off runs on into the next line of
// the same paragraph (or a new line), so that lines stay within the window.

#include <algorithm>

#include "console/line_split.h"
#include "console/viewer_model.h"

namespace console {
namespace {

void pad_to(std::string& text, std::size_t length) {
  if (text.size() < length) text.append(length - text.size(), ' ');
}

}  // namespace

// Cuts `line` and the lines after it while they are longer than the width.
// The cut-off rest goes to the front of the following wrapped line, or into a
// new line when the cut line ended a paragraph. The cursor follows its byte;
// the caller puts it back inside the window.
void ViewerModel::rebreak_from(std::size_t line) {
  while (line <= lines_.size() && line_length(line) > width_) {
    std::string text = line_text(line);
    const std::size_t cut = wrap_cut(text, width_);
    if (cut >= text.size()) break;  // only a trailing blank past the edge
    std::string rest = text.substr(cut);
    text.resize(cut);
    const bool continues = lines_.soft(line - 1) && line < lines_.size();
    set_line(line, std::move(text));
    lines_.set_soft(line - 1, true);
    if (line_ == line && column_ - 1 >= cut) {
      line_ = line + 1;
      column_ -= cut;
    } else if (continues && line_ == line + 1) {
      column_ += rest.size();
    } else if (!continues && line_ > line) {
      ++line_;
    }
    if (continues) {
      set_line(line + 1, rest + line_text(line + 1));
    } else {
      lines_.insert(line, std::move(rest), false);
    }
    ++line;
  }
}

// After typing in the window's last column the cursor moves on to the next
// line of the paragraph (a new wrapped line when there is none), so that the
// following characters keep their order.
void ViewerModel::break_at_window_edge() {
  if (column_ <= width_) {
    place_cursor(line_, column_);
    return;
  }
  if (!lines_.soft(line_ - 1) || line_ == lines_.size()) {
    lines_.insert(line_, std::string(), lines_.soft(line_ - 1));
    lines_.set_soft(line_ - 1, true);
  }
  place_cursor(line_ + 1, 1);
}

void ViewerModel::type(unsigned char ch) {
  edited();
  std::string text = line_text(line_);
  const std::size_t at = column_ - 1;
  pad_to(text, at);
  if (insert_ || at >= text.size()) {
    text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), static_cast<char>(ch));
  } else {
    text[at] = static_cast<char>(ch);
  }
  const bool too_long = text.size() > width_;
  set_line(line_, std::move(text));
  ++column_;
  if (too_long) rebreak_from(line_);
  break_at_window_edge();
}

void ViewerModel::enter() {
  edited();
  if (insert_) {
    std::string text = line_text(line_);
    const std::size_t at = std::min(column_ - 1, text.size());
    std::string tail = text.substr(at);
    text.resize(at);
    const bool soft = lines_.soft(line_ - 1);
    set_line(line_, std::move(text));
    lines_.set_soft(line_ - 1, false);
    lines_.insert(line_, std::move(tail), soft);
  } else if (line_ == lines_.size()) {
    lines_.set_soft(line_ - 1, false);
    lines_.append(std::string());
  }
  place_cursor(line_ + 1, 1);
}

void ViewerModel::backspace() {
  if (column_ > 1) {
    std::string text = line_text(line_);
    const std::size_t at = column_ - 2;
    if (at < text.size()) {
      edited();
      text.erase(at, 1);
      set_line(line_, std::move(text));
    }
    move_to_column(column_ - 1);
    return;
  }
  if (line_ == 1) return;
  edited();
  std::string joined = line_text(line_ - 1);
  const std::size_t join_column = joined.size() + 1;
  joined += line_text(line_);
  lines_.set_soft(line_ - 2, lines_.soft(line_ - 1));
  set_line(line_ - 1, std::move(joined));
  lines_.erase(line_ - 1);
  line_ -= 1;
  column_ = join_column;
  rebreak_from(line_);
  place_cursor(line_, column_);
}

void ViewerModel::del() {
  if (selection_.active) {
    delete_selection();
    return;
  }
  std::string text = line_text(line_);
  const std::size_t at = column_ - 1;
  if (at < text.size()) {
    edited();
    text.erase(at, 1);
    set_line(line_, std::move(text));
    return;
  }
  if (line_ == lines_.size()) return;
  edited();
  pad_to(text, at);
  text += line_text(line_ + 1);
  lines_.set_soft(line_ - 1, lines_.soft(line_));
  set_line(line_, std::move(text));
  lines_.erase(line_);
  rebreak_from(line_);
  place_cursor(line_, column_);
}

// Tab works only left of the last seven columns: it inserts three blanks in
// insert mode or on the line's last byte, and moves three columns right.
void ViewerModel::tab() {
  if (column_ + 6 >= wrap_column()) return;
  const std::size_t length = line_length(line_);
  if (insert_ || column_ == length) {
    edited();
    std::string text = line_text(line_);
    pad_to(text, column_ - 1);
    text.insert(column_ - 1, 3, ' ');
    const bool too_long = text.size() > width_;
    set_line(line_, std::move(text));
    if (too_long) rebreak_from(line_);
  }
  place_cursor(line_, column_ + 3);
}

void ViewerModel::delete_line() {
  edited();
  if (line_ == lines_.size()) {
    set_line(line_, std::string());
    lines_.set_soft(line_ - 1, false);
  } else {
    // The line above runs on into the next line only if the deleted one did.
    if (line_ > 1) lines_.set_soft(line_ - 2, lines_.soft(line_ - 2) && lines_.soft(line_ - 1));
    lines_.erase(line_ - 1);
  }
  place_cursor(line_, column_);
}

void ViewerModel::delete_word_right() {
  std::string text = line_text(line_);
  const std::size_t at = column_ - 1;
  if (at >= text.size()) return;
  edited();
  std::size_t stop = at;
  while (stop < text.size() && text[stop] != ' ') ++stop;
  while (stop < text.size() && text[stop] == ' ') ++stop;
  text.erase(at, stop - at);
  set_line(line_, std::move(text));
}

// The new line ends the paragraph above it, so the lines keep their places.
void ViewerModel::insert_line_above() {
  edited();
  if (line_ > 1) lines_.set_soft(line_ - 2, false);
  lines_.insert(line_ - 1, std::string(), false);
  place_cursor(line_, column_);
}

void ViewerModel::unwrap_all() {
  edited();
  for (std::size_t i = 0; i < lines_.size(); ++i) lines_.set_soft(i, false);
}

}  // namespace console
