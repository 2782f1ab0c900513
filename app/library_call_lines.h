#pragma once
// While it lives, every call into the invoicing library records its line in
// the frame of the routine that makes it before the call runs, so that a call
// that fails (the library missing, an entry it lacks) shows in "Cancelled
// at:", "Called from" and error.log at its own line rather than at the
// routine's entry or its last key read. main() keeps one for the program's
// life; tests keep one for theirs.

#include "binding/call_site.h"

namespace app {

class LibraryCallLines {
 public:
  LibraryCallLines();
  ~LibraryCallLines();
  LibraryCallLines(const LibraryCallLines&) = delete;
  LibraryCallLines& operator=(const LibraryCallLines&) = delete;

 private:
  binding::CallSiteObserver previous_;
};

}  // namespace app
