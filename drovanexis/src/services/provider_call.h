#pragma once

#include <exception>
#include <string>

#include "issue/cancellation_services.h"
#include "services/service_files.h"

// What the services share in talking to the provider.
namespace drovanexis::services {

// The provider's steps and refusals, as lines of the service's log.
ServiceReport report_to(ServiceLog& log);

// The reason a request failed, for its log and result file: for a provider
// that cannot be reached, what stood in the way.
std::string failure_reason(const std::exception& error);

}  // namespace drovanexis::services
