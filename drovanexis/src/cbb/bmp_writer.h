#pragma once

#include <string>

#include "cbb/qr_matrix.h"

namespace drovanexis::cbb {

// The QR symbol as a monochrome Windows bitmap (BITMAPINFOHEADER, 1 bit per
// pixel, palette black and white, rows bottom-up and padded to 4 bytes):
// each module `module_pixels` square, surrounded by `margin_modules` light
// modules of quiet zone.
std::string render_bmp(const QrMatrix& matrix, int module_pixels, int margin_modules);

// The side of that bitmap in pixels.
int bitmap_side(const QrMatrix& matrix, int module_pixels, int margin_modules);

}  // namespace drovanexis::cbb
