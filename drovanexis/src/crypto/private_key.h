#pragma once

#include <string>
#include <string_view>

#include "crypto/certificate.h"
#include "crypto/openssl_handles.h"

namespace drovanexis {

// An RSA private key, opened from a password-protected PKCS#8 file.
class PrivateKey {
 public:
  // Reads an encrypted PKCS#8 key (DER, or PEM "ENCRYPTED PRIVATE KEY") and
  // opens it with the password. Throws CryptoError: kFileNotFound,
  // kFileUnreadable, kKeyDamaged, kWrongPassword.
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
