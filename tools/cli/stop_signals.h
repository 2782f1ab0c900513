#pragma once

namespace cli {

// While an object of this class lives, SIGINT and SIGTERM ask the run to
// stop instead of ending the process: the first one is only noted, so that
// the run can finish or undo what it has in hand, clear up and say what it
// did; a second one ends the process at once, as the signal's default
// action does. The previous handlers come back when the object ends. One
// object at a time: the note is the process's, as signals are.
class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // The first signal received (SIGINT or SIGTERM), or 0.
  int received() const;
};

// "SIGINT", "SIGTERM", or "a signal" for any other.
const char* signal_name(int signal_number);

}  // namespace cli
