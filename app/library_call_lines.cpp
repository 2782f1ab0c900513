#include "app/library_call_lines.h"

#include "console/call_stack.h"

namespace app {

// CallStack::note_line moves the innermost frame's line only when the call
// lies in that routine's module: a call made in a helper shared by several
// operations (another module) leaves the operation's frame at the line of
// its call of the helper, which names the operation's own step.
LibraryCallLines::LibraryCallLines()
    : previous_(binding::set_call_site_observer(&console::CallStack::note_line)) {}

LibraryCallLines::~LibraryCallLines() { binding::set_call_site_observer(previous_); }

}  // namespace app
