#pragma once

#include <stdexcept>
#include <string>

namespace drovanexis {

enum class CryptoErrorCode {
  kFileNotFound,        // the certificate or key file does not exist
  kFileUnreadable,      // it exists but cannot be read
  kNotRegularFile,      // it names a folder, a device, a pipe or a socket
  kCertificateDamaged,  // not an X.509 certificate in DER or PEM
  kKeyDamaged,          // not an encrypted PKCS#8 key, or its content is broken
  kWrongPassword,       // the key does not open with the password given
  kKeyTooCostly,        // the key asks for more password-derivation work than allowed
  kKeyMismatch,         // the key is not the one of the certificate
  kNotSatNumber,        // the serial does not hold a SAT certificate number
  kOperationFailed,     // signing, encoding or issuing failed inside OpenSSL
};

// A failure with certificates, keys or seals. The message names the file
// concerned and what is wrong with it.
class CryptoError : public std::runtime_error {
 public:
  CryptoError(CryptoErrorCode code, const std::string& message)
      : std::runtime_error(message), code_(code) {}

  CryptoErrorCode code() const { return code_; }

 private:
  CryptoErrorCode code_;
};

}  // namespace drovanexis
