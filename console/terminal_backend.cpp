#include "console/terminal_backend.h"

#include <curses.h>
#include <langinfo.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "console/glyphs.h"
#include "console/keys.h"
#include "portable/signals.h"
#include "portable/terminal.h"

namespace console {
namespace {

volatile std::sig_atomic_t curses_active = 0;

// Our colour numbers (1 blue, 4 red) in the terminal's order (1 red, 4 blue).
constexpr short kCursesColour[8] = {COLOR_BLACK, COLOR_BLUE,    COLOR_GREEN,  COLOR_CYAN,
                                    COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};

// Pair 0 is white on black (set with assume_default_colors); every other
// combination has its own pair.
short pair_for(int foreground, int background) {
  return static_cast<short>(background * 8 + (foreground ^ 7));
}

// First wait for a further byte of an escape sequence, in milliseconds.
constexpr int kEscapeDelayMs = 25;
// Input is polled so that a break signal is noticed while waiting.
constexpr int kPollMs = 100;

// Runs on a crash signal: the terminal is given back before the process ends.
void restore_terminal_on_crash() {
  if (curses_active) endwin();
}

void ensure_utf8_locale() {
  std::setlocale(LC_ALL, "");
  const char* codeset = nl_langinfo(CODESET);
  if (codeset == nullptr || std::strcmp(codeset, "UTF-8") != 0) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
  }
}

}  // namespace

TerminalBackend::TerminalBackend() {
  if (!portable::input_is_terminal() || !portable::output_is_terminal()) {
    throw TerminalError("cfdi-demo must run in a terminal (standard input and output)");
  }
  ensure_utf8_locale();
  set_escdelay(kEscapeDelayMs);
  if (newterm(nullptr, stdout, stdin) == nullptr) {
    const char* term = std::getenv("TERM");
    throw TerminalError(std::string("cannot use the terminal of type \"") +
                        (term ? term : "(unset)") + "\"");
  }
  active_ = true;
  curses_active = 1;
  install_signal_handlers();
  raw();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  meta(stdscr, TRUE);
  scrollok(stdscr, FALSE);
  if (has_colors()) {
    start_color();
    assume_default_colors(COLOR_WHITE, COLOR_BLACK);
    for (int background = 0; background < 8; ++background) {
      for (int foreground = 0; foreground < 8; ++foreground) {
        short pair = pair_for(foreground, background);
        if (pair != 0 && pair < COLOR_PAIRS) {
          init_pair(pair, kCursesColour[foreground], kCursesColour[background]);
        }
      }
    }
  }
  mousemask(0, nullptr);
  mouseinterval(0);
  learn_modified_keys();
  timeout(kPollMs);
}

TerminalBackend::~TerminalBackend() { restore(); }

void TerminalBackend::restore() {
  if (!active_) return;
  active_ = false;
  curses_active = 0;
  curs_set(1);
  endwin();
}

void TerminalBackend::install_signal_handlers() {
  portable::catch_break_requests();
  portable::ignore_broken_pipes();
  portable::on_crash(restore_terminal_on_crash);
}

void TerminalBackend::learn_modified_keys() {
  int next_code = KEY_MAX + 1;
  for (const ModifiedKey& modified : modified_keys()) {
    std::vector<std::string> sequences;
    for (std::string_view name : modified.terminfo_names) {
      char* value = tigetstr(const_cast<char*>(std::string(name).c_str()));
      if (value != nullptr && value != reinterpret_cast<char*>(-1)) sequences.emplace_back(value);
    }
    for (std::string_view sequence : modified.sequences) sequences.emplace_back(sequence);
    for (const std::string& sequence : sequences) {
      int code = key_defined(sequence.c_str());
      if (code <= 0) {
        code = next_code++;
        if (define_key(sequence.c_str(), code) != OK) continue;
      }
      // A sequence the entry already knows as a plain key keeps its meaning.
      if (code > KEY_MAX || !learnt_.contains(code)) learnt_.emplace(code, modified.code);
    }
  }
}

void TerminalBackend::draw_cell(int row, int column, const Cell& cell) {
  wchar_t text[2] = {static_cast<wchar_t>(glyph_for(cell)), L'\0'};
  attr_t attributes = A_NORMAL;
  if (cell.attr & attr::bright) attributes |= A_BOLD;
  if (cell.attr & attr::blink) attributes |= A_BLINK;
  short pair =
      has_colors() ? pair_for(attr::foreground(cell.attr), attr::background(cell.attr)) : 0;
  if (pair >= COLOR_PAIRS) pair = 0;
  cchar_t character;
  setcchar(&character, text, attributes, pair, nullptr);
  mvadd_wch(row, column, &character);
}

