// cfdi-demo: takes over the terminal, checks its size, runs MAIN and gives
// the terminal back on every way out.

#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>

#include "app/globals.h"
#include "app/library_call_lines.h"
#include "app/menu.h"
#include "binding/library_error.h"
#include "console/console.h"
#include "console/error_handler.h"
#include "console/error_unrecoverable.h"
#include "console/terminal_backend.h"

namespace {

constexpr int kRowsNeeded = 25;
constexpr int kColumnsNeeded = 80;

// A failure of the invoicing library names the library file and the entry.
std::optional<console::ErrorRecord> library_failure(const std::exception& error) {
  if (dynamic_cast<const binding::LibraryError*>(&error) == nullptr) return std::nullopt;
  return console::library_error_record(error.what());
}

bool terminal_large_enough(console::TerminalBackend& terminal) {
  const console::TerminalSize size = terminal.size();
  if (size.rows >= kRowsNeeded && size.columns >= kColumnsNeeded) return true;
  terminal.restore();
  std::fprintf(stderr,
               "cfdi-demo needs a terminal of at least %d columns by %d rows; "
               "this one has %d columns by %d rows.\n",
               kColumnsNeeded, kRowsNeeded, size.columns, size.rows);
  return false;
}

}  // namespace

int main() {
  std::optional<console::TerminalBackend> terminal;
  try {
    terminal.emplace();
  } catch (const console::TerminalError& e) {
    const int code = console::report_unrecoverable(
        {console::unrecoverable::console_start, console::console_start_failure_text()}, std::cerr);
    std::fprintf(stderr, "cfdi-demo: %s\n", e.what());
    return code;
  }
  if (!terminal_large_enough(*terminal)) return 1;

  console::Console con(*terminal, kRowsNeeded, kColumnsNeeded);
  app::set_con(&con);
  // Errors that escape MAIN are reported by the error handler (dialog,
  // console, error.log); what it has to say is shown again once the terminal
  // is given back, since the program's screen goes with it.
  console::ErrorHandler handler(&con);
  console::install_error_handler(&handler);
  const app::LibraryCallLines library_call_lines;
  const console::ProgramOutcome outcome = console::run_program(
      handler, [] { app::MAIN(); }, library_failure);
  console::install_error_handler(nullptr);
  app::set_con(nullptr);
  terminal->restore();
  std::fputs(outcome.output.c_str(), stdout);
  std::fputs(outcome.error_output.c_str(), stderr);
  return outcome.exit_code;
}
