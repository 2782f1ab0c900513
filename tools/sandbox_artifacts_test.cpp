#include "tools/sandbox_artifacts.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "cadena/cadena.h"
#include "cadena/sat_oracle.h"
#include "crypto/certificate.h"
#include "crypto/crypto_error.h"
#include "crypto/private_key.h"
#include "crypto/seal.h"
#include "portable/file_io.h"
#include "tests/support/sat_folder.h"
#include "tests/support/test_folder.h"
#include "xml/xml_reader.h"

namespace {

using drovanexis::Certificate;
using drovanexis::PrivateKey;
using drovanexis::testing::run_command;
using drovanexis::testing::run_sat_script;
using drovanexis::testing::sat_available;
using drovanexis::testing::sat_dir;
using drovanexis::testing::shell_quoted;

const std::filesystem::path kTool =
    std::filesystem::path(CFDI_BINARY_DIR) / "bin" / "drovanexis-sandbox";

struct Expected {
  const char* rfc;
  const char* number;
};
constexpr Expected kCsds[] = {{"CACX7605101P8", "30001000000500000001"},
                              {"KIJ0906199R1", "30001000000500000002"}};

// One run of the real tool into a new folder shared by the tests below.
class SandboxInit : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new test_support::TestFolder();
    const auto result = run_command(shell_quoted(kTool.string()) + " init work");
    exit_code_ = result.exit_code;
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  static std::string in_work(const std::string& name) { return "work/" + name; }

  static test_support::TestFolder* folder_;
  static int exit_code_;
};

test_support::TestFolder* SandboxInit::folder_ = nullptr;
int SandboxInit::exit_code_ = -1;

TEST_F(SandboxInit, WritesEveryFileAndSucceeds) {
  ASSERT_EQ(exit_code_, 0);
  for (const char* name : {"sandbox-ca.cer", "sandbox-ca.key", "CSD_CACX7605101P8.cer",
                           "CSD_CACX7605101P8.key", "CSD_KIJ0906199R1.cer", "CSD_KIJ0906199R1.key",
                           "ejemploexterno.xml", "sandbox-pac.cer", "Drovanexis.db"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(in_work(name))) << name;
  }
}

TEST_F(SandboxInit, APreparedFolderIsRefusedAndKeptAsItWas) {
  ASSERT_EQ(exit_code_, 0);
  const auto authority_before = portable::read_file(in_work("sandbox-ca.cer"));
  const auto state_before = portable::read_file(in_work("Drovanexis.db"));
  const auto result = run_command(shell_quoted(kTool.string()) + " init work 2>&1");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.output.find("prepared already"), std::string::npos) << result.output;
  EXPECT_EQ(portable::read_file(in_work("sandbox-ca.cer")), authority_before);
  EXPECT_EQ(portable::read_file(in_work("Drovanexis.db")), state_before);
}

