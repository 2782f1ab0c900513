#pragma once

#include <openssl/x509.h>

#include <ctime>
#include <string>
#include <string_view>

#include "crypto/openssl_handles.h"

namespace drovanexis {

// An X.509 certificate as the SAT issues them (CSD or e.firma).
class Certificate {
 public:
  // Reads a certificate file, DER or PEM. The name is a Windows-style file
  // name (".\x.cer", any letter case). Throws CryptoError: kFileNotFound,
  // kFileUnreadable, kCertificateDamaged.
  static Certificate load(std::string_view file_name);
  // The same from bytes already read; source names them in messages. The
  // same bytes read again share the certificate parsed the first time.
  static Certificate from_bytes(std::string_view bytes, std::string_view source);
  // Takes ownership of a certificate built in memory.
  Certificate(openssl::X509Ptr x509, std::string source);

  const std::string& source() const { return source_; }
  // The DER encoding and its Base64 (the CFDI's Certificado attribute).
  const std::string& der() const { return der_; }
  std::string base64() const;

  // The 20-digit certificate number (NoCertificado): the serial's bytes are
  // the ASCII digits. Empty when the serial does not follow that rule.
  std::string number() const;
  // The taxpayer's RFC: the subject's x500UniqueIdentifier up to the first
  // blank or "/" (a company's holds "RFC / representative's RFC"). Empty
  // when the subject has none.
  std::string rfc() const;
  // The subject's common name (the taxpayer's name).
  std::string holder_name() const;
  // Validity, in seconds since the epoch (UTC).
  std::time_t valid_from() const;
  std::time_t valid_until() const;
  // A CSD (seal certificate) names a branch in OU; an e.firma has none.
  bool is_csd() const;
  // True when `authority` names this certificate's issuer and its key
  // verifies this certificate's signature.
  bool issued_by(const Certificate& authority) const;

  X509* x509() const { return x509_.get(); }
  EVP_PKEY* public_key() const;

 private:
  Certificate(openssl::X509Ptr x509, std::string source, std::string der);

  openssl::X509Ptr x509_;
  std::string source_;
  std::string der_;
};

}  // namespace drovanexis
