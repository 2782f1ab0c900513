#pragma once

#include <chrono>
#include <filesystem>

#include "sandbox/provider_store.h"

namespace drovanexis::sandbox {

// Creates (or brings up to date) the state file of a working folder: stores
// the test authority's certificate (and key, when given) and the provider's
// certificate and key under kProviderRfc / kProviderName, and adds what is
// missing of the demonstration account (kDemoAccountStamps stamps) and of the
// two sample ledger entries. An existing file keeps its accounts, balances and
// ledger: running it again loses nothing. `now` places the samples in time.
// Throws StateError.
void initialise(const std::filesystem::path& db_path, const CertificateWithKey& authority,
                const CertificateWithKey& provider,
                std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

// The UUIDs of the two sample documents.
inline constexpr std::string_view kSampleInForceUuid = "b9b2902e-2f4f-4e9f-b959-6aa615b92ae3";
inline constexpr std::string_view kSampleCancelledUuid = "F94FE4AC-4743-4745-BA99-E0D13100331D";

}  // namespace drovanexis::sandbox
