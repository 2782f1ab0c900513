#include "console/error_record.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace console {
namespace {

struct CodeText {
  int code;
  std::string_view text;
};

constexpr std::array<CodeText, 35> kStandardDescriptions = {{
    {0, "Unknown error"},
    {1, "Argument error"},
    {2, "Bound error"},
    {3, "String overflow"},
    {4, "Numeric overflow"},
    {5, "Zero divisor"},
    {6, "Numeric error"},
    {7, "Syntax error"},
    {8, "Operation too complex"},
    {11, "Memory low"},
    {12, "Undefined function"},
    {13, "No exported method"},
    {14, "Variable does not exist"},
    {15, "Alias does not exist"},
    {16, "No exported variable"},
    {17, "Illegal characters in alias"},
    {18, "Alias already in use"},
    {20, "Create error"},
    {21, "Open error"},
    {22, "Close error"},
    {23, "Read error"},
    {24, "Write error"},
    {25, "Print error"},
    {30, "Operation not supported"},
    {31, "Limit exceeded"},
    {32, "Corruption detected"},
    {33, "Data type error"},
    {34, "Data width error"},
    {35, "Workarea not in use"},
    {36, "Workarea not indexed"},
    {37, "Exclusive required"},
    {38, "Lock required"},
    {39, "Write not allowed"},
    {40, "Append lock failed"},
    {41, "Lock Failure"},
}};

}  // namespace

std::string_view standard_description(int code) {
  for (const CodeText& entry : kStandardDescriptions) {
    if (entry.code == code) return entry.text;
  }
  return "";
}

ErrorArgument ErrorArgument::number(double value) {
  std::array<char, 64> buffer{};
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (ec != std::errc()) return {'N', "?"};
  return {'N', std::string(buffer.data(), end)};
}

ErrorRecord ErrorRecord::raised_here(int code, std::string subsystem, int subcode) {
  ErrorRecord record;
  record.generic_code = code;
  record.subsystem = std::move(subsystem);
  record.subcode = subcode;
  record.description = std::string(standard_description(code));
  record.locate(CallStack::innermost_first());
  return record;
}

void ErrorRecord::locate(const std::vector<Frame>& innermost_first) {
  callers.clear();
  if (innermost_first.empty()) return;
  routine = innermost_first.front().name;
  line = innermost_first.front().line;
  module = innermost_first.front().module;
  callers.assign(innermost_first.begin() + 1, innermost_first.end());
}

std::string error_message(const ErrorRecord& record) {
  std::string message = record.severity > 1 ? "Error " : "Warning ";
  message += record.subsystem.value_or("???");
  message += record.subcode ? "/" + std::to_string(*record.subcode) : "/???";
  if (record.description) message += "  " + *record.description;
  if (!record.file_name.empty()) {
    message += ": " + record.file_name;
  } else if (!record.operation.empty()) {
    message += ": " + record.operation;
  }
  if (record.arguments) message += " Arguments: (" + argument_text(*record.arguments) + ")";
  return message;
}

std::string dos_error_text(int os_code) { return "(DOS Error " + std::to_string(os_code) + ")"; }

std::string argument_text(const std::vector<ErrorArgument>& arguments) {
  std::string text;
  int index = 1;
  for (const ErrorArgument& argument : arguments) {
    char number[16];
    std::snprintf(number, sizeof number, "%2d", index++);
    text += " [";
    text += number;
    text += "] = Type: ";
    text += argument.type;
    if (argument.type != 'U' && argument.value) text += " Val: " + *argument.value;
  }
  return text;
}

}  // namespace console
