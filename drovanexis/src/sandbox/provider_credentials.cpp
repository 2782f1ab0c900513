#include "sandbox/provider_credentials.h"

#include <string>

#include "crypto/certificate_issuer.h"
#include "sandbox/provider_identity.h"

namespace drovanexis::sandbox {

namespace {

constexpr std::time_t kDay = 24 * 3600;
// The provider's certificate number, in the SAT's 20-digit form.
constexpr const char* kProviderCertificateNumber = "00001000000700000001";

}  // namespace

CertificateWithKey issue_provider_credentials(const Certificate& authority,
                                              const PrivateKey& authority_key, std::time_t now,
                                              std::string_view key_password) {
  const PrivateKey key = generate_rsa_key("sandbox provider key");
  const Certificate certificate = issue_certificate(
      {csd_subject(std::string(kProviderName), std::string(kProviderRfc), "", "Timbrado de prueba"),
       kProviderCertificateNumber, now - kDay, now + 5 * 365 * kDay, false},
      key, &authority, authority_key, "sandbox provider certificate");
  return {certificate.der(), key.to_encrypted_der(key_password), std::string(key_password)};
}

}  // namespace drovanexis::sandbox
