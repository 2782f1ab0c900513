#include "sandbox/sandbox_test_support.h"

#include <fstream>
#include <stdexcept>

#include "portable/file_io.h"
#include "sandbox/provider_identity.h"
#include "sandbox/sandbox_init.h"
#include "sandbox/stamp.h"
#include "xml/xml_reader.h"

namespace drovanexis::sandbox::testing {

namespace {

constexpr std::time_t kYear = 365 * 24 * 3600;

Certificate issue_authority(const PrivateKey& key, const std::string& name) {
  const std::time_t now = std::time(nullptr);
  return issue_certificate(
      {{{"CN", name}, {"O", "AUTORIDAD DE PRUEBA"}}, "1", now - kYear, now + 10 * kYear, true}, key,
      nullptr, key, name);
}

}  // namespace

TestPki::TestPki()
    : authority_key_(generate_rsa_key("authority")),
      authority_(issue_authority(authority_key_, "AC DE PRUEBAS DEL SANDBOX")),
      provider_key_(generate_rsa_key("provider")),
      provider_(issue_certificate(
          {csd_subject(std::string(kProviderName), std::string(kProviderRfc), "", "Timbrado"),
           "00001000000700000099", std::time(nullptr) - kYear, std::time(nullptr) + 5 * kYear,
           false},
          provider_key_, &authority_, authority_key_, "provider.cer")),
      other_authority_key_(generate_rsa_key("other authority")),
      other_authority_(issue_authority(other_authority_key_, "OTRA AUTORIDAD")),
      holder_key_(generate_rsa_key("holder")) {}

const TestPki& TestPki::shared() {
  static const TestPki pki;
  return pki;
}

Certificate TestPki::csd(const std::string& rfc, std::time_t from, std::time_t until,
                         const std::string& branch, bool other_authority) const {
  const Certificate& issuer = other_authority ? other_authority_ : authority_;
  const PrivateKey& issuer_key = other_authority ? other_authority_key_ : authority_key_;
  return issue_certificate({csd_subject("CONTRIBUYENTE DE PRUEBA", rfc, "", branch),
                            "00001000000500000042", from, until, false},
                           holder_key_, &issuer, issuer_key, "CSD_" + rfc + ".cer");
}

CertificateWithKey TestPki::authority_record() const {
  return {authority_.der(), authority_key_.to_encrypted_der("authority-pw"), "authority-pw"};
}

CertificateWithKey TestPki::provider_record() const {
  return {provider_.der(), provider_key_.to_encrypted_der("provider-pw"), "provider-pw"};
}

void write_csd_files(const Certificate& certificate, const std::string& cer_name,
                     const std::string& key_name) {
  portable::write_file_atomic(cer_name, certificate.der());
  portable::write_file_atomic(key_name,
                              TestPki::shared().holder_key().to_encrypted_der(kKeyPassword));
}

void prepare_working_folder() {
  const TestPki& pki = TestPki::shared();
  const std::time_t now = std::time(nullptr);
  for (const std::string rfc : {"CACX7605101P8", "KIJ0906199R1"}) {
    write_csd_files(pki.csd(rfc, now - kYear, now + 4 * kYear), "CSD_" + rfc + ".cer",
                    "CSD_" + rfc + ".key");
  }
  portable::write_file_atomic("provider.cer", pki.provider().der());
  initialise("Drovanexis.db", pki.authority_record(), pki.provider_record());
}

std::filesystem::path examples_dir() { return std::filesystem::path(CFDI_SAT_DIR) / "examples"; }

bool examples_available() { return std::filesystem::exists(examples_dir() / "cfdi33-ingreso.xml"); }

Document example_document(const std::string& example_name) {
  Document document("3.3");
  const auto text = portable::read_file((examples_dir() / example_name).string());
  if (!text) throw std::runtime_error("cannot read the example " + example_name);
  document.root = parse_xml(*text);
  remove_stamp(document.root);
  for (const char* attribute : {"Sello", "Certificado", "NoCertificado"}) {
    document.root.remove_attribute(attribute);
  }
  document.root.set_attribute("Fecha", "%cb_date");
  document.service_user = "demo_valdorin";
  document.service_password = "zqvx";
  return document;
}

}  // namespace drovanexis::sandbox::testing
