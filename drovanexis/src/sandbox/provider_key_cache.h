#pragma once

#include <filesystem>
#include <string>

#include "crypto/private_key.h"

namespace drovanexis::sandbox {

// Opens the provider's stamping key as the state file stores it (encrypted
// PKCS#8 and its password, side by side in the provider's row).
//
// Opening it runs the password-based key derivation, which costs more than
// the stamp's own signature, and every processing opens the provider afresh.
// The encryption protects nothing here (whoever can read the key can read the
// password beside it), so keys already opened are kept for the life of the
// process in ProviderKeyCache, one per state file. An entry is reused only
// when the stored key bytes and password are exactly those it was opened
// from; a state file whose provider was issued again is opened afresh.
// Throws CryptoError as PrivateKey::from_bytes does.
PrivateKey open_provider_key(const std::filesystem::path& state_file, const std::string& key_der,
                             const std::string& key_password, const std::string& source);

}  // namespace drovanexis::sandbox
