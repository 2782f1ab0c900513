#include "console/clipboard.h"

#include <unistd.h>

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

void write_to_terminal(std::string_view sequence) {
  if (::isatty(STDOUT_FILENO) == 0) return;
  while (!sequence.empty()) {
    const ssize_t written = ::write(STDOUT_FILENO, sequence.data(), sequence.size());
    if (written <= 0) return;  // the terminal is gone: the clipboard still holds the text
    sequence.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace

Clipboard::Clipboard() : sink_(write_to_terminal) {}

Clipboard& Clipboard::instance() {
  static Clipboard clipboard;
  return clipboard;
}

void Clipboard::set_text(std::string text) {
  text_ = std::move(text);
  if (sink_ && text_.size() <= max_terminal_offer) sink_(osc52_sequence(text_));
}

std::string osc52_sequence(std::string_view text) { return "\x1b]52;c;" + base64(text) + "\x07"; }

}  // namespace console
