#include "tools/cli/stop_signals.h"

#include <signal.h>

#include <atomic>

namespace cli {

namespace {

// Written by the handler, read by the run: a lock-free atomic is safe in a
// signal handler.
std::atomic<int> first_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);

struct sigaction previous_int {};
struct sigaction previous_term {};

extern "C" void note_stop_signal(int signal_number) {
  int expected = 0;
  if (first_signal.compare_exchange_strong(expected, signal_number)) return;
  // A second signal: end now, with the status the signal's default gives.
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

}  // namespace

StopSignals::StopSignals() {
  first_signal.store(0);
  struct sigaction action {};
  action.sa_handler = note_stop_signal;
  sigemptyset(&action.sa_mask);
  // Interrupted system calls resume: the run notices the signal between
  // documents, not in the middle of a write.
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, &previous_int);
  ::sigaction(SIGTERM, &action, &previous_term);
}

StopSignals::~StopSignals() {
  ::sigaction(SIGINT, &previous_int, nullptr);
  ::sigaction(SIGTERM, &previous_term, nullptr);
}

int StopSignals::received() const { return first_signal.load(); }

const char* signal_name(int signal_number) {
  switch (signal_number) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    default: return "a signal";
  }
}

}  // namespace cli
