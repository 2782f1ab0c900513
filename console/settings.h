#pragma once
// The console settings table: named switches and values that the console
// services consult. COLOR is not stored here: it is the colour table itself,
// read and changed through console::Console::setting / set_setting.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace console {

// A setting's value: a switch, a number or a text.
using SettingValue = std::variant<bool, int, std::string>;

class Settings {
 public:
  // Every setting name, COLOR included, in the table's order.
  static const std::vector<std::string_view>& names();

  Settings();

  // The value of a setting (name in any case); nullopt for an unknown name
  // and for COLOR, which lives in the colour table.
  std::optional<SettingValue> get(std::string_view name) const;
  // Changes a setting and returns its value before the change. A switch
  // takes a bool, or a text: "ON" (first two characters, any case) is on,
  // "OFF" (first three, any case) off, any other text changes nothing. A
  // number setting takes an int; a value of the wrong kind changes nothing.
  // nullopt for an unknown name.
  std::optional<SettingValue> set(std::string_view name, const SettingValue& value);

  bool scoreboard() const { return scoreboard_; }
  bool intensity() const { return intensity_; }
  bool wrap() const { return wrap_; }
  int message() const { return message_; }
  bool mcenter() const { return mcenter_; }
  bool cancel() const { return cancel_; }
  int eventmask() const { return eventmask_; }
  bool insert() const { return insert_; }

  // Text rule for switches: true/false, or nullopt when the text is neither.
  static std::optional<bool> switch_from_text(std::string_view text);

 private:
  bool* switch_named(std::string_view upper_name);
  int* number_named(std::string_view upper_name);

  bool scoreboard_ = true;
  bool intensity_ = true;
  bool wrap_ = false;
  int message_ = 0;
  bool mcenter_ = false;
  bool cancel_ = true;
  int eventmask_ = 128;
  bool insert_ = false;
};

// Event mask value that delivers keyboard events only.
constexpr int eventmask_keyboard_only = 128;

}  // namespace console
