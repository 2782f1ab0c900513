// The "SET ..." lines of the error log. Settings that the console has are
// read from it; the others are facilities this program does not have and
// show fixed values.

#include <array>
#include <cctype>
#include <variant>

#include "console/error_log.h"

namespace console {
namespace {

enum class Source { console, cursor, errorlog, fixed };

struct SettingLine {
  std::string_view name;
  bool is_switch;  // shown as ON/OFF, otherwise a logical shows as .T./.F.
  Source source;
  SettingValue fixed{false};
};

SettingValue text(std::string_view value) { return SettingValue{std::string(value)}; }

const std::array<SettingLine, 70>& setting_table() {
  static const std::array<SettingLine, 70> table = {{
      {"ALTERNATE", true, Source::fixed, false},
      {"ALTFILE", false, Source::fixed, text("")},
      {"AUTOPEN", true, Source::fixed, true},
      {"AUTORDER", false, Source::fixed, 0},
      {"AUTOSHARE", false, Source::fixed, 0},
      {"BACKGROUNDTASKS", true, Source::fixed, false},
      {"BACKGROUNDTICK", false, Source::fixed, 1000},
      {"BELL", true, Source::fixed, false},
      {"BLINK", false, Source::fixed, true},
      {"CANCEL", true, Source::console},
      {"CENTURY", true, Source::fixed, false},
      {"COLOR", false, Source::console},
      {"CONFIRM", true, Source::fixed, false},
      {"CONSOLE", true, Source::fixed, true},
      {"COUNT", false, Source::fixed, 0},
      {"CURSOR", false, Source::cursor},
      {"DATE FORMAT", false, Source::fixed, text("MM/DD/YY")},
      {"DBFLOCKSCHEME", false, Source::fixed, 0},
      {"DEBUG", true, Source::fixed, false},
      {"DECIMALS", false, Source::fixed, 2},
      {"DEFAULT", false, Source::fixed, text("")},
      {"DEFEXTENSIONS", true, Source::fixed, true},
      {"DELETED", true, Source::fixed, false},
      {"DELIMCHARS", false, Source::fixed, text("::")},
      {"DELIMETERS", true, Source::fixed, false},
      {"DEVICE", false, Source::fixed, text("SCREEN")},
      {"DIRCASE", false, Source::fixed, 0},
      {"DIRSEPARATOR", false, Source::fixed, text("/")},
      {"EOL", false, Source::fixed, 13},
      {"EPOCH", false, Source::fixed, 1900},
      {"ERRORLOG", false, Source::errorlog},
      {"ERRORLOOP", false, Source::fixed, 8},
      {"ESCAPE", true, Source::fixed, true},
      {"EVENTMASK", false, Source::console},
      {"EXACT", true, Source::fixed, false},
      {"EXCLUSIVE", true, Source::fixed, true},
      {"EXIT", true, Source::fixed, false},
      {"EXTRA", true, Source::fixed, false},
      {"EXTRAFILE", false, Source::fixed, text("")},
      {"FILECASE", false, Source::fixed, 0},
      {"FIXED", true, Source::fixed, false},
      {"FORCEOPT", true, Source::fixed, false},
      {"HARDCOMMIT", true, Source::fixed, true},
      {"IDLEREPEAT", true, Source::fixed, true},
      {"INSERT", true, Source::console},
      {"INTENSITY", true, Source::console},
      {"LANGUAGE", false, Source::fixed, text("EN")},
      {"MARGIN", false, Source::fixed, 0},
      {"MBLOCKSIZE", false, Source::fixed, 64},
      {"MCENTER", true, Source::console},
      {"MESSAGE", false, Source::console},
      {"MFILEEXT", false, Source::fixed, text("")},
      {"OPTIMIZE", true, Source::fixed, true},
      {"OUTPUTSAFETY", true, Source::fixed, true},
      {"PATH", false, Source::fixed, text("")},
      {"PRINTER", true, Source::fixed, false},
      {"PRINTERJOB", false, Source::fixed, text("")},
      {"PRINTFILE", false, Source::fixed, text("")},
      {"SCOREBOARD", true, Source::console},
      {"SCROLLBREAK", true, Source::fixed, true},
      {"SOFTSEEK", true, Source::fixed, false},
      {"STRICTREAD", true, Source::fixed, false},
      {"TRACE", true, Source::fixed, true},
      {"TRACEFILE", false, Source::fixed, text("TRACE.LOG")},
      {"TRACESTACK", false, Source::fixed, text("ALL")},
      {"TRIMFILENAME", false, Source::fixed, false},
      {"TYPEAHEAD", false, Source::fixed, 50},
      {"UNIQUE", true, Source::fixed, false},
      {"VIDEOMODE", false, Source::fixed, 0},
      {"WRAP", true, Source::console},
  }};
  return table;
}

std::string label(std::string_view name) {
  std::string text = "SET " + std::string(name);
  if (text.size() < 19) text.resize(19, '.');
  return text + ": ";
}

std::string value_text(const SettingValue& value, bool is_switch) {
  if (const bool* flag = std::get_if<bool>(&value)) {
    if (is_switch) return *flag ? "ON" : "OFF";
    return *flag ? ".T." : ".F.";
  }
  if (const int* number = std::get_if<int>(&value)) return std::to_string(*number);
  std::string upper = std::get<std::string>(value);
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return upper;
}

// A console setting's value; the start-up value when there is no console.
SettingValue console_value(const Console* console, std::string_view name) {
  if (console != nullptr) {
    if (std::optional<SettingValue> value = console->setting(name)) return *value;
  }
  if (name == "COLOR") return text(ColourTable::initial);
  static const Settings start_up;
  return start_up.get(name).value_or(SettingValue{false});
}

}  // namespace

std::vector<std::string> setting_lines(const Console* console, const ErrorLogSetting& setting) {
  std::vector<std::string> lines;
  for (const SettingLine& entry : setting_table()) {
    SettingValue value = entry.fixed;
    switch (entry.source) {
      case Source::console: value = console_value(console, entry.name); break;
      case Source::cursor:
        value = console ? console->screen().cursor_shape() : cursor_shape::normal;
        break;
      case Source::errorlog:
        value = text(setting.file_name + "," + (setting.append ? ".T." : ".F."));
        break;
      case Source::fixed: break;
    }
    lines.push_back(label(entry.name) + value_text(value, entry.is_switch));
  }
  return lines;
}

}  // namespace console
