#pragma once
// The error log "error.log": the report of a fatal run-time error with the
// date and time, the machine, the console settings, the error itself, the
// call chain and a dump of the screen. Every line ends in CR LF.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"
#include "console/error_machine.h"
#include "console/error_record.h"

namespace console {

// Where the log goes: the file name and whether a new report goes before the
// older ones (append) or replaces the file.
struct ErrorLogSetting {
  std::string file_name = "error.log";
  bool append = false;
};

struct ErrorLogInput {
  const ErrorRecord* record = nullptr;
  // Settings and screen come from here; without a console the settings have
  // their start-up values and the screen dump is "not available".
  const Console* console = nullptr;
  MachineInfo machine;
  std::tm time{};
  ErrorLogSetting setting;
};

// The log's text.
std::string compose_error_log(const ErrorLogInput& input);

// The 70 "SET ..." lines (without line ends) for a console, or for the
// start-up values when `console` is null.
std::vector<std::string> setting_lines(const Console* console, const ErrorLogSetting& setting);

// `text` centred in a field of `width` characters filled with `fill`; the
// left side gets the smaller half of the fill.
std::string centred(std::string_view text, int width, char fill);

// "  1,234": a line number in 7 characters with a thousands comma.
std::string trace_line_number(int line);

// Writes the log for `record` now (the screen as it is now); returns the
// name of the file written, or nullopt when no file could be created under
// the setting's name nor under "error.log".
std::optional<std::string> write_error_log(const ErrorRecord& record, const Console* console,
                                           const ErrorLogSetting& setting = {});

}  // namespace console
