#pragma once
// The character screen: a grid of cells (character byte, attribute byte and a
// frame-character flag) with a cursor. All drawing changes this grid; a
// backend shows it.

#include <cstdint>
#include <string>
#include <vector>

namespace console {

// Attribute byte: bits 0-2 foreground, bit 3 bright foreground, bits 4-6
// background, bit 7 blink. Colour numbers: 0 black, 1 blue, 2 green, 3 cyan,
// 4 red, 5 magenta, 6 brown, 7 white.
namespace attr {
constexpr std::uint8_t foreground_mask = 0x07;
constexpr std::uint8_t bright = 0x08;
constexpr std::uint8_t background_mask = 0x70;
constexpr std::uint8_t blink = 0x80;
constexpr std::uint8_t make(int foreground, int background, bool is_bright = false,
                            bool is_blink = false) {
  return static_cast<std::uint8_t>((foreground & 7) | ((background & 7) << 4) |
                                   (is_bright ? bright : 0) | (is_blink ? blink : 0));
}
constexpr int foreground(std::uint8_t a) { return a & foreground_mask; }
constexpr int background(std::uint8_t a) { return (a & background_mask) >> 4; }
}  // namespace attr

struct Cell {
  std::uint8_t ch = ' ';
  std::uint8_t attr = 0x07;
  bool frame = false;  // a frame-drawing character, shown as a line glyph
  friend bool operator==(const Cell&, const Cell&) = default;
};

// Cursor shapes: 0 hidden, 1 normal, 2 insert, 3 and 4 further block sizes.
namespace cursor_shape {
constexpr int hidden = 0;
constexpr int normal = 1;
constexpr int insert = 2;
constexpr int max = 4;
}  // namespace cursor_shape

class Screen {
 public:
  Screen(int rows = 25, int columns = 80);

  int rows() const { return rows_; }
  int columns() const { return columns_; }
  int last_row() const { return rows_ - 1; }
  int last_column() const { return columns_ - 1; }

  // Keeps the cells that lie in both the old and the new size; new cells are
  // blank white on black.
  void resize(int rows, int columns);

  bool contains(int row, int column) const {
    return row >= 0 && row < rows_ && column >= 0 && column < columns_;
  }
  // A cell outside the grid reads as a blank.
  Cell cell(int row, int column) const;
  // A cell outside the grid is dropped.
  void set_cell(int row, int column, Cell cell);
  void fill(Cell cell);

  // The characters of one row as bytes (attributes left out).
  std::string row_text(int row) const;
  const std::vector<Cell>& cells() const { return cells_; }

  int cursor_row() const { return cursor_row_; }
  // May lie past the last column after output.
  int cursor_column() const { return cursor_column_; }
  void set_cursor(int row, int column) {
    cursor_row_ = row;
    cursor_column_ = column;
  }
  int cursor_shape() const { return cursor_shape_; }
  void set_cursor_shape(int shape) { cursor_shape_ = shape; }

 private:
  int rows_;
  int columns_;
  std::vector<Cell> cells_;
  int cursor_row_ = 0;
  int cursor_column_ = 0;
  int cursor_shape_ = cursor_shape::normal;
};

}  // namespace console
