#pragma once
// Unrecoverable errors: failures that the run-time error handler cannot
// report itself (the console cannot be started, memory is exhausted, the
// error machinery failed). No dialog and no error log are shown or written:
// the text is appended to "error.log" and, once the terminal is given back,
// "Unrecoverable error N: text" goes to the error output; exit code 1.

#include <ostream>
#include <string>
#include <string_view>

namespace console {

namespace unrecoverable {
constexpr int console_start = 10001;  // "Can't allocate console" and its two variants
constexpr int memory_exhausted = 9001;
constexpr int error_machinery = 9002;
}  // namespace unrecoverable

// Thrown to end the program with an unrecoverable error. It is not a
// std::exception, so that handlers of ordinary errors let it pass.
struct UnrecoverableError {
  int number = 0;
  std::string text;
};

// The text of a console start-up failure: "Can't allocate console (output)"
// when standard output is no terminal, "(input)" when standard input is
// none, else "Can't allocate console".
std::string console_start_failure_text();

// Appends the text (and CR LF) to `log_name` where that can be done, and
// writes a line break and "Unrecoverable error N: text" with a line break to
// `error_output`. Returns the exit code, 1.
int report_unrecoverable(const UnrecoverableError& error, std::ostream& error_output,
                         std::string_view log_name = "error.log");

}  // namespace console
