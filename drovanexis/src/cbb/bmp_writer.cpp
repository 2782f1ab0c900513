#include "cbb/bmp_writer.h"

#include <cstdint>

namespace drovanexis::cbb {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPaletteSize = 2 * 4;
constexpr std::uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;
// 2835 pixels per metre: 72 dots per inch.
constexpr std::uint32_t kPixelsPerMetre = 2835;

void put16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFFU));
  out.push_back(static_cast<char>((value >> 8U) & 0xFFU));
}

void put32(std::string& out, std::uint32_t value) {
  for (unsigned shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<char>((value >> shift) & 0xFFU));
  }
}

std::uint32_t row_stride(std::uint32_t side) { return (side + 31U) / 32U * 4U; }

void put_headers(std::string& out, std::uint32_t side) {
  const std::uint32_t image_size = row_stride(side) * side;
  out += "BM";
  put32(out, kPixelOffset + image_size);
  put32(out, 0);  // reserved
  put32(out, kPixelOffset);
  put32(out, kInfoHeaderSize);
  put32(out, side);  // width
  put32(out, side);  // positive height: rows stored bottom-up
  put16(out, 1);     // planes
  put16(out, 1);     // bits per pixel
  put32(out, 0);     // BI_RGB, no compression
  put32(out, image_size);
  put32(out, kPixelsPerMetre);
  put32(out, kPixelsPerMetre);
  put32(out, 2);           // colours used
  put32(out, 2);           // colours important
  put32(out, 0x00000000);  // index 0: black (blue, green, red, reserved)
  put32(out, 0x00FFFFFF);  // index 1: white
}

}  // namespace

int bitmap_side(const QrMatrix& matrix, int module_pixels, int margin_modules) {
  return (matrix.width + 2 * margin_modules) * module_pixels;
}

std::string render_bmp(const QrMatrix& matrix, int module_pixels, int margin_modules) {
  const auto side = static_cast<std::uint32_t>(bitmap_side(matrix, module_pixels, margin_modules));
  const std::uint32_t stride = row_stride(side);
  std::string out;
  out.reserve(kPixelOffset + stride * side);
  put_headers(out, side);
  std::string row(stride, '\0');
  // The last row of the picture is stored first.
  for (std::uint32_t y = side; y-- > 0;) {
    row.assign(stride, '\0');
    const int module_row = static_cast<int>(y) / module_pixels - margin_modules;
    for (std::uint32_t x = 0; x < side; ++x) {
      const int module_column = static_cast<int>(x) / module_pixels - margin_modules;
      const bool inside = module_row >= 0 && module_row < matrix.width && module_column >= 0 &&
                          module_column < matrix.width;
      const bool dark = inside && matrix.is_dark(module_column, module_row);
      if (!dark) row[x / 8U] = static_cast<char>(row[x / 8U] | (0x80U >> (x % 8U)));
    }
    out += row;
  }
  return out;
}

}  // namespace drovanexis::cbb
