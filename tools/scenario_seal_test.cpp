// The six issuing scenarios end to end on the engine's side: each document
// is made through the C entries with the demo's exact calls, dated, sealed
// with the CSD files that `drovanexis-sandbox init` writes and written as
// XML; the SAT scripts then judge the file: schema-valid, the same original
// string as the stylesheets, and a seal that verifies.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "api/scenario_calls.h"
#include "cadena/cadena.h"
#include "cadena/sat_oracle.h"
#include "crypto/certificate.h"
#include "crypto/private_key.h"
#include "crypto/seal.h"
#include "document/document.h"
#include "document/document_registry.h"
#include "document/output_rules.h"
#include "drovanexis.h"
#include "portable/file_io.h"
#include "tests/support/sat_folder.h"
#include "tests/support/test_folder.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

namespace {

using drovanexis::Certificate;
using drovanexis::Element;
using drovanexis::PrivateKey;
using drovanexis::testing::run_command;
using drovanexis::testing::run_sat_script;
using drovanexis::testing::sat_available;
using drovanexis::testing::sat_dir;
using drovanexis::testing::shell_quoted;

const std::filesystem::path kTool =
    std::filesystem::path(CFDI_BINARY_DIR) / "bin" / "drovanexis-sandbox";

struct Scenario {
  const char* name;
  const char* issuer;  // whose CSD the demo's processing call names
  std::int32_t (*build)();
};

// The external scenario hands in the sample the init tool writes.
std::int32_t build_external_sample() {
  const auto text = portable::read_file("ejemploexterno.xml");
  if (!text) throw std::runtime_error("ejemploexterno.xml was not written");
  return drovanexis::test::build_external(text->c_str());
}

// The tree processing would seal: the built one, or the external text read.
Element tree_to_seal(std::int32_t handle) {
  drovanexis::Document* document = drovanexis::DocumentRegistry::instance().find(handle);
  if (document == nullptr) throw std::runtime_error("no document for the handle");
  if (document->complete_xml) return drovanexis::parse_xml(*document->complete_xml);
  return std::move(document->root);
}

class SealedScenario : public ::testing::TestWithParam<Scenario> {
 protected:
  static void SetUpTestSuite() {
    folder_ = new test_support::TestFolder();
    init_exit_code_ = run_command(shell_quoted(kTool.string()) + " init . >/dev/null").exit_code;
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  void TearDown() override {
    if (handle_ != 0) Drovanexis_Free(handle_);
  }

  static test_support::TestFolder* folder_;
  static int init_exit_code_;
  std::int32_t handle_ = 0;
};

test_support::TestFolder* SealedScenario::folder_ = nullptr;
int SealedScenario::init_exit_code_ = -1;

TEST_P(SealedScenario, IsSchemaValidWithTheStylesheetsOriginalStringAndAVerifyingSeal) {
  CFDI_REQUIRE_SAT(sat_available(), "SAT oracle folder not found at " << sat_dir());
  ASSERT_EQ(init_exit_code_, 0) << "drovanexis-sandbox init failed";
  const Scenario& scenario = GetParam();
  const std::string issuer = scenario.issuer;

  handle_ = scenario.build();
  Element comprobante = tree_to_seal(handle_);
  drovanexis::prepare_for_sealing(comprobante, drovanexis::central_mexico_now());
  drovanexis::seal(comprobante, Certificate::load("CSD_" + issuer + ".cer"),
                   PrivateKey::load("CSD_" + issuer + ".key", "24681357q"));
  const std::string xml = drovanexis::write_xml(comprobante);
  const std::string file = std::string(scenario.name) + ".xml";
  portable::write_file_atomic(file, xml);

  const auto validation = run_sat_script("validate-cfdi33", file);
  EXPECT_EQ(validation.exit_code, 0) << xml;
  const auto oracle = run_sat_script("cadena-cfdi33", file);
  ASSERT_EQ(oracle.exit_code, 0);
  EXPECT_EQ(drovanexis::cadena_cfdi33(comprobante), oracle.output);
  EXPECT_EQ(drovanexis::cadena_cfdi33(drovanexis::parse_xml(xml)), oracle.output);
  const auto verdict = run_sat_script("verify-seal", file);
  EXPECT_EQ(verdict.exit_code, 0) << verdict.output;
  EXPECT_NE(verdict.output.find("OK   Emisor Rfc " + issuer + " matches Certificado"),
            std::string::npos)
      << verdict.output;
}

INSTANTIATE_TEST_SUITE_P(
    Demo, SealedScenario,
    ::testing::Values(
        Scenario{"simple", "CACX7605101P8", drovanexis::test::build_simple_invoice},
        Scenario{"pagos", "KIJ0906199R1", drovanexis::test::build_payments_receipt},
        Scenario{"nomina", "KIJ0906199R1", drovanexis::test::build_payroll_receipt},
        Scenario{"cartaporte10", "KIJ0906199R1", drovanexis::test::build_carta_porte10},
        Scenario{"cartaporte20", "KIJ0906199R1", drovanexis::test::build_carta_porte20},
        Scenario{"externo", "CACX7605101P8", build_external_sample}),
    [](const ::testing::TestParamInfo<Scenario>& param_info) {
      return std::string(param_info.param.name);
    });

}  // namespace
