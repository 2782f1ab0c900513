#pragma once
// The platform layer: a backend shows the screen grid and delivers input
// events. TerminalBackend (terminal_backend.h) drives a real terminal;
// HeadlessBackend serves tests from a queue of key codes.

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "console/screen.h"

namespace console {

struct InputEvent {
  enum class Kind { key, mouse };
  Kind kind = Kind::key;
  int code = 0;  // key code (keys.h) for a key event
  int row = 0;   // for a mouse event
  int column = 0;
  bool left_click = false;
};

struct TerminalSize {
  int rows = 0;
  int columns = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Shows the grid and the cursor.
  virtual void present(const Screen& screen) = 0;
  // Waits for the next input event. A pending break request (terminal
  // hang-up, termination or interrupt signal) arrives as key::break_request.
  virtual InputEvent read_event() = 0;
  // Takes one input event that is already waiting, without waiting for one;
  // nullopt when none is. A pending break request is left for read_event.
  virtual std::optional<InputEvent> poll_event() { return std::nullopt; }
  // Mouse reporting is off unless someone needs clicks (the error dialog):
  // while it is on, the terminal's own text selection needs Shift.
  virtual void set_mouse_reporting(bool /*on*/) {}
  // The largest grid the display can show.
  virtual TerminalSize size() const = 0;
  // Hands the display back (to run a command) and takes it again.
  virtual void suspend() = 0;
  virtual void resume() = 0;
};

// Raised by HeadlessBackend::read_event when a test has not queued enough
// keys, so that the test fails with a message instead of hanging.
class OutOfKeys : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class HeadlessBackend final : public Backend {
 public:
  explicit HeadlessBackend(TerminalSize size = {25, 80}) : size_(size) {}

  void push_key(int code) { events_.push_back(InputEvent{InputEvent::Kind::key, code}); }
  void push_keys(std::initializer_list<int> codes) {
    for (int code : codes) push_key(code);
  }
  // Queues each byte of the text as the key of that character.
  void push_text(std::string_view text) {
    for (char ch : text) push_key(static_cast<unsigned char>(ch));
  }
  void push_event(const InputEvent& event) { events_.push_back(event); }
  std::size_t pending() const { return events_.size(); }

  void present(const Screen& screen) override {
    last_presented_ = screen;
    ++present_count_;
  }
  InputEvent read_event() override;
  std::optional<InputEvent> poll_event() override;
  void set_mouse_reporting(bool on) override { mouse_reporting_ = on; }
  bool mouse_reporting() const { return mouse_reporting_; }
  TerminalSize size() const override { return size_; }
  void set_size(TerminalSize size) { size_ = size; }
  void suspend() override { ++suspend_count_; }
  void resume() override { ++resume_count_; }

  // The grid as last shown (nullopt before the first present).
  const std::optional<Screen>& last_presented() const { return last_presented_; }
  int present_count() const { return present_count_; }
  int suspend_count() const { return suspend_count_; }
  int resume_count() const { return resume_count_; }

 private:
  TerminalSize size_;
  std::deque<InputEvent> events_;
  std::optional<Screen> last_presented_;
  int present_count_ = 0;
  int suspend_count_ = 0;
  int resume_count_ = 0;
  int read_count_ = 0;
  bool mouse_reporting_ = false;
};

}  // namespace console
