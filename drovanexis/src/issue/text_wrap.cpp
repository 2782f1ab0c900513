#include "issue/text_wrap.h"

namespace drovanexis {

namespace {

bool is_continuation_byte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t character_count(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += is_continuation_byte(c) ? 0 : 1;
  return count;
}

// Byte offset just past the first `characters` characters (the text's size
// when it has no more than that). Reads only as far as it needs to, so that
// wrapping a long text costs time in proportion to its length.
std::size_t byte_offset(std::string_view text, std::size_t characters) {
  std::size_t i = 0;
  for (std::size_t seen = 0; i < text.size(); ++i) {
    if (!is_continuation_byte(text[i]) && seen++ == characters) break;
  }
  return i;
}

}  // namespace

std::vector<std::string> wrap_text(std::string_view first_prefix, std::string_view text,
                                   std::size_t width) {
  std::vector<std::string> lines;
  const std::string indent(character_count(first_prefix), ' ');
  std::string_view prefix = first_prefix;
  const std::size_t room = width > indent.size() + 10 ? width - indent.size() : 10;
  do {
    std::size_t cut = byte_offset(text, room);
    if (cut < text.size()) {
      const std::size_t blank = text.substr(0, cut + 1).rfind(' ');
      if (blank != std::string_view::npos && blank > 0) cut = blank;
    }
    std::string line = std::string(prefix) + std::string(text.substr(0, cut));
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(std::move(line));
    text.remove_prefix(cut);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    prefix = indent;
  } while (!text.empty());
  return lines;
}

std::string clip_log_text(std::string_view text) {
  const std::size_t end = byte_offset(text, kLogTextLimit);
  if (end == text.size()) return std::string(text);
  const std::size_t cut_characters = character_count(text.substr(end));
  return std::string(text.substr(0, end)) + " [... " + std::to_string(cut_characters) +
         " caracteres más]";
}

}  // namespace drovanexis
