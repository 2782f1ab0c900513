#pragma once

#include <stdexcept>
#include <string_view>
#include <vector>

namespace drovanexis::cbb {

// A failure to make a CBB: the text names what could not be done.
class CbbError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class ErrorCorrection { kLow = 0, kMedium = 1, kQuartile = 2, kHigh = 3 };

// The modules of one QR symbol, without quiet zone: width × width, row by row
// from the top, true for a dark module.
struct QrMatrix {
  int version = 0;
  int width = 0;
  std::vector<bool> dark;

  bool is_dark(int column, int row) const {
    return dark[static_cast<std::size_t>(row * width + column)];
  }
};

// Encodes the bytes (UTF-8 text) in 8-bit mode, in the smallest version that
// holds them at the given error correction. Throws CbbError when the text is
// empty or too long for any QR version.
QrMatrix encode_qr(std::string_view text, ErrorCorrection level);

}  // namespace drovanexis::cbb
