#pragma once
// The process's signals, in the terms the program needs: requests from
// outside to end it (hang-up, termination, interrupt), crashes, and a window
// in which the interrupt key belongs to a command the program runs.

#include <memory>

namespace portable {

// From now on, a hang-up, termination or interrupt request only raises the
// break flag; the program decides when to act on it.
void catch_break_requests();
// True once after a request arrived (or request_break was called).
bool take_break_request();
bool break_requested();
// Raises the break flag from the program itself (the terminal went away).
void request_break();

// From now on, writing into a pipe that nobody reads any more fails with an
// error the writer sees, instead of ending the process at once (the
// broken-pipe signal) with the terminal left as the program had set it.
// Programs the process starts get the signal's default handling back.
void ignore_broken_pipes();

// On a crash signal (segmentation fault, abort, bus error, arithmetic or
// illegal instruction), `restore` runs and the process then ends as the
// signal would have ended it. `restore` must be safe to call from a signal
// handler as far as the program can manage (it restores the terminal).
void on_crash(void (*restore)());

// Signals the program sends to others (tests stop or crash the program).
enum class Signal { hang_up, terminate, interrupt, segmentation_fault, kill };
// The system's number of the signal (a process ended by it exits with 128
// plus that number in a shell).
int signal_number(Signal signal);
// False when the process does not exist or may not be signalled.
bool send_signal(int process_id, Signal signal);
bool process_exists(int process_id);

// While one lives, the interrupt signal does not reach the program, so that
// a command it runs in the foreground can be interrupted alone.
class InterruptIgnored {
 public:
  InterruptIgnored();
  ~InterruptIgnored();
  InterruptIgnored(const InterruptIgnored&) = delete;
  InterruptIgnored& operator=(const InterruptIgnored&) = delete;

 private:
  struct Saved;
  std::unique_ptr<Saved> saved_;
};

}  // namespace portable
