#pragma once

// For tests: a test authority, the provider and CSDs issued in memory once per
// process, and a working folder prepared as "drovanexis-sandbox init" would.

#include <ctime>
#include <filesystem>
#include <string>

#include "crypto/certificate.h"
#include "crypto/certificate_issuer.h"
#include "crypto/private_key.h"
#include "document/document.h"
#include "sandbox/provider_store.h"

namespace drovanexis::sandbox::testing {

inline constexpr const char* kKeyPassword = "24681357q";

// The sandbox's authority and provider, and one key shared by the CSDs the
// tests issue (a CSD's key need not be unique for what is tested).
class TestPki {
 public:
  static const TestPki& shared();

  // A CSD for the RFC, valid over [from, until], issued by this authority
  // unless `other_authority`; without a branch it is not a CSD.
  Certificate csd(const std::string& rfc, std::time_t from, std::time_t until,
                  const std::string& branch = "Sucursal de prueba",
                  bool other_authority = false) const;
  const PrivateKey& holder_key() const { return holder_key_; }
  const Certificate& provider() const { return provider_; }
  CertificateWithKey authority_record() const;
  CertificateWithKey provider_record() const;

 private:
  TestPki();

  PrivateKey authority_key_;
  Certificate authority_;
  PrivateKey provider_key_;
  Certificate provider_;
  PrivateKey other_authority_key_;
  Certificate other_authority_;
  PrivateKey holder_key_;
};

// Writes CSD_<rfc>.cer and CSD_<rfc>.key (password kKeyPassword) for the two
// sample issuers, provider.cer, and initialises "Drovanexis.db", all in the
// working folder.
void prepare_working_folder();

// Writes a certificate and the shared holder key under the given names.
void write_csd_files(const Certificate& certificate, const std::string& cer_name,
                     const std::string& key_name);

// One of the shared examples (cfdi33-ingreso.xml, ...) as a document ready to
// process: its stamp and seal removed, Fecha "%cb_date", the demonstration
// account. Empty root name when the examples are absent.
Document example_document(const std::string& example_name);

std::filesystem::path examples_dir();
bool examples_available();

}  // namespace drovanexis::sandbox::testing
