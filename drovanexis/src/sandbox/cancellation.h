#pragma once

#include <string>
#include <string_view>

#include "sandbox/cancellation_rules.h"
#include "sandbox/mexico_time.h"

namespace drovanexis::sandbox {

// A cancellation request: who asks, the CFDI, and the issuer's CSD with its
// key and password.
struct CancellationRequest {
  std::string user;
  CfdiDescription cfdi;
  std::string certificate_file;
  std::string key_file;
  std::string key_password;
};

// Results of cancel_cfdi.
inline constexpr int kCancelledDirectly = 0;
inline constexpr int kCancellationInProcess = 1;  // the receiver must accept
inline constexpr int kNotCancellable = -1;        // including already cancelled
inline constexpr int kCancellationNotFound = -2;
inline constexpr int kCancellationInternalError = -3;

// Carries out the request against the state file: checks the CSD, its key
// and password and that the certificate's RFC is the issuer's, finds the
// CFDI, and cancels it directly or records the request as in process (a
// request that is accepted records an acknowledgement). Always writes
// `result_file` (the answer as key=value lines) and `log_file` (request and
// answer, step by step). The ledger changes only when the result file was
// written. Never throws.
int cancel_cfdi(const CancellationRequest& request, std::string_view result_file,
                std::string_view log_file, Clock::time_point now = Clock::now()) noexcept;

// Cancellation by UUID alone (Drovanexis_CancelaUUID): the receiver and the
// total the request leaves out are taken from the ledger, then the request
// goes through cancel_cfdi with the same rules and answers. Never throws.
int cancel_uuid(CancellationRequest request, std::string_view result_file,
                std::string_view log_file, Clock::time_point now = Clock::now()) noexcept;

}  // namespace drovanexis::sandbox
