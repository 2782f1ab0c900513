#include "services/output_guard.h"

#include <stdexcept>

#include "issue/output_guard.h"

namespace drovanexis::services {

// The services follow the one rule every writer of the library follows; an
// absent name is left to the service, which reports it in its own terms.
void refuse_reserved_output(std::string_view output_file,
                            std::initializer_list<std::string_view> inputs) {
  if (output_file.empty()) return;
  try {
    refuse_unsafe_output(output_file, inputs);
  } catch (const UnsafeOutput& unsafe) {
    throw std::invalid_argument(unsafe.what());
  }
}

}  // namespace drovanexis::services
