#pragma once

#include <cstdint>
#include <string_view>

namespace drovanexis::sandbox {

// Who the sandbox provider is. The RFC follows the SAT's pattern for a company
// (three letters, a date, a three-character homoclave) but belongs to no real
// taxpayer: it is the sandbox's own, and its certificate is issued by the
// sandbox's test authority with this RFC in x500UniqueIdentifier.
inline constexpr std::string_view kProviderRfc = "VEL010101AA1";
inline constexpr std::string_view kProviderName = "VELMORANET PRUEBAS SA DE CV";

// The demonstration account: any password is accepted.
inline constexpr std::string_view kDemoAccount = "demo_valdorin";
inline constexpr std::int64_t kDemoAccountStamps = 1000;

}  // namespace drovanexis::sandbox
