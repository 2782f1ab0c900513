#include "console/line_split.h"

#include <algorithm>
#include <cstring>

namespace console {
namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kSoftBreakLead = '\x8d';  // byte 141, followed by LF

std::string drop_soft_breaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  for (;;) {
    std::size_t lead = text.find(kSoftBreakLead, start);
    while (lead != std::string_view::npos && (lead + 1 >= text.size() || text[lead + 1] != kLf)) {
      lead = text.find(kSoftBreakLead, lead + 1);
    }
    if (lead == std::string_view::npos) break;
    out.append(text.substr(start, lead - start));
    start = lead + 2;
  }
  out.append(text.substr(start));
  return out;
}

// Moves bytes [from, to) of `buf` down to `write`, leaving out every LF when
// `drop_lf` is set. Returns the new write position.
std::size_t compact(std::string& buf, std::size_t write, std::size_t from, std::size_t to,
                    bool drop_lf) {
  while (from < to) {
    std::size_t stop = to;
    if (drop_lf) {
      const void* lf = std::memchr(buf.data() + from, kLf, to - from);
      if (lf != nullptr) stop = static_cast<std::size_t>(static_cast<const char*>(lf) - buf.data());
    }
    if (write != from) std::memmove(buf.data() + write, buf.data() + from, stop - from);
    write += stop - from;
    from = stop + 1;
  }
  return write;
}

// Adds one piece (the bytes between two line breaks) as lines of the window's
// width. Every line but the piece's last runs on into the next one (soft);
// the last one ends with the line break, also when a cut took the whole rest
// of the piece (a piece of width + 1 bytes ending in a blank), so that joining
// the lines again keeps every hard break.
void add_piece(TextLines& lines, std::string_view buf, std::size_t start, std::size_t length,
               std::size_t width) {
  while (length > width) {
    const std::size_t cut = wrap_cut(buf.substr(start, length), width);
    const bool rest_follows = cut < length;
    lines.append_span(start, cut, rest_follows);
    start += cut;
    length -= cut;
    if (!rest_follows) return;
  }
  lines.append_span(start, length, false);
}

}  // namespace

std::size_t wrap_cut(std::string_view line, std::size_t width) {
  const std::size_t blank = line.substr(0, width + 1).rfind(' ');
  return (blank != std::string_view::npos && blank > 0) ? blank + 1 : width;
}

std::string_view choose_line_break(std::string_view text) {
  const bool has_cr = text.find(kCr) != std::string_view::npos;
  const bool has_lf = text.find(kLf) != std::string_view::npos;
  if (has_cr && !has_lf) return "\r";
  if (has_lf && !has_cr) return "\n";
  return "\r\n";  // CR directly before LF, no break at all, or another mix
}

std::string expand_tabs(std::string_view text) {
  if (text.find('\t') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size() + 16);
  for (char c : text) {
    if (c == '\t') {
      out.append(3, ' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

TextLines split_lines(std::string_view text, std::size_t width) {
  width = std::max<std::size_t>(width, 1);
  std::string buf = drop_soft_breaks(text);
  const std::string_view brk = choose_line_break(buf);
  const bool drop_lf = brk.size() == 2;
  const bool ends_with_break = std::string_view(buf).ends_with(brk);

  TextLines lines;
  std::size_t read = 0;
  std::size_t write = 0;
  while (read < buf.size()) {
    std::size_t next = std::string_view(buf).find(brk, read);
    if (next == std::string_view::npos) next = buf.size();
    const std::size_t piece_start = write;
    write = compact(buf, write, read, next, drop_lf);
    add_piece(lines, buf, piece_start, write - piece_start, width);
    read = next + brk.size();
  }
  if (ends_with_break || lines.empty()) lines.append_span(write, 0, false);
  buf.resize(write);
  lines.set_buffer(std::move(buf));
  lines.set_line_break(brk);
  return lines;
}

}  // namespace console
