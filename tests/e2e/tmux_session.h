#pragma once
// Runs a program in a real terminal for end-to-end tests: a detached tmux
// session on a private server, one pane of a fixed size, TERM tmux-256color.
// Tests send keys, wait for texts (polling with a deadline, never fixed
// sleeps), read the screen and the colours of cells, and read the program's
// exit code and error output. The tmux server is killed in the destructor.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/test_folder.h"

namespace e2e {

// A cell's colours in the program's own numbering (1 blue, 2 green, 4 red).
struct CellColour {
  int foreground = 7;
  int background = 0;
  bool bright = false;
  bool blink = false;
  friend bool operator==(const CellColour&, const CellColour&) = default;
};
std::ostream& operator<<(std::ostream& out, const CellColour& colour);

// One row of `capture-pane -e -p` output split into characters (UTF-8) with
// their colours.
struct StyledRow {
  std::vector<std::string> characters;
  std::vector<CellColour> colours;
};
StyledRow parse_styled_row(std::string_view line);
// Every row of a whole `capture-pane -e -N -p` output. tmux sends a colour
// only where it changes, also from one row to the next, so the colours in
// force at the end of a row carry over to the start of the next one.
std::vector<StyledRow> parse_styled_screen(std::string_view capture);

// The rows of a screen (UTF-8, trailing blanks cut off) as one text, each row
// padded to `columns` characters, so that a text that runs from the end of
// one row into the next (a long file name in a report) is found whole.
std::string join_screen_rows(const std::vector<std::string>& rows, int columns);

using namespace std::chrono_literals;

class TmuxSession {
 public:
  struct Options {
    std::filesystem::path working_dir;
    std::vector<std::pair<std::string, std::string>> environment;
    std::filesystem::path program = std::filesystem::path(CFDI_BINARY_DIR) / "bin" / "cfdi-demo";
    int columns = 80;
    int rows = 25;
  };

  explicit TmuxSession(Options options);
  ~TmuxSession();
  TmuxSession(const TmuxSession&) = delete;
  TmuxSession& operator=(const TmuxSession&) = delete;

  // Keys by tmux name ("Down", "Enter", "Escape", "M-c", "7").
  void send_keys(const std::vector<std::string>& keys);
  // Literal text, character by character.
  void send_text(std::string_view text);

  // The screen as `rows` lines of text (UTF-8), trailing blanks kept off.
  std::vector<std::string> screen() const;
  std::string screen_dump() const;
  CellColour colour_at(int row, int column) const;

  // Waits until the text appears anywhere on the screen (also when it runs
  // on from the end of one row into the next) / at row and column.
  ::testing::AssertionResult wait_for_text(std::string_view text,
                                           std::chrono::milliseconds deadline = 10s);
  ::testing::AssertionResult wait_for_text_at(int row, int column, std::string_view text,
                                              std::chrono::milliseconds deadline = 10s);
  // Waits until `condition` holds, describing it as `what` on failure.
  ::testing::AssertionResult wait_until(const std::function<bool()>& condition,
                                        std::string_view what,
                                        std::chrono::milliseconds deadline = 10s);

  // The program's exit code once it has ended; nullopt on timeout.
  std::optional<int> wait_for_exit(std::chrono::milliseconds deadline = 10s);
  bool has_exited() const;
  // Process id of the program (it writes it before it starts).
  int program_pid(std::chrono::milliseconds deadline = 10s);
  // What the program wrote to its error output.
  std::string error_output() const;
  // `stty -a` of the terminal taken right after the program ended.
  std::string terminal_modes_after_exit() const;
  // A tmux format value of the pane, e.g. "#{alternate_on}".
  std::string pane_format(std::string_view format) const;

 private:
  std::string tmux(const std::vector<std::string>& arguments) const;

  Options options_;
  std::string socket_;
  std::filesystem::path files_;
};

// A fresh temporary folder, removed with its contents at the end.
using TemporaryFolder = test_support::TemporaryFolder;

}  // namespace e2e
