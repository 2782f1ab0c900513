// cfdi-demo: takes over the terminal, checks its size, runs MAIN and gives
// the terminal back on every way out.

#include <cstdio>
#include <exception>
#include <optional>
#include <string_view>

#include "app/globals.h"
#include "app/menu.h"
#include "console/console.h"
#include "console/terminal_backend.h"

namespace {

constexpr int kRowsNeeded = 25;
constexpr int kColumnsNeeded = 80;

// Ends the program after an error that escaped an operation: the terminal is
// given back first so that the message stays readable, then the message goes
// to the error output and the exit code is 1.
int end_after_error(console::TerminalBackend& terminal, std::string_view message) {
  terminal.restore();
  std::fprintf(stderr, "cfdi-demo: %.*s\n", static_cast<int>(message.size()), message.data());
  return 1;
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
    std::fprintf(stderr, "cfdi-demo: %s\n", e.what());
    return 1;
  }
  if (!terminal_large_enough(*terminal)) return 1;

  console::Console con(*terminal, kRowsNeeded, kColumnsNeeded);
  app::set_con(&con);
  try {
    app::MAIN();
  } catch (const console::Cancelled& cancelled) {
    terminal->restore();
    std::fputs(cancelled.report().c_str(), stderr);
    return 1;
  } catch (const std::exception& e) {
    return end_after_error(*terminal, e.what());
  } catch (...) {
    return end_after_error(*terminal, "an unknown error ended the program");
  }
  app::set_con(nullptr);
  terminal->restore();
  return 0;
}
