#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/certificate.h"
#include "crypto/private_key.h"

// The files that `drovanexis-sandbox init DIR` prepares, one function per
// artefact, so that later steps can add theirs beside them.
namespace sandbox_tool {

// Password of every key file the tool writes.
inline constexpr std::string_view kKeyPassword = "24681357q";
// The sandbox's test authority, kept for the stamping provider's state.
inline constexpr std::string_view kAuthorityCertificateFile = "sandbox-ca.cer";
inline constexpr std::string_view kAuthorityKeyFile = "sandbox-ca.key";
inline constexpr std::string_view kSampleXmlFile = "ejemploexterno.xml";
// The stamping provider's certificate, for checking the stamp's seal.
inline constexpr std::string_view kProviderCertificateFile = "sandbox-pac.cer";
// The sandbox provider's state: authority, provider, accounts and ledger.
inline constexpr std::string_view kStateFile = "Drovanexis.db";

struct CertificateAndKey {
  drovanexis::Certificate certificate;
  drovanexis::PrivateKey key;
};

// A taxpayer the demo issues documents for.
struct SampleTaxpayer {
  std::string rfc;
  std::string name;
  std::string unique_identifier;  // x500UniqueIdentifier: RFC [/ representative]
  std::string curp_field;         // serialNumber
  std::string branch;             // OU
  std::string serial_digits;      // the certificate number
};

// CACX7605101P8 (a person) and KIJ0906199R1 (a company).
const std::vector<SampleTaxpayer>& sample_taxpayers();

// "CSD_<RFC>.cer" / "CSD_<RFC>.key".
std::string csd_certificate_file(std::string_view rfc);
std::string csd_key_file(std::string_view rfc);

// A self-signed authority named in the SAT's style but plainly a sandbox
// one, valid from a day before `now` for ten years.
CertificateAndKey create_authority(std::time_t now);

// A CSD for the taxpayer, signed by the authority, valid from a day before
// `now` to four years after it.
CertificateAndKey issue_csd(const CertificateAndKey& authority, const SampleTaxpayer& taxpayer,
                            std::time_t now);

// The authority's certificate (DER) and key (encrypted PKCS#8 DER, password
// kKeyPassword) in the folder.
void write_authority(const std::filesystem::path& folder, const CertificateAndKey& authority);

// The CSD's certificate (DER) and key (encrypted PKCS#8 DER, password
// kKeyPassword) in the folder.
void write_csd(const std::filesystem::path& folder, std::string_view rfc,
               const CertificateAndKey& csd);

// A complete, unsealed CFDI 3.3 income invoice of CACX7605101P8, UTF-8.
// Its Fecha is "%cb_date", which processing replaces by the current time.
std::string sample_invoice_xml();
void write_sample_xml(const std::filesystem::path& folder);

// The provider's certificate (written to the folder) and key, issued by the
// authority, and the provider's state file with the demonstration account
// and the sample ledger entries.
void write_provider_state(const std::filesystem::path& folder, const CertificateAndKey& authority,
                          std::time_t now);

// Everything above in a new folder (created if missing; a folder that holds
// a state file already is refused, so that its ledger and the certificates it
// trusts are never replaced); returns the names of the files written. Throws
// drovanexis::CryptoError or std::system_error (both name what failed).
std::vector<std::string> init_working_folder(const std::filesystem::path& folder, std::time_t now);

}  // namespace sandbox_tool
