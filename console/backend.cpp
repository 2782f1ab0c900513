#include "console/backend.h"

#include <string>

namespace console {

InputEvent HeadlessBackend::read_event() {
  if (events_.empty()) {
    throw OutOfKeys("the headless console ran out of queued keys after " +
                    std::to_string(read_count_) +
                    " key(s): the code under test waited for one more key");
  }
  InputEvent event = events_.front();
  events_.pop_front();
  ++read_count_;
  return event;
}

std::optional<InputEvent> HeadlessBackend::poll_event() {
  if (events_.empty()) return std::nullopt;
  return read_event();
}

}  // namespace console
