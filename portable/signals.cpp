#include "portable/signals.h"

#include <signal.h>

#include <csignal>

namespace portable {
namespace {

volatile std::sig_atomic_t break_flag = 0;
void (*restore_on_crash)() = nullptr;

extern "C" void on_break_signal(int) { break_flag = 1; }

extern "C" void on_crash_signal(int signal_number) {
  if (restore_on_crash != nullptr) restore_on_crash();
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

}  // namespace

void catch_break_requests() {
  struct sigaction on_break {};
  on_break.sa_handler = on_break_signal;
  sigemptyset(&on_break.sa_mask);
  for (int s : {SIGHUP, SIGTERM, SIGINT}) sigaction(s, &on_break, nullptr);
}

bool take_break_request() {
  if (!break_flag) return false;
  break_flag = 0;
  return true;
}

bool break_requested() { return break_flag != 0; }

void request_break() { break_flag = 1; }

void ignore_broken_pipes() { std::signal(SIGPIPE, SIG_IGN); }

void on_crash(void (*restore)()) {
  restore_on_crash = restore;
  for (int s : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) std::signal(s, on_crash_signal);
}

int signal_number(Signal signal) {
  switch (signal) {
    case Signal::hang_up: return SIGHUP;
    case Signal::terminate: return SIGTERM;
    case Signal::interrupt: return SIGINT;
    case Signal::segmentation_fault: return SIGSEGV;
    case Signal::kill: return SIGKILL;
  }
  return SIGTERM;
}

bool send_signal(int process_id, Signal signal) {
  return ::kill(static_cast<pid_t>(process_id), signal_number(signal)) == 0;
}

bool process_exists(int process_id) { return ::kill(static_cast<pid_t>(process_id), 0) == 0; }

struct InterruptIgnored::Saved {
  struct sigaction previous {};
};

InterruptIgnored::InterruptIgnored() : saved_(std::make_unique<Saved>()) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGINT, &ignore, &saved_->previous);
}

InterruptIgnored::~InterruptIgnored() { sigaction(SIGINT, &saved_->previous, nullptr); }

}  // namespace portable
