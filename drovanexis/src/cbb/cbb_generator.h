#pragma once

#include <string>
#include <string_view>

namespace drovanexis::cbb {

// What a CBB is made from. `text`, `bitmap_file` and `log_file` are UTF-8;
// the file names are Windows-style (".\QR.BMP", any letter case).
struct CbbRequest {
  std::string text;
  std::string bitmap_file;
  int mode = 0;  // 0: the text as given; 1: the SAT's verification address + text
  std::string log_file;
  int level = 1;           // error correction: 0 L, 1 M, 2 Q, 3 H
  int module_pixels = 4;   // side of one module in pixels
  int margin_modules = 4;  // light modules of quiet zone on each side
};

// Results of generate_cbb.
inline constexpr int kCbbGenerated = 0;
inline constexpr int kCbbBadArgument = 1;
inline constexpr int kCbbNotEncodable = 2;
inline constexpr int kCbbNotWritten = 3;

// The address the SAT's verification service answers at.
inline constexpr std::string_view kVerificationAddress =
    "https://verificacfdi.facturaelectronica.sat.gob.mx/default.aspx";

// The text the code holds for the request's mode: the text itself, or the
// verification address followed by the text as its query ("?" added when the
// text does not start with one).
std::string cbb_content(std::string_view text, int mode);

// Encodes the content in a QR code, writes the bitmap atomically and appends
// what was done, step by step, to the log (Windows-1252, CR LF), so that
// several calls naming one log all show there. Returns kCbbGenerated or the
// failure, which the log explains; never throws.
int generate_cbb(const CbbRequest& request) noexcept;

}  // namespace drovanexis::cbb
