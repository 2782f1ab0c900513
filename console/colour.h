#pragma once
// The colour table: five colour values (standard, enhanced, border,
// background, unselected) set from colour strings, and the current slot that
// output without an explicit colour uses.
//
// Colour string notation, one item per slot separated by ",":
//   W N B G R  foreground letters (B, G, R add their bit; W all; N none);
//              after "/" they work on the background
//   + bright   * blink   (before or after "/")
//   /          switch to the background; a second "/" moves the background
//              into the foreground and clears the background
//   I          black on white, then background mode
//   U          blue, marked underlined (foreground, or background after "/")
//   X          black on black
//   0-15       a colour number (8-15 also set bright, or blink after "/")
// Any other character is ignored. An item in which nothing counted leaves its
// slot unchanged; a given enhanced item also sets unselected (unless a fifth
// item follows); an empty string restores the initial table.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace console {

struct ColourValue {
  std::uint8_t attr = 0x07;
  bool foreground_underline = false;
  bool background_underline = false;
  friend bool operator==(const ColourValue&, const ColourValue&) = default;
};

class ColourTable {
 public:
  enum Slot { standard = 0, enhanced = 1, border = 2, background = 3, unselected = 4 };
  static constexpr int slot_count = 5;
  static constexpr std::string_view initial = "W/N,N/W,N/N,N/N,N/W";

  ColourTable();

  // Applies a colour string and makes standard the current slot.
  void apply(std::string_view colour_string);
  // The whole table as a colour string ("W/N,N/W,N/N,N/N,N/W" initially).
  std::string to_string() const;

  const ColourValue& slot(int index) const { return slots_.at(static_cast<std::size_t>(index)); }
  int current_slot() const { return current_; }
  // An index outside 0..4 is ignored.
  void select(int index);
  std::uint8_t current_attr() const { return slots_[static_cast<std::size_t>(current_)].attr; }

  // Parses one item; returns false when no character of it counted.
  static bool parse_item(std::string_view item, ColourValue& value);
  static std::string item_to_string(const ColourValue& value);

 private:
  std::array<ColourValue, slot_count> slots_{};
  int current_ = standard;
};

}  // namespace console
