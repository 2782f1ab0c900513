#include "console/viewer_draw.h"

#include <algorithm>
#include <string_view>

namespace console {
namespace {

bool column_selected(const ViewerModel& model, std::size_t line, std::size_t column) {
  const ViewerSelection& selection = model.selection();
  return selection.active && !selection.whole_lines && line == selection.first_line &&
         column >= selection.first_column && column < selection.end_column;
}

void draw_row(Screen& screen, const ViewerModel& model, const ViewerWindow& window, int row,
              std::size_t line, const ViewerColours& colours) {
  std::string_view text;
  if (line <= model.line_count()) text = model.lines().text(line - 1);
  const std::size_t skip = model.first_column() - 1;
  text = skip < text.size() ? text.substr(skip) : std::string_view();
  const bool whole_line = model.line_selected(line);
  for (int i = 0; i < window.columns(); ++i) {
    const std::size_t at = static_cast<std::size_t>(i);
    const std::size_t column = model.first_column() + at;
    const bool selected = whole_line || column_selected(model, line, column);
    Cell cell;
    cell.ch = at < text.size() ? static_cast<std::uint8_t>(text[at]) : ' ';
    cell.attr = selected ? colours.selected : colours.text;
    screen.set_cell(row, window.left + i, cell);
  }
}

}  // namespace

void draw_viewer(Screen& screen, const ViewerModel& model, const ViewerWindow& window,
                 const ViewerColours& colours) {
  const int shape = screen.cursor_shape();
  screen.set_cursor_shape(cursor_shape::hidden);
  const std::size_t text_rows = std::min(model.rows(), model.line_count());
  for (std::size_t i = 0; i < model.rows(); ++i) {
    const int row = window.top + static_cast<int>(i);
    if (i < text_rows) {
      draw_row(screen, model, window, row, model.first_line() + i, colours);
      continue;
    }
    for (int column = window.left; column <= window.right; ++column) {
      screen.set_cell(row, column, Cell{' ', colours.current, false});
    }
  }
  screen.set_cursor_shape(shape);
  screen.set_cursor(window.top + static_cast<int>(model.cursor_row()),
                    window.left + static_cast<int>(model.cursor_column()));
}

}  // namespace console
