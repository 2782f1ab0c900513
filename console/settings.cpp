#include "console/settings.h"

#include <cctype>

namespace console {
namespace {

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& ch : result) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return result;
}

}  // namespace

const std::vector<std::string_view>& Settings::names() {
  static const std::vector<std::string_view> all = {"SCOREBOARD", "INTENSITY", "WRAP",
                                                    "MESSAGE",    "MCENTER",   "CANCEL",
                                                    "EVENTMASK",  "INSERT",    "COLOR"};
  return all;
}

Settings::Settings() = default;

std::optional<bool> Settings::switch_from_text(std::string_view text) {
  std::string u = upper(text);
  if (u.starts_with("ON")) return true;
  if (u.starts_with("OFF")) return false;
  return std::nullopt;
}

bool* Settings::switch_named(std::string_view name) {
  if (name == "SCOREBOARD") return &scoreboard_;
  if (name == "INTENSITY") return &intensity_;
  if (name == "WRAP") return &wrap_;
  if (name == "MCENTER") return &mcenter_;
  if (name == "CANCEL") return &cancel_;
  if (name == "INSERT") return &insert_;
  return nullptr;
}

int* Settings::number_named(std::string_view name) {
  if (name == "MESSAGE") return &message_;
  if (name == "EVENTMASK") return &eventmask_;
  return nullptr;
}

std::optional<SettingValue> Settings::get(std::string_view name) const {
  auto* self = const_cast<Settings*>(this);
  std::string u = upper(name);
  if (bool* flag = self->switch_named(u)) return SettingValue{*flag};
  if (int* number = self->number_named(u)) return SettingValue{*number};
  return std::nullopt;
}

std::optional<SettingValue> Settings::set(std::string_view name, const SettingValue& value) {
  std::string u = upper(name);
  if (bool* flag = switch_named(u)) {
    const bool previous = *flag;
    if (const bool* b = std::get_if<bool>(&value)) {
      *flag = *b;
    } else if (const std::string* text = std::get_if<std::string>(&value)) {
      if (auto parsed = switch_from_text(*text)) *flag = *parsed;
    }
    return SettingValue{previous};
  }
  if (int* number = number_named(u)) {
    const int previous = *number;
    if (const int* n = std::get_if<int>(&value)) *number = *n;
    return SettingValue{previous};
  }
  return std::nullopt;
}

}  // namespace console
