// Any bytes given as a key file are opened, or refused with CryptoError; a key
// that asks for more derivation work than allowed is refused before any.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "crypto/crypto_error.h"
#include "crypto/private_key.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    drovanexis::PrivateKey::from_bytes(bytes, "24681357q", "fuzz.key");
  } catch (const drovanexis::CryptoError&) {
  }
  return 0;
}