TEST_F(SandboxInit, CsdFilesAreValidCsdsOfTheSandboxAuthority) {
  ASSERT_EQ(exit_code_, 0);
  const Certificate authority = Certificate::load(in_work("sandbox-ca.cer"));
  EXPECT_NE(authority.holder_name().find("SANDBOX"), std::string::npos);
  const PrivateKey authority_key = PrivateKey::load(in_work("sandbox-ca.key"), "24681357q");
  EXPECT_TRUE(authority_key.matches(authority));

  const std::time_t now = std::time(nullptr);
  for (const auto& expected : kCsds) {
    const std::string rfc = expected.rfc;
    const Certificate csd = Certificate::load(in_work("CSD_" + rfc + ".cer"));
    const PrivateKey key = PrivateKey::load(in_work("CSD_" + rfc + ".key"), "24681357q");
    EXPECT_TRUE(key.matches(csd)) << rfc;
    EXPECT_EQ(csd.rfc(), rfc);
    EXPECT_EQ(csd.number(), expected.number);
    EXPECT_TRUE(csd.is_csd()) << rfc;
    EXPECT_TRUE(csd.issued_by(authority)) << rfc;
    EXPECT_FALSE(csd.issued_by(csd)) << rfc;
    // A day before now to four years after.
    EXPECT_NEAR(static_cast<double>(now - csd.valid_from()), 86400.0, 120.0) << rfc;
    EXPECT_NEAR(static_cast<double>(csd.valid_until() - now), (4 * 365 + 1) * 86400.0, 120.0)
        << rfc;
    // The key is encrypted DER: the wrong password does not open it.
    try {
      PrivateKey::load(in_work("CSD_" + rfc + ".key"), "12345678a");
      ADD_FAILURE() << "the key opened with another password";
    } catch (const drovanexis::CryptoError& error) {
      EXPECT_EQ(error.code(), drovanexis::CryptoErrorCode::kWrongPassword);
    }
  }
  // The openssl tool reads the files as DER certificates and a PKCS#8 key,
  // and finds the CSD issued by the authority.
  EXPECT_EQ(
      run_command("openssl pkcs8 -inform DER -in work/CSD_KIJ0906199R1.key -passin pass:24681357q "
                  "-out /dev/null 2>&1")
          .exit_code,
      0);
  EXPECT_EQ(run_command("openssl x509 -inform DER -in work/sandbox-ca.cer -out ca.pem && "
                        "openssl x509 -inform DER -in work/CSD_CACX7605101P8.cer -out csd.pem && "
                        "openssl verify -CAfile ca.pem csd.pem 2>&1")
                .output,
            "csd.pem: OK\n");
}

TEST_F(SandboxInit, SampleInvoiceOnceDatedAndSealedIsValidAndVerifies) {
  ASSERT_EQ(exit_code_, 0);
  CFDI_REQUIRE_SAT(sat_available(), "SAT oracle folder not found at " << sat_dir());
  const auto text = portable::read_file(in_work("ejemploexterno.xml"));
  ASSERT_TRUE(text.has_value());
  drovanexis::Element comprobante = drovanexis::parse_xml(*text);
  EXPECT_EQ(*comprobante.attribute("Fecha"), "%cb_date") << "processing gives the date";
  EXPECT_EQ(*comprobante.child("cfdi:Emisor")->attribute("Rfc"), "CACX7605101P8");
  EXPECT_EQ(comprobante.attribute("Sello"), nullptr) << "the sample is not sealed";

  comprobante.set_attribute("Fecha", "2024-01-15T10:30:00");
  drovanexis::seal(comprobante, Certificate::load(in_work("CSD_CACX7605101P8.cer")),
                   PrivateKey::load(in_work("CSD_CACX7605101P8.key"), "24681357q"));
  drovanexis::testing::write_tree(comprobante, "sealed.xml");

  const auto valid = run_sat_script("validate-cfdi33", "sealed.xml");
  EXPECT_EQ(valid.exit_code, 0) << valid.output;
  const auto cadena = run_sat_script("cadena-cfdi33", "sealed.xml");
  EXPECT_EQ(cadena.output, drovanexis::cadena_cfdi33(comprobante));
  const auto seal = run_sat_script("verify-seal", "sealed.xml");
  EXPECT_EQ(seal.exit_code, 0) << seal.output;
  EXPECT_NE(seal.output.find("OK   Emisor Rfc CACX7605101P8 matches Certificado"),
            std::string::npos)
      << seal.output;
}

TEST(SandboxTool, WrongUsageAndAnUnwritableFolderFailWithAMessage) {
  EXPECT_EQ(run_command(shell_quoted(kTool.string()) + " 2>/dev/null").exit_code, 2);
  EXPECT_EQ(run_command(shell_quoted(kTool.string()) + " make x 2>/dev/null").exit_code, 2);
  test_support::TestFolder folder;
  portable::write_file_atomic("a-file", "x");
  const auto result = run_command(shell_quoted(kTool.string()) + " init a-file/sub 2>&1");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.output.find("cannot prepare \"a-file/sub\""), std::string::npos)
      << result.output;
}

}  // namespace
