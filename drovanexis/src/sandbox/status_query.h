#pragma once

#include <string>
#include <string_view>

#include "sandbox/cancellation_rules.h"
#include "sandbox/mexico_time.h"

namespace drovanexis::sandbox {

struct StatusRequest {
  std::string user;
  CfdiDescription cfdi;
  // The SAT's public query: anyone may ask, so no account is checked.
  bool public_query = false;
};

// Results of query_status.
inline constexpr int kInForceCancellable = 2;
inline constexpr int kInForceNotCancellable = 1;
inline constexpr int kCancellationPending = 0;
inline constexpr int kPreviouslyCancelled = -1;
inline constexpr int kStatusNotFound = -2;
inline constexpr int kStatusInternalError = -3;

// Answers with the CFDI's status in the state file (Estado, EsCancelable,
// EstatusCancelacion and CodigoEstatus of the SAT's status service). A
// request whose acceptance period ended is settled first. Always writes
// `result_file` (key=value lines) and `log_file`. Never throws.
int query_status(const StatusRequest& request, std::string_view result_file,
                 std::string_view log_file, Clock::time_point now = Clock::now()) noexcept;

}  // namespace drovanexis::sandbox
