#pragma once

#include <string_view>

namespace drovanexis {

// Result codes of processing that the SAT's tables do not cover: the
// provider's own account refusals (7xx) and failures before a document
// reaches the provider (8xx). The SAT's codes (301-308, 401, 33101...) keep
// their numbers.
inline constexpr int kCodeBadCredentials = 701;
inline constexpr int kCodeNoStampsLeft = 702;
inline constexpr int kCodeStateUnavailable = 703;
inline constexpr int kCodeCertificateUnreadable = 801;
inline constexpr int kCodeKeyUnreadable = 802;
inline constexpr int kCodeWrongKeyPassword = 803;
inline constexpr int kCodeKeyDoesNotMatch = 804;
inline constexpr int kCodeOutputNotWritten = 805;
inline constexpr int kCodeNoDocument = 806;
inline constexpr int kCodeInternalError = 899;

// The Spanish description of one of the codes above ("" for any other code).
std::string_view describe_provider_code(int code);

}  // namespace drovanexis
