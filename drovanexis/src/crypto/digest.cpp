#include "crypto/digest.h"

#include <openssl/evp.h>

#include <memory>

#include "crypto/crypto_error.h"

namespace drovanexis {

std::string sha256_bytes(std::string_view bytes) {
  static const std::unique_ptr<EVP_MD, decltype(&EVP_MD_free)> sha256(
      EVP_MD_fetch(nullptr, "SHA256", nullptr), &EVP_MD_free);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!sha256 ||
      EVP_Digest(bytes.data(), bytes.size(), digest, &length, sha256.get(), nullptr) != 1) {
    throw CryptoError(CryptoErrorCode::kOperationFailed, "SHA-256 failed");
  }
  return std::string(reinterpret_cast<const char*>(digest), length);
}

std::string sha256_hex(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  const std::string digest = sha256_bytes(bytes);
  std::string hex;
  hex.reserve(2 * digest.size());
  for (const char byte : digest) {
    const auto value = static_cast<unsigned char>(byte);
    hex += kHex[value >> 4];
    hex += kHex[value & 0x0F];
  }
  return hex;
}

}  // namespace drovanexis
