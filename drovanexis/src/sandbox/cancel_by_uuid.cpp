#include <exception>

#include "sandbox/cancellation.h"
#include "sandbox/ledger.h"
#include "sandbox/state_file.h"

namespace drovanexis::sandbox {

int cancel_uuid(CancellationRequest request, std::string_view result_file,
                std::string_view log_file, Clock::time_point now) noexcept {
  try {
    // Only the ledger's own copy of the document completes the request; an
    // unknown UUID or an unreadable state file is left for cancel_cfdi to
    // answer and log as it answers any request.
    const auto db = open_existing_state(default_state_path());
    if (const auto entry = find_ledger_entry(*db, request.cfdi.uuid)) {
      request.cfdi.receiver_rfc = entry->receiver_rfc;
      request.cfdi.total = entry->total;
    }
  } catch (const std::exception&) {
  }
  if (request.cfdi.total.empty()) request.cfdi.total.assign(1, '0');
  return cancel_cfdi(request, result_file, log_file, now);
}

}  // namespace drovanexis::sandbox
