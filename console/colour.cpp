#include "console/colour.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "console/screen.h"

namespace console {
namespace {

std::vector<std::string_view> split_items(std::string_view text) {
  std::vector<std::string_view> items;
  std::size_t start = 0;
  while (true) {
    std::size_t comma = text.find(',', start);
    items.push_back(
        text.substr(start, comma == std::string_view::npos ? text.npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return items;
}

int letter_bits(char upper) {
  switch (upper) {
    case 'B': return 1;
    case 'G': return 2;
    case 'R': return 4;
    default: return 0;
  }
}

// State of one item while it is read character by character.
struct ItemParse {
  int foreground = 0;
  int background = 0;
  bool bright = false;
  bool blink = false;
  bool underline_fg = false;
  bool underline_bg = false;
  bool in_background = false;
  bool slash_seen = false;
  bool counted = false;

  int& target() { return in_background ? background : foreground; }
  // The underline mark belongs to the blue that "U" set: any later colour of
  // the same part replaces it, so that the text form reads back the same.
  void set_part_colour(int colour) {
    target() = colour;
    (in_background ? underline_bg : underline_fg) = false;
  }

  void letter(char upper) {
    (in_background ? underline_bg : underline_fg) = false;
    if (upper == 'W')
      target() = 7;
    else if (upper == 'N')
      target() = 0;
    else
      target() |= letter_bits(upper);
  }
  void slash() {
    if (slash_seen) {
      foreground = background;
      background = 0;
      underline_fg = underline_bg;
      underline_bg = false;
    }
    slash_seen = true;
    in_background = true;
  }
  void number(int n) {
    if (n > 15) return;
    set_part_colour(n & 7);
    if (n >= 8) (in_background ? blink : bright) = true;
    counted = true;
  }
  void underline() {
    target() = 1;
    (in_background ? underline_bg : underline_fg) = true;
  }
  void black_on(int new_background) {
    foreground = 0;
    background = new_background;
    underline_fg = false;
    underline_bg = false;
  }
};

}  // namespace

ColourTable::ColourTable() { apply(initial); }

bool ColourTable::parse_item(std::string_view item, ColourValue& value) {
  ItemParse p;
  for (std::size_t i = 0; i < item.size(); ++i) {
    char ch = static_cast<char>(std::toupper(static_cast<unsigned char>(item[i])));
    if (std::isdigit(static_cast<unsigned char>(ch))) {
      int n = 0;
      while (i < item.size() && std::isdigit(static_cast<unsigned char>(item[i]))) {
        n = std::min(n * 10 + (item[i] - '0'), 1000);
        ++i;
      }
      --i;
      p.number(n);
      continue;
    }
    bool counts = true;
    switch (ch) {
      case 'W':
      case 'N':
      case 'B':
      case 'G':
      case 'R': p.letter(ch); break;
      case '+': p.bright = true; break;
      case '*': p.blink = true; break;
      case '/': p.slash(); break;
      case 'I':
        p.black_on(7);
        p.in_background = true;
        break;
      case 'U': p.underline(); break;
      case 'X': p.black_on(0); break;
      default: counts = false; break;
    }
    p.counted = p.counted || counts;
  }
  if (!p.counted) return false;
  value.attr = attr::make(p.foreground, p.background, p.bright, p.blink);
  value.foreground_underline = p.underline_fg;
  value.background_underline = p.underline_bg;
  return true;
}

void ColourTable::apply(std::string_view colour_string) {
  current_ = standard;
  if (colour_string.empty()) colour_string = initial;
  std::vector<std::string_view> items = split_items(colour_string);
  for (std::size_t i = 0; i < items.size() && i < slot_count; ++i) {
    ColourValue value;
    if (!parse_item(items[i], value)) continue;
    slots_[i] = value;
    if (i == enhanced) slots_[unselected] = value;
  }
}

namespace {
std::string part_to_string(int colour, bool underlined) {
  if (underlined) return "U";
  if (colour == 7) return "W";
  if (colour == 0) return "N";
  std::string letters;
  if (colour & 1) letters += 'B';
  if (colour & 2) letters += 'G';
  if (colour & 4) letters += 'R';
  return letters;
}
}  // namespace

std::string ColourTable::item_to_string(const ColourValue& value) {
  std::string text = part_to_string(attr::foreground(value.attr), value.foreground_underline);
  if (value.attr & attr::bright) text += '+';
  text += '/';
  text += part_to_string(attr::background(value.attr), value.background_underline);
  if (value.attr & attr::blink) text += '*';
  return text;
}

std::string ColourTable::to_string() const {
  std::string text;
  for (int i = 0; i < slot_count; ++i) {
    if (i > 0) text += ',';
    text += item_to_string(slots_[static_cast<std::size_t>(i)]);
  }
  return text;
}

void ColourTable::select(int index) {
  if (index >= 0 && index < slot_count) current_ = index;
}

}  // namespace console
