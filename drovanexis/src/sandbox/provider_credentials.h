#pragma once

#include <ctime>
#include <string_view>

#include "crypto/certificate.h"
#include "crypto/private_key.h"
#include "sandbox/provider_store.h"

namespace drovanexis::sandbox {

// Issues the provider's stamping certificate and a new key: subject
// kProviderName with kProviderRfc in x500UniqueIdentifier, a branch (OU) as
// a CSD carries, signed by the test authority, valid from a day before `now`
// for five years. The key is returned encrypted with `key_password`, as
// initialise() stores it. Throws CryptoError.
CertificateWithKey issue_provider_credentials(const Certificate& authority,
                                              const PrivateKey& authority_key, std::time_t now,
                                              std::string_view key_password);

}  // namespace drovanexis::sandbox
