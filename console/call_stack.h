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
// The frame records the routine's name, its source module and line;
// RoutineFrame::at (or Console::read_key, which calls it) moves the line to
// the statement being run. The program has one thread, so the chain is one
// program-wide list.

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

class RoutineFrame {
 public:
  explicit RoutineFrame(std::string_view name,
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
