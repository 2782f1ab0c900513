#pragma once

#include <string>
#include <string_view>

#include "crypto/certificate.h"
#include "crypto/private_key.h"

namespace drovanexis {

// SHA256withRSA (PKCS#1 v1.5) over the bytes, as Base64. Throws CryptoError
// kOperationFailed.
std::string sign_sha256_base64(const PrivateKey& key, std::string_view data);

// True when the Base64 signature is SHA256withRSA over the bytes by the
// certificate's key. Invalid Base64 or a wrong signature give false.
bool verify_sha256_base64(const Certificate& certificate, std::string_view data,
                          std::string_view signature_base64);

}  // namespace drovanexis