void TerminalBackend::present(const Screen& screen) {
  if (!active_) return;
  const bool full =
      !shown_ || shown_->rows() != screen.rows() || shown_->columns() != screen.columns();
  for (int r = 0; r < screen.rows() && r < LINES; ++r) {
    for (int c = 0; c < screen.columns() && c < COLS; ++c) {
      const Cell cell = screen.cell(r, c);
      if (full || !(shown_->cell(r, c) == cell)) draw_cell(r, c, cell);
    }
  }
  shown_ = screen;
  const int shape = screen.cursor_shape();
  curs_set(shape == cursor_shape::hidden ? 0 : (shape == cursor_shape::normal ? 1 : 2));
  const int row =
      std::clamp(screen.cursor_row(), 0, std::max(0, std::min(screen.rows(), LINES) - 1));
  const int column =
      std::clamp(screen.cursor_column(), 0, std::max(0, std::min(screen.columns(), COLS) - 1));
  move(row, column);
  refresh();
}

std::optional<InputEvent> TerminalBackend::translate(int status, int value) {
  if (status == KEY_CODE_YES && value == KEY_RESIZE) {
    clearok(curscr, TRUE);
    if (shown_) {
      Screen again = *shown_;
      shown_.reset();
      present(again);
    }
    return std::nullopt;
  }
  if (status == KEY_CODE_YES && value == KEY_MOUSE) {
    MEVENT mouse{};
    if (getmouse(&mouse) != OK) return std::nullopt;
    InputEvent event{InputEvent::Kind::mouse, 0, mouse.y, mouse.x,
                     (mouse.bstate & (BUTTON1_CLICKED | BUTTON1_PRESSED)) != 0};
    return event;
  }
  if (status == OK && value == 27) {
    // Esc followed at once by a letter is Alt+letter; an escape sequence
    // the terminal description does not know is dropped whole, so that an
    // unknown key does nothing instead of typing its bytes.
    timeout(0);
    wint_t next = 0;
    const int next_status = get_wch(&next);
    std::optional<InputEvent> result;
    bool consumed = false;
    if (next_status == OK && next == L'[') {
      drop_sequence_rest(true);
      consumed = true;
    } else if (next_status == OK && next == L'O' && drop_sequence_rest(false)) {
      consumed = true;
    } else if (next_status == OK) {
      if (auto alt = alt_key_from_character(static_cast<int>(next))) {
        result = InputEvent{InputEvent::Kind::key, *alt};
      } else {
        unget_wch(static_cast<wchar_t>(next));
      }
    } else if (next_status == KEY_CODE_YES) {
      ungetch(static_cast<int>(next));
    }
    timeout(kPollMs);
    if (consumed) return std::nullopt;
    if (result) return result;
  }
  auto code =
      key_from_terminal(TerminalKey{status == KEY_CODE_YES, static_cast<int>(value)}, learnt_);
  if (!code) return std::nullopt;
  return InputEvent{InputEvent::Kind::key, *code};
}

bool TerminalBackend::drop_sequence_rest(bool control_sequence) {
  // Reads with no wait: the bytes of a sequence arrive together.
  wint_t byte = 0;
  bool dropped = false;
  while (get_wch(&byte) == OK) {
    dropped = true;
    // A control sequence ends with a byte from '@' to '~'; the other kind is
    // one byte long.
    if (!control_sequence || (byte >= 0x40 && byte <= 0x7E)) break;
  }
  return dropped;
}

InputEvent TerminalBackend::read_event() {
  while (true) {
    if (portable::take_break_request()) {
      return InputEvent{InputEvent::Kind::key, key::break_request};
    }
    if (!active_) throw TerminalError("the terminal is no longer available");
    wint_t value = 0;
    const int status = get_wch(&value);
    if (status == ERR) {
      // No input within the poll interval; a terminal that has gone away
      // (hang-up) is treated as a break request.
      if (!portable::input_is_terminal()) portable::request_break();
      continue;
    }
    if (auto event = translate(status, static_cast<int>(value))) return *event;
  }
}

std::optional<InputEvent> TerminalBackend::poll_event() {
  if (!active_ || portable::break_requested()) return std::nullopt;
  // A resize or an unknown sequence is no event; what follows it may be.
  std::optional<InputEvent> event;
  while (!event) {
    timeout(0);
    wint_t value = 0;
    const int status = get_wch(&value);
    if (status == ERR) break;
    event = translate(status, static_cast<int>(value));
  }
  timeout(kPollMs);
  return event;
}

void TerminalBackend::set_mouse_reporting(bool on) {
  if (!active_) return;
  mousemask(on ? (BUTTON1_CLICKED | BUTTON1_PRESSED) : 0, nullptr);
}

TerminalSize TerminalBackend::size() const {
  if (!active_) return {};
  return TerminalSize{LINES, COLS};
}

void TerminalBackend::suspend() {
  if (!active_) return;
  def_prog_mode();
  endwin();
}

void TerminalBackend::resume() {
  if (!active_) return;
  reset_prog_mode();
  clearok(curscr, TRUE);
  // Whatever the command left on the terminal is replaced by our grid.
  if (shown_) {
    Screen again = *shown_;
    shown_.reset();
    present(again);
  }
}

}  // namespace console
