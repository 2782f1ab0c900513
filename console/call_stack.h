#pragma once
// The call chain of the program's routines, for the "Cancelled at: " lines and
// the error report. A routine that can appear there declares a RoutineFrame
// on entry:
//
//   void VXMLSAMPLE() {
//     console::RoutineFrame frame("VXMLSAMPLE");
//     ...
//   }
//
// The frame records the routine's name, its source module and line. Each
// frame shows the line its routine is running: a routine that is called with
// its caller's place (RoutineFrame's CalledFrom, filled from a defaulted
// std::source_location parameter of the routine) moves the caller's line to
// that call, and RoutineFrame::at (or Console::read_key, which calls it)
// moves it to the statement being run; the program has each call into the
// invoicing library do the same before the call runs. The program has one
// thread, so the chain is one program-wide list.

#include <source_location>
#include <string>
#include <string_view>
#include <vector>

namespace console {

struct Frame {
  std::string name;
  int line = 0;
  std::string module;  // source file name without its folders
};

class CallStack {
 public:
  // Innermost routine last.
  static const std::vector<Frame>& frames();
  static void push(Frame frame);
  static void pop();
  // Sets the innermost frame's line when `where` lies in its module.
  static void note_line(const std::source_location& where);
  // Frames innermost first, the order of the reports.
  static std::vector<Frame> innermost_first();
  // The chain (innermost first) as it stood where the exception being
  // handled now left the routines it unwound; empty when none did. Entering
  // or leaving a routine normally forgets it.
  static std::vector<Frame> unwound_chain();
  // Called by a frame that an exception unwinds, before it is popped.
  static void note_unwinding();
  static void forget_unwinding();
};

// While it lives, the call chain is the chain of a failure (innermost first)
// instead of the live one: an error that has unwound its routines is shown
// in the chain where it happened, so that a cancel in the error dialog names
// that place. An empty chain keeps the live one.
class FailureChain {
 public:
  explicit FailureChain(const std::vector<Frame>& innermost_first);
  ~FailureChain();
  FailureChain(const FailureChain&) = delete;
  FailureChain& operator=(const FailureChain&) = delete;

 private:
  std::vector<Frame> live_;
  bool replaced_ = false;
};

// The place a routine was called from, for RoutineFrame.
struct CalledFrom {
  std::source_location location;
};

class RoutineFrame {
 public:
  explicit RoutineFrame(std::string_view name,
                        std::source_location where = std::source_location::current());
  // For a routine that knows where it was called from: the calling frame's
  // line becomes that of the call before this frame is pushed.
  RoutineFrame(std::string_view name, CalledFrom caller,
               std::source_location where = std::source_location::current());
  ~RoutineFrame();
  RoutineFrame(const RoutineFrame&) = delete;
  RoutineFrame& operator=(const RoutineFrame&) = delete;

  // Records the line being run in this routine.
  static void at(std::source_location where = std::source_location::current()) {
    CallStack::note_line(where);
  }

 private:
  int uncaught_on_entry_;
};

// "file.cpp" from "/path/to/file.cpp".
std::string module_name(std::string_view file_path);

}  // namespace console
