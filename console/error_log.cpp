#include "console/error_log.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "portable/file_io.h"

namespace console {
namespace {

constexpr int kLogWidth = 79;
constexpr std::string_view kLineEnd = "\r\n";

std::string upper(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return text;
}

class LogText {
 public:
  void line(std::string_view text = "") {
    text_ += text;
    text_ += kLineEnd;
  }
  void labelled(std::string_view label, std::string_view value) {
    text_ += label;
    line(value);
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

std::string two_digits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value % 100);
  return text;
}

void write_heading_part(LogText& log, const ErrorLogInput& input) {
  const MachineInfo& m = input.machine;
  const std::tm& t = input.time;
  log.line(centred(" Quarndel Error Log ", kLogWidth, '-'));
  log.line();
  log.labelled("Date...............: ", two_digits(t.tm_mon + 1) + "/" + two_digits(t.tm_mday) +
                                            "/" + two_digits(t.tm_year));
  log.labelled("Time...............: ",
               two_digits(t.tm_hour) + ":" + two_digits(t.tm_min) + ":" + two_digits(t.tm_sec));
  log.line();
  // Text values are written in upper case, as every value of the log is.
  log.labelled("Application name...: ", upper(m.application));
  log.labelled("Workstation name...: ", upper(m.workstation));
  log.labelled("Available memory...: ", m.available_memory);
  log.labelled("Current disk.......: ", upper(m.current_disk));
  log.labelled("Current directory..: ", upper(m.current_directory));
  log.labelled("Free disk space....: ", m.free_disk_space);
  log.line();
  log.labelled("Operating system...: ", upper(m.operating_system));
  log.labelled("Quarndel version...: ", upper(m.version));
  log.labelled("Quarndel built on..: ", upper(m.built_on));
  log.labelled("C/C++ compiler.....: ", upper(m.compiler));
  log.labelled("Multi Threading....: ", "NO");
  log.labelled("VM Optimization....: ", m.optimisation_level);
  log.line();
  log.line("Current Area ......:1");
  log.line();
}

void write_settings_part(LogText& log, const ErrorLogInput& input) {
  log.line(centred(" Environmental Information ", kLogWidth, '-'));
  log.line();
  for (const std::string& line : setting_lines(input.console, input.setting)) log.line(line);
  log.line();
  log.line(centred("Detailed Work Area Items", kLogWidth, '-'));
  log.line();
  log.line();
}

void write_error_part(LogText& log, const ErrorRecord& e) {
  log.line(centred(" Internal Error Handling Information  ", kLogWidth, '-'));
  log.line();
  log.labelled("Subsystem Call ....: ", upper(e.subsystem.value_or("???")));
  log.labelled("System Code .......: ", e.subcode ? std::to_string(*e.subcode) : "???");
  log.labelled("Default Status ....: ", e.can_default ? ".T." : ".F.");
  log.labelled("Description .......: ", upper(e.description.value_or("")));
  log.labelled("Operation .........: ", upper(e.operation));
  log.labelled("Arguments .........: ", e.arguments ? upper(argument_text(*e.arguments)) : "");
  log.labelled("Involved File .....: ", upper(e.file_name));
  log.labelled("Dos Error Code ....: ", std::to_string(e.os_code));
  log.line();
}

std::string trace_line(const std::string& routine, int line, const std::string& module) {
  std::string padded = routine;
  if (padded.size() < 21) padded.resize(21, ' ');
  return padded + " : " + trace_line_number(line) + " in Module: " + module;
}

void write_trace_part(LogText& log, const ErrorRecord& e) {
  log.line(" Trace Through:");
  log.line("----------------");
  log.line(trace_line(e.routine, e.line, e.module));
  for (const Frame& frame : e.callers) log.line(trace_line(frame.name, frame.line, frame.module));
  log.line();
  log.line();
}

void write_screen_part(LogText& log, const Console* console) {
  if (console == nullptr) {
    log.line(" Video Screen Dump not available");
    return;
  }
  const Screen& screen = console->screen();
  const std::string rule = "+" + std::string(static_cast<std::size_t>(screen.columns()), '-') + "+";
  log.line(centred(" Video Screen Dump ", kLogWidth, '#'));
  log.line();
  log.line(rule);
  for (int row = 0; row < screen.rows(); ++row) log.line("|" + screen.row_text(row) + "|");
  log.line(rule);
  log.line();
  log.line();
}

bool same_name_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool try_write(const std::string& name, const std::string& report, bool append) {
  try {
    std::string bytes = report;
    if (append) {
      if (std::optional<std::string> older = portable::read_file(name)) bytes += *older;
    }
    portable::write_file_atomic(name, bytes);
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

std::tm local_time_now() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace

std::string centred(std::string_view text, int width, char fill) {
  const int length = static_cast<int>(text.size());
  if (length >= width) return std::string(text);
  const int left = (width - length) / 2;
  const int right = width - length - left;
  return std::string(static_cast<std::size_t>(left), fill) + std::string(text) +
         std::string(static_cast<std::size_t>(right), fill);
}

std::string trace_line_number(int line) {
  const std::string digits = std::to_string(line < 0 ? -static_cast<long long>(line) : line);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  if (line < 0) grouped = "-" + grouped;
  if (grouped.size() < 7) grouped = std::string(7 - grouped.size(), ' ') + grouped;
  return grouped;
}

std::string compose_error_log(const ErrorLogInput& input) {
  LogText log;
  write_heading_part(log, input);
  write_settings_part(log, input);
  write_error_part(log, *input.record);
  write_trace_part(log, *input.record);
  write_screen_part(log, input.console);
  return log.take();
}

std::optional<std::string> write_error_log(const ErrorRecord& record, const Console* console,
                                           const ErrorLogSetting& setting) {
  ErrorLogInput input;
  input.record = &record;
  input.console = console;
  input.machine = current_machine();
  input.time = local_time_now();
  input.setting = setting;
  const std::string report = compose_error_log(input);
  if (try_write(setting.file_name, report, setting.append)) return setting.file_name;
  const std::string fallback = "error.log";
  if (!same_name_ignoring_case(setting.file_name, fallback) &&
      try_write(fallback, report, setting.append)) {
    return fallback;
  }
  return std::nullopt;
}

}  // namespace console
