#pragma once
// The run-time error handler. A raiser fills an error record and hands it to
// the current handler, which either resolves it or ends the program:
//
//   console::ErrorRecord e = console::ErrorRecord::raised_here(
//       console::generic_code::zero_divisor, "BASE", 1340);
//   double result = console::raise_error(e).value;   // 0: division by zero gives 0
//
// Resolved without a word: a zero divisor (substitute 0), a lock failure
// that can be retried (retry), an open error with a sharing violation or an
// append-lock failure that allows a default (default, and the network-error
// flag is set). Anything else is shown in the error dialog with the buttons
// "Quit", "Retry" (can retry) and "Default" (can default); Retry and Default
// resolve, Quit reports the error on the console and in "error.log" and ends
// the program with exit code 1 by throwing ProgramEnd, which main() turns
// into the exit code once the terminal has been given back.
//
// An error while the handler runs (the dialog or the log failing, or a
// raiser calling it again) appends a record to "trace.log", shows
// "Error system failure!" and ends the program with exit code 1.

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "console/console.h"
#include "console/error_log.h"
#include "console/error_record.h"

namespace console {

struct Resolution {
  enum class Kind { retry, use_default, substitute };
  Kind kind = Kind::retry;
  double value = 0;  // for substitute
  friend bool operator==(const Resolution&, const Resolution&) = default;
};

// Thrown by the handler to end the program. It is not a std::exception, so
// that handlers of ordinary errors let it pass. `report` is the console
// report, for the terminal once it is given back.
struct ProgramEnd {
  int exit_code = 1;
  std::string report;
};

class ErrorHandler {
 public:
  // `con` may be null: then no dialog is shown (as if Quit were chosen) and
  // the log has no screen dump.
  explicit ErrorHandler(Console* con, ErrorLogSetting log = {},
                        std::string trace_file = "trace.log");

  // Resolves the error or ends the program (throws ProgramEnd; Cancelled
  // when the user cancels in the dialog).
  Resolution handle(const ErrorRecord& record);
  // Reports an error that nobody can repeat or complete any more (one that
  // escaped an operation): dialog with "Quit" only, report, log, end.
  [[noreturn]] void report_fatal(const ErrorRecord& record);

  // Set when a sharing or lock conflict was resolved with a default.
  bool network_error() const { return network_error_; }

 private:
  std::optional<Resolution> resolve_quietly(const ErrorRecord& record);
  std::optional<Resolution> ask_user(const ErrorRecord& record);
  [[noreturn]] void end_program(const ErrorRecord& record);
  [[noreturn]] void fail_inside_handler(const ErrorRecord& record, const std::string& cause);
  template <typename Step>
  auto guarded(Step step);

  Console* con_;
  ErrorLogSetting log_;
  std::string trace_file_;
  bool running_ = false;
  bool network_error_ = false;
};

// The current handler (install once at start-up, before MAIN).
void install_error_handler(ErrorHandler* handler);
ErrorHandler* current_error_handler();

// Hands the record to the current handler; without one installed, throws
// RuntimeError carrying the record.
Resolution raise_error(const ErrorRecord& record);

// The console report of an error: the message (with " (DOS Error N)" when
// there is an OS code), an empty line, "Error at ...: R(L) in Module: M" and
// one "Called from : ..." line per caller; lines joined by `line_break`.
std::string console_report(const ErrorRecord& record, std::string_view line_break);

// A record for a failure of the invoicing library, from the failure's text
// (which quotes the library file and, for a missing entry, the entry):
// subsystem "DROVANEXIS", subcode 1001 with generic code 21 when the library
// cannot be loaded, 1002 with generic code 12 when it lacks an entry, 1003
// otherwise; the text is the description.
ErrorRecord library_error_record(std::string_view what);

// What ends the program: its exit code, text for the terminal and text for
// the error output, to be written once the terminal has been given back.
struct ProgramOutcome {
  int exit_code = 0;
  std::string output;
  std::string error_output;
};

// Turns an exception that escaped the program's body into an error record,
// or nullopt to use the default (subsystem "BASE", the text as description).
using ExceptionTranslator = std::function<std::optional<ErrorRecord>(const std::exception&)>;

// Runs the program's body under the handler: an exception that escapes it
// becomes an error record and is reported (dialog, console, "error.log",
// exit code 1); a cancel gives its "Cancelled at: " lines for the error
// output; an unrecoverable error is appended to "error.log" and gives its
// line for the error output. Nothing escapes.
ProgramOutcome run_program(ErrorHandler& handler, const std::function<void()>& body,
                           const ExceptionTranslator& translate = {});

// Subcode of an exception of the program that escaped an operation.
constexpr int escaped_exception_subcode = 9000;

}  // namespace console
