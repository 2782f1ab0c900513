#pragma once
// The backend of the program: the process's terminal, driven by ncursesw.
//
// Colours: 8 colours with bright foreground (bold) and blink. Glyphs: bytes
// are Windows-1252 characters, frame cells box-drawing lines. Input: raw, no
// echo, mapped to our key codes. SIGHUP, SIGTERM and SIGINT only raise the
// break flag, which the next read turns into key::break_request; a crash
// signal restores the terminal and ends the process as the signal would.
// The terminal is restored by restore(), by the destructor and on a crash.

#include <memory>
#include <optional>
#include <stdexcept>

#include "console/backend.h"
#include "console/terminal_keys.h"

namespace console {

class TerminalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TerminalBackend final : public Backend {
 public:
  // Takes over the terminal on standard input and output; throws
  // TerminalError when there is none.
  TerminalBackend();
  ~TerminalBackend() override;
  TerminalBackend(const TerminalBackend&) = delete;
  TerminalBackend& operator=(const TerminalBackend&) = delete;

  void present(const Screen& screen) override;
  InputEvent read_event() override;
  std::optional<InputEvent> poll_event() override;
  void set_mouse_reporting(bool on) override;
  TerminalSize size() const override;
  void suspend() override;
  void resume() override;

  // Gives the terminal back in its normal state; safe to call more than once.
  void restore();

 private:
  void install_signal_handlers();
  void learn_modified_keys();
  std::optional<InputEvent> translate(int status, int value);
  void draw_cell(int row, int column, const Cell& cell);
  // Drops the rest of an unknown escape sequence; false when nothing followed.
  bool drop_sequence_rest(bool control_sequence);

  LearntKeys learnt_;
  std::optional<Screen> shown_;
  bool active_ = false;
};

}  // namespace console
