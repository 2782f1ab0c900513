#include "console/call_stack.h"

#include <algorithm>
#include <exception>

namespace console {
namespace {

std::vector<Frame>& chain() {
  static std::vector<Frame> frames;
  return frames;
}

struct Unwinding {
  bool in_progress = false;
  std::vector<Frame> chain;  // innermost first
};

Unwinding& unwinding() {
  static Unwinding state;
  return state;
}

}  // namespace

std::string module_name(std::string_view file_path) {
  std::size_t slash = file_path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? file_path : file_path.substr(slash + 1));
}

const std::vector<Frame>& CallStack::frames() { return chain(); }

void CallStack::push(Frame frame) {
  forget_unwinding();
  chain().push_back(std::move(frame));
}

void CallStack::pop() {
  if (!chain().empty()) chain().pop_back();
}

void CallStack::note_line(const std::source_location& where) {
  if (chain().empty()) return;
  Frame& top = chain().back();
  if (top.module == module_name(where.file_name())) top.line = static_cast<int>(where.line());
}

std::vector<Frame> CallStack::innermost_first() {
  std::vector<Frame> frames = chain();
  std::reverse(frames.begin(), frames.end());
  return frames;
}

std::vector<Frame> CallStack::unwound_chain() { return unwinding().chain; }

void CallStack::note_unwinding() {
  Unwinding& state = unwinding();
  if (state.in_progress) return;
  state.in_progress = true;
  state.chain = innermost_first();
}

void CallStack::forget_unwinding() { unwinding() = Unwinding{}; }

FailureChain::FailureChain(const std::vector<Frame>& innermost_first) {
  if (innermost_first.empty()) return;
  live_ = std::move(chain());
  chain().assign(innermost_first.rbegin(), innermost_first.rend());
  replaced_ = true;
}

FailureChain::~FailureChain() {
  if (replaced_) chain() = std::move(live_);
}

RoutineFrame::RoutineFrame(std::string_view name, std::source_location where)
    : uncaught_on_entry_(std::uncaught_exceptions()) {
  CallStack::push(
      Frame{std::string(name), static_cast<int>(where.line()), module_name(where.file_name())});
}

RoutineFrame::RoutineFrame(std::string_view name, CalledFrom caller, std::source_location where)
    : uncaught_on_entry_(std::uncaught_exceptions()) {
  CallStack::note_line(caller.location);
  CallStack::push(
      Frame{std::string(name), static_cast<int>(where.line()), module_name(where.file_name())});
}

RoutineFrame::~RoutineFrame() {
  if (std::uncaught_exceptions() > uncaught_on_entry_) {
    CallStack::note_unwinding();
  } else {
    CallStack::forget_unwinding();
  }
  CallStack::pop();
}

}  // namespace console
