#pragma once

#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "crypto/certificate.h"
#include "crypto/private_key.h"

// Issuing certificates in the SAT's style: used by the sandbox's own test
// authority (drovanexis-sandbox init) and by tests that need certificates
// with particular properties (expired, another RFC, no OU, another issuer).
namespace drovanexis {

// Subject or issuer name entries in order, by OpenSSL's short or long names:
// "CN", "name", "O", "OU", "C", "x500UniqueIdentifier", "serialNumber", ...
using NameEntries = std::vector<std::pair<std::string, std::string>>;

struct CertificateRequest {
  NameEntries subject;
  std::string serial_digits;  // e.g. 20 digits; their ASCII bytes form the serial
  std::time_t not_before = 0;
  std::time_t not_after = 0;
  bool authority = false;  // a CA certificate (may sign others)
};

// The subject of a CSD: the taxpayer's name in CN, name and O; the RFC in
// x500UniqueIdentifier; the CURP in serialNumber (left out when empty); the
// branch in OU (left out when empty, which makes an e.firma-like certificate).
NameEntries csd_subject(const std::string& holder_name, const std::string& rfc_field,
                        const std::string& curp_field, const std::string& branch);

// A new RSA key (2048 bits unless told otherwise). Throws CryptoError.
PrivateKey generate_rsa_key(const std::string& label, int bits = 2048);

// Issues a certificate for subject_key's public half, signed with
// SHA256withRSA by issuer_key. With issuer == nullptr the certificate is
// self-signed (issuer_key must then be subject_key). Throws CryptoError.
Certificate issue_certificate(const CertificateRequest& request, const PrivateKey& subject_key,
                              const Certificate* issuer, const PrivateKey& issuer_key,
                              const std::string& label);

}  // namespace drovanexis
