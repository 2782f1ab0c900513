#pragma once

// The place in the program's source of each binding call. The binding layer
// hands it to an observer that the program installs before the entry is
// looked up and run, so that a call that fails (a library that cannot be
// loaded, a missing entry) can be reported at the line of that call. The
// binding itself knows nothing of how the program records it.

#include <concepts>
#include <source_location>

#include "binding/argument.h"

namespace binding {

// Told the place of every binding call before the call is made.
using CallSiteObserver = void (*)(const std::source_location& call_site);

// Installs the observer (nullptr: none) and returns the one it replaces. The
// program has one thread that calls the library through the binding.
CallSiteObserver set_call_site_observer(CallSiteObserver observer);

// Hands `call_site` to the installed observer, if any.
void notify_call_site(const std::source_location& call_site);

// The first argument of a binding call together with the place of the call.
// A variadic function cannot end in a defaulted std::source_location, so the
// place is taken where the first argument is converted: that conversion's
// default argument is filled in at the call. A routine that makes the call
// for its own caller passes the caller's place explicitly:
//
//   DROVANEXIS_GETVALUE(binding::FirstArg(handle, caller), index);
class FirstArg {
 public:
  template <typename Value>
  requires std::constructible_from<Arg, const Value&> FirstArg(
      const Value& value, std::source_location call_site = std::source_location::current())
      : arg_(value), call_site_(call_site) {}

  const Arg& arg() const { return arg_; }
  const std::source_location& call_site() const { return call_site_; }

 private:
  Arg arg_;
  std::source_location call_site_;
};

}  // namespace binding
