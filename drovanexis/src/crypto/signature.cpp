#include "crypto/signature.h"

#include <openssl/evp.h>

#include "crypto/base64.h"
#include "crypto/crypto_error.h"

namespace drovanexis {

std::string sign_sha256_base64(const PrivateKey& key, std::string_view data) {
  openssl::MdContext context(EVP_MD_CTX_new());
  std::size_t length = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  if (!context ||
      EVP_DigestSignInit_ex(context.get(), nullptr, "SHA256", nullptr, nullptr, key.get(),
                            nullptr) != 1 ||
      EVP_DigestSign(context.get(), nullptr, &length, bytes, data.size()) != 1) {
    throw CryptoError(CryptoErrorCode::kOperationFailed, "cannot sign with key \"" + key.source() +
                                                             "\": " + openssl::last_error_text());
  }
  std::string signature(length, '\0');
  if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                     bytes, data.size()) != 1) {
    throw CryptoError(CryptoErrorCode::kOperationFailed, "cannot sign with key \"" + key.source() +
                                                             "\": " + openssl::last_error_text());
  }
  signature.resize(length);
  return base64_encode(signature);
}

bool verify_sha256_base64(const Certificate& certificate, std::string_view data,
                          std::string_view signature_base64) {
  const auto signature = base64_decode(signature_base64);
  if (!signature || signature->empty()) return false;
  openssl::MdContext context(EVP_MD_CTX_new());
  const bool ok =
      context &&
      EVP_DigestVerifyInit_ex(context.get(), nullptr, "SHA256", nullptr, nullptr,
                              certificate.public_key(), nullptr) == 1 &&
      EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature->data()),
                       signature->size(), reinterpret_cast<const unsigned char*>(data.data()),
                       data.size()) == 1;
  if (!ok) openssl::last_error_text();  // a bad signature leaves errors queued
  return ok;
}

}  // namespace drovanexis
