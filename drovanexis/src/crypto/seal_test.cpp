#include "crypto/seal.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cadena/cadena.h"
#include "cadena/sat_oracle.h"
#include "crypto/certificate_issuer.h"
#include "crypto/crypto_error.h"
#include "tests/support/sat_folder.h"
#include "tests/support/test_folder.h"
#include "xml/xml_reader.h"

namespace drovanexis {
namespace {

using testing::run_sat_script;
using testing::sat_available;
using testing::sat_dir;
using testing::write_tree;

std::string read_whole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A CSD for the RFC, issued by a throwaway authority.
struct TestCsd {
  explicit TestCsd(const std::string& rfc, const std::string& serial = "00001000000500000007")
      : authority_key(generate_rsa_key("ca", 2048)),
        authority(issue_certificate({{{"CN", "AC DE PRUEBA"}},
                                     "1",
                                     std::time(nullptr) - 60,
                                     std::time(nullptr) + 86400,
                                     true},
                                    authority_key, nullptr, authority_key, "ca.cer")),
        key(generate_rsa_key("csd.key", 2048)),
        certificate(
            issue_certificate({csd_subject("EMPRESA DE PRUEBA", rfc, "CURP", "Matriz"), serial,
                               std::time(nullptr) - 60, std::time(nullptr) + 86400, false},
                              key, &authority, authority_key, "csd.cer")) {}
  PrivateKey authority_key;
  Certificate authority;
  PrivateKey key;
  Certificate certificate;
};

// An example without its stamp, ready to be sealed again. The 4.0 examples
// keep their other complements.
Element unstamped_example(const std::string& name = "cfdi33-ingreso") {
  Element comprobante = parse_xml(read_whole(sat_dir() / "examples" / (name + ".xml")));
  Element* complemento = comprobante.child("cfdi:Complemento");
  const Element* timbre = complemento->child("tfd:TimbreFiscalDigital");
  if (complemento->children().size() == 1) {
    comprobante.remove_child(*complemento);
  } else {
    complemento->remove_child(*timbre);
  }
  return comprobante;
}

TEST(Seal, ResealedExampleVerifiesWithTheSatScript) {
  CFDI_REQUIRE_SAT(sat_available(), "SAT oracle folder not found at " << sat_dir());
  const TestCsd csd("CACX7605101P8");
  Element comprobante = unstamped_example();
  seal(comprobante, csd.certificate, csd.key);

  EXPECT_EQ(*comprobante.attribute("NoCertificado"), "00001000000500000007");
  EXPECT_EQ(*comprobante.attribute("Certificado"), csd.certificate.base64());
  EXPECT_TRUE(seal_verifies(comprobante));

  const test_support::TemporaryFolder folder;
  const auto file = folder.path() / "seal-test.xml";
  write_tree(comprobante, file);
  const auto verdict = run_sat_script("verify-seal", file);
  const auto oracle_cadena = run_sat_script("cadena-cfdi33", file);
  EXPECT_EQ(verdict.exit_code, 0) << verdict.output;
  EXPECT_NE(verdict.output.find("OK   Sello verifies"), std::string::npos) << verdict.output;
  EXPECT_NE(verdict.output.find("OK   NoCertificado 00001000000500000007"), std::string::npos);
  EXPECT_EQ(oracle_cadena.output, cadena_cfdi33(comprobante));
}

// A 4.0 document is sealed over the 4.0 original string, which the SAT's
// script checks with its own 4.0 stylesheet.
TEST(Seal, Resealed40ExamplesVerifyWithTheSatScript) {
  CFDI_REQUIRE_SAT(sat_available(), "SAT oracle folder not found at " << sat_dir());
  const TestCsd csd_cacx("CACX7605101P8");
  const TestCsd csd_kij("KIJ0906199R1");
  const test_support::TemporaryFolder folder;
  for (const char* name : {"cfdi40-ingreso", "cfdi40-global", "cfdi40-pagos20", "cfdi40-nomina12",
                           "cfdi40-cartaporte31"}) {
    Element comprobante = unstamped_example(name);
    const TestCsd& csd =
        *comprobante.child("cfdi:Emisor")->attribute("Rfc") == "KIJ0906199R1" ? csd_kij : csd_cacx;
    seal(comprobante, csd.certificate, csd.key);
    EXPECT_TRUE(seal_verifies(comprobante)) << name;

    const auto file = folder.path() / (std::string(name) + ".xml");
    write_tree(comprobante, file);
    const auto verdict = run_sat_script("verify-seal", file);
    EXPECT_EQ(verdict.exit_code, 0) << name << "\n" << verdict.output;
    EXPECT_NE(verdict.output.find("OK   Sello verifies"), std::string::npos) << verdict.output;
    EXPECT_EQ(run_sat_script("cadena-cfdi40", file).output, cadena_cfdi40(comprobante)) << name;

    // Exportacion is a field of the 4.0 string only.
    comprobante.set_attribute("Exportacion", "02");
    EXPECT_FALSE(seal_verifies(comprobante)) << name;
  }
}

TEST(Seal, AnyChangeOfContentBreaksTheSealButWhiteSpaceDoesNot) {
  CFDI_REQUIRE_SAT(sat_available(), "SAT oracle folder not found at " << sat_dir());
  const TestCsd csd("CACX7605101P8");
  Element comprobante = unstamped_example();
  seal(comprobante, csd.certificate, csd.key);

  comprobante.set_attribute("CondicionesDePago", "  Contado \t Comercial ");
  EXPECT_TRUE(seal_verifies(comprobante));
  comprobante.set_attribute("Total", "1102.01");
  EXPECT_FALSE(seal_verifies(comprobante));
  comprobante.set_attribute("Total", "1102.00");
  comprobante.set_attribute("NoCertificado", "00001000000500000008");
  EXPECT_FALSE(seal_verifies(comprobante)) << "NoCertificado is part of the original string";
  comprobante.remove_attribute("Certificado");
  EXPECT_FALSE(seal_verifies(comprobante));
}

TEST(Seal, RefusesAKeyOfAnotherCertificateAndLeavesTheDocumentAsItWas) {
  CFDI_REQUIRE_SAT(sat_available(), "SAT oracle folder not found at " << sat_dir());
  const TestCsd csd("CACX7605101P8");
  const PrivateKey stranger = generate_rsa_key("otra.key", 1024);
  Element comprobante = unstamped_example();
  const std::string before = *comprobante.attribute("NoCertificado");
  const std::size_t attributes_before = comprobante.attributes().size();

  try {
    seal(comprobante, csd.certificate, stranger);
    ADD_FAILURE() << "sealed with a key of another certificate";
  } catch (const CryptoError& error) {
    EXPECT_EQ(error.code(), CryptoErrorCode::kKeyMismatch);
  }
  EXPECT_EQ(*comprobante.attribute("NoCertificado"), before);
  EXPECT_EQ(comprobante.attributes().size(), attributes_before);
}

TEST(Seal, RefusesACertificateWithoutASatNumber) {
  const PrivateKey key = generate_rsa_key("k", 1024);
  const Certificate odd = issue_certificate({csd_subject("X", "CACX7605101P8", "", "b"), "\x7f",
                                             std::time(nullptr), std::time(nullptr) + 60, false},
                                            key, nullptr, key, "odd.cer");
  Element comprobante("cfdi:Comprobante");
  try {
    seal(comprobante, odd, key);
    ADD_FAILURE() << "sealed with a certificate that has no SAT number";
  } catch (const CryptoError& error) {
    EXPECT_EQ(error.code(), CryptoErrorCode::kNotSatNumber);
    EXPECT_NE(std::string(error.what()).find("odd.cer"), std::string::npos);
  }
  EXPECT_EQ(comprobante.attribute("Sello"), nullptr);
}

}  // namespace
}  // namespace drovanexis
