#pragma once

#include <string>
#include <string_view>

#include "sandbox/mexico_time.h"

namespace drovanexis::sandbox {

// The acknowledgement (Acuse) of a cancellation request for one UUID, as the
// ledger keeps it: Fecha with seven fractional digits and no zone, RfcEmisor,
// and one Folios element with the UUID and its EstatusUUID. Unsigned: the
// authority's signature is added when it is handed out.
std::string acuse_xml(std::string_view issuer_rfc, std::string_view uuid,
                      std::string_view status_code, std::string_view fecha);

// "yyyy-mm-ddThh:mm:ss.fffffff", central Mexico time.
std::string acuse_time(Clock::time_point when);

struct AcknowledgementRequest {
  std::string user;
  std::string issuer_rfc;
  std::string uuid;
};

// Results of retrieve_acknowledgement.
inline constexpr int kAcknowledgementObtained = 1;
inline constexpr int kAcknowledgementUnavailable = 0;
inline constexpr int kAcknowledgementError = -1;

// Looks up the acknowledgement of the UUID issued to the RFC in the state
// file; when there is one, writes it signed by the sandbox's authority to
// `acuse_file`. Always writes `result_file` (key=value lines) and
// `log_file`. Never throws.
int retrieve_acknowledgement(const AcknowledgementRequest& request, std::string_view result_file,
                             std::string_view acuse_file, std::string_view log_file,
                             Clock::time_point now = Clock::now()) noexcept;

}  // namespace drovanexis::sandbox
