#include "console/clipboard.h"

#include "portable/cp1252.h"
#include "portable/terminal.h"

namespace console {
namespace {

std::string base64(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned n = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += kAlphabet[(n >> 6) & 63];
    out += kAlphabet[n & 63];
  }
  if (i < bytes.size()) {
    unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += (i + 1 < bytes.size()) ? kAlphabet[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

// A terminal that is gone takes nothing: the clipboard still holds the text.
void write_to_terminal(std::string_view sequence) { portable::write_to_terminal(sequence); }

}  // namespace

Clipboard::Clipboard() : sink_(write_to_terminal) {}

Clipboard& Clipboard::instance() {
  static Clipboard clipboard;
  return clipboard;
}

// The program's texts are Windows-1252; the terminal's clipboard holds UTF-8,
// so the offer is converted while the program's own copy keeps its bytes.
void Clipboard::set_text(std::string text) {
  text_ = std::move(text);
  if (!sink_ || text_.size() > max_terminal_offer) return;
  const std::string utf8 = portable::cp1252_to_utf8(text_);
  if (utf8.size() <= max_terminal_offer) sink_(osc52_sequence(utf8));
}

std::string osc52_sequence(std::string_view text) { return "\x1b]52;c;" + base64(text) + "\x07"; }

}  // namespace console
