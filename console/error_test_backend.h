#pragma once
// For the error handler's tests: a backend fed from a queue of events that
// keeps the screen as it was shown at each read, so that a test can look at a
// dialog after it has closed. A queued failure makes that read throw, as a
// broken terminal would.

#include <deque>
#include <optional>
#include <stdexcept>
#include <vector>

#include "console/backend.h"

namespace console::testing {

class SnapshotBackend final : public Backend {
 public:
  void push_key(int code) {
    queue_.push_back(Entry{InputEvent{InputEvent::Kind::key, code}, false});
  }
  void push_keys(std::initializer_list<int> codes) {
    for (int code : codes) push_key(code);
  }
  void push_click(int row, int column) {
    queue_.push_back(Entry{InputEvent{InputEvent::Kind::mouse, 0, row, column, true}, false});
  }
  void push_failure() { queue_.push_back(Entry{{}, true}); }
  std::size_t pending() const { return queue_.size(); }

  void present(const Screen& screen) override { shown_ = screen; }
  InputEvent read_event() override {
    if (shown_) at_reads_.push_back(*shown_);
    mouse_at_reads_.push_back(mouse_reporting_);
    if (queue_.empty()) throw OutOfKeys("the test queued too few keys");
    Entry entry = queue_.front();
    queue_.pop_front();
    if (entry.fail) throw std::runtime_error("the terminal stopped answering");
    return entry.event;
  }
  void set_mouse_reporting(bool on) override { mouse_reporting_ = on; }
  bool mouse_reporting() const { return mouse_reporting_; }
  TerminalSize size() const override { return {25, 80}; }
  void suspend() override {}
  void resume() override {}

  // The screen as shown at each read, in order.
  const std::vector<Screen>& at_reads() const { return at_reads_; }
  // Whether mouse reporting was on at each read, in order.
  const std::vector<bool>& mouse_at_reads() const { return mouse_at_reads_; }

 private:
  struct Entry {
    InputEvent event;
    bool fail = false;
  };
  std::deque<Entry> queue_;
  std::optional<Screen> shown_;
  std::vector<Screen> at_reads_;
  std::vector<bool> mouse_at_reads_;
  bool mouse_reporting_ = false;
};

}  // namespace console::testing
