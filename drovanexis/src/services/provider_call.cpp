#include "services/provider_call.h"

#include "issue/provider.h"

namespace drovanexis::services {

ServiceReport report_to(ServiceLog& log) {
  return {[&log](std::string_view text) { log.step(text); },
          [&log](std::string_view text) { log.error(text); }};
}

std::string failure_reason(const std::exception& error) {
  if (const auto* unavailable = dynamic_cast<const ProviderUnavailable*>(&error)) {
    return unavailable->reason();
  }
  return error.what();
}

}  // namespace drovanexis::services
