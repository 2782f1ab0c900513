// Any bytes given as a certificate file are read as a certificate or refused
// with CryptoError.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "crypto/certificate.h"
#include "crypto/crypto_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const auto certificate = drovanexis::Certificate::from_bytes(bytes, "fuzz.cer");
    (void)certificate.number();
    (void)certificate.rfc();
  } catch (const drovanexis::CryptoError&) {
  }
  return 0;
}
