#include "binding/call_site.h"

namespace binding {
namespace {

CallSiteObserver& installed_observer() {
  static CallSiteObserver observer = nullptr;
  return observer;
}

}  // namespace

CallSiteObserver set_call_site_observer(CallSiteObserver observer) {
  CallSiteObserver previous = installed_observer();
  installed_observer() = observer;
  return previous;
}

void notify_call_site(const std::source_location& call_site) {
  if (CallSiteObserver observer = installed_observer()) observer(call_site);
}

}  // namespace binding
