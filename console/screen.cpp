#include "console/screen.h"

#include <algorithm>
#include <stdexcept>

namespace console {

Screen::Screen(int rows, int columns) : rows_(0), columns_(0) { resize(rows, columns); }

void Screen::resize(int rows, int columns) {
  if (rows <= 0 || columns <= 0) {
    throw std::invalid_argument("screen size must be positive, got " + std::to_string(rows) +
                                " x " + std::to_string(columns));
  }
  std::vector<Cell> resized(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
  for (int r = 0; r < std::min(rows, rows_); ++r) {
    for (int c = 0; c < std::min(columns, columns_); ++c) {
      resized[static_cast<std::size_t>(r * columns + c)] = cell(r, c);
    }
  }
  cells_ = std::move(resized);
  rows_ = rows;
  columns_ = columns;
}

Cell Screen::cell(int row, int column) const {
  if (!contains(row, column)) return Cell{};
  return cells_[static_cast<std::size_t>(row * columns_ + column)];
}

void Screen::set_cell(int row, int column, Cell cell) {
  if (!contains(row, column)) return;
  cells_[static_cast<std::size_t>(row * columns_ + column)] = cell;
}

void Screen::fill(Cell cell) { std::fill(cells_.begin(), cells_.end(), cell); }

std::string Screen::row_text(int row) const {
  std::string text;
  if (row < 0 || row >= rows_) return text;
  text.reserve(static_cast<std::size_t>(columns_));
  for (int c = 0; c < columns_; ++c) text.push_back(static_cast<char>(cell(row, c).ch));
  return text;
}

}  // namespace console
