#pragma once

// Calls one library entry with the caller's arguments, converted by the
// entry's parameter kinds, and converts its result back.

#include <cstdint>
#include <span>
#include <string>

#include "binding/argument.h"
#include "binding/entry_table.h"

namespace binding {

struct CallResult {
  std::int32_t integer = 0;  // the result of an Integer entry
  std::string text;          // a copy of the result of a Text entry ("" for a null result)
};

// Arguments are taken by position: a missing one is absent (a null pointer or
// 0), those beyond the entry's parameter count are not passed on. Throws
// LibraryError when the library cannot be loaded or lacks the entry.
CallResult call_entry(const Entry& entry, std::span<const Arg> args);

}  // namespace binding
