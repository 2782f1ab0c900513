#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "crypto/certificate.h"
#include "crypto/openssl_handles.h"

namespace drovanexis {

// The most password-hash iterations a key file may ask for. The SAT's keys
// use 2,048; the cap leaves generous headroom while keeping a hostile key
// from holding a call for minutes.
inline constexpr std::int64_t kMaxKeyIterations = 1'000'000;

// An RSA private key, opened from a password-protected PKCS#8 file.
class PrivateKey {
 public:
  // Reads an encrypted PKCS#8 key (DER, or PEM "ENCRYPTED PRIVATE KEY") and
  // opens it with the password. Throws CryptoError: kFileNotFound,
  // kNotRegularFile, kFileUnreadable, kKeyDamaged, kKeyTooCostly (more than
  // kMaxKeyIterations, refused before any derivation), kWrongPassword.
  static PrivateKey load(std::string_view file_name, std::string_view password);
  static PrivateKey from_bytes(std::string_view bytes, std::string_view password,
                               std::string_view source);
  PrivateKey(openssl::PKey key, std::string source);

  const std::string& source() const { return source_; }
  EVP_PKEY* get() const { return key_.get(); }

  // True when this key is the private half of the certificate's public key.
  bool matches(const Certificate& certificate) const;
  // Throws CryptoError kKeyMismatch naming both files unless matches().
  void require_match(const Certificate& certificate) const;

  // The key as an encrypted PKCS#8 file (PBES2, 3DES-CBC), DER or PEM.
  std::string to_encrypted_der(std::string_view password) const;
  std::string to_encrypted_pem(std::string_view password) const;

 private:
  openssl::PKey key_;
  std::string source_;
};

}  // namespace drovanexis
