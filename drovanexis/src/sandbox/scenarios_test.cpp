// The demo's six issuing scenarios, built through the C entries with the
// program's exact calls, in a working folder prepared with the init tool's
// authority, CSD files and sample XML, then processed and stamped by the
// sandbox. The SAT scripts judge every output file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <ctime>
#include <string>

#include "api/scenario_calls.h"
#include "cadena/sat_oracle.h"
#include "document/document_registry.h"
#include "drovanexis.h"
#include "issue/processing.h"
#include "portable/cp1252.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/provider_credentials.h"
#include "sandbox/sandbox_init.h"
#include "tests/support/sat_folder.h"
#include "tools/sandbox_artifacts.h"
#include "xml/xml_reader.h"

namespace drovanexis::sandbox {
namespace {

using drovanexis::testing::run_sat_script;
using drovanexis::testing::sat_available;

constexpr const char* kPassword = "24681357q";

// What the init tool does for the provider: its certificate issued by the
// folder's authority, then the state file.
void initialise_provider(std::time_t now) {
  const Certificate authority = Certificate::load("sandbox-ca.cer");
  const CertificateWithKey provider = issue_provider_credentials(
      authority, PrivateKey::load("sandbox-ca.key", kPassword), now, "clave-del-proveedor");
  portable::write_file_atomic("provider.cer", provider.certificate_der);
  initialise("Drovanexis.db", {authority.der(), *portable::read_file("sandbox-ca.key"), kPassword},
             provider, std::chrono::system_clock::now());
}

std::int32_t build_external_sample() {
  return test::build_external(portable::read_file("ejemploexterno.xml")->c_str());
}

struct Scenario {
  const char* output;
  const char* issuer;
  std::int32_t (*build)();
};

// A result value as the program receives it (Windows-1252), back in UTF-8 to
// compare with the scripts' output.
std::string value(std::int32_t handle, int index) {
  return portable::cp1252_to_utf8(Drovanexis_GetValue(handle, index));
}

TEST(Scenarios, AllSixAreStampedAndPassTheSatOracles) {
  CFDI_REQUIRE_SAT(sat_available(), "the SAT scripts are absent: " << CFDI_SAT_DIR);
  portable::TestFolder folder;
  ::unsetenv("DROVANEXIS_SANDBOX_DB");
  const std::time_t now = std::time(nullptr);
  sandbox_tool::init_working_folder(".", now);
  initialise_provider(now);

  long long balance = 1000;
  for (const Scenario& scenario :
       {Scenario{"CFDI33Ejemplo.xml", "CACX7605101P8", test::build_simple_invoice},
        Scenario{"CFDI33Pagos10.xml", "KIJ0906199R1", test::build_payments_receipt},
        Scenario{"CFDI33Nomina12.xml", "KIJ0906199R1", test::build_payroll_receipt},
        Scenario{"CFDI33CartaPorte10.xml", "KIJ0906199R1", test::build_carta_porte10},
        Scenario{"CFDI33CartaPorte20.xml", "KIJ0906199R1", test::build_carta_porte20},
        Scenario{"CFDI33Externo.xml", "CACX7605101P8", build_external_sample}}) {
    SCOPED_TRACE(scenario.output);
    const std::int32_t handle = scenario.build();
    Document* document = DocumentRegistry::instance().find(handle);
    ASSERT_NE(document, nullptr);
    const std::string issuer = scenario.issuer;
    const int result = process_document(*document, "CSD_" + issuer + ".cer",
                                        "CSD_" + issuer + ".key", kPassword, scenario.output);
    ASSERT_EQ(result, 0) << portable::read_file("Drovanexis.log").value_or("");

    EXPECT_EQ(run_sat_script("validate-cfdi33", scenario.output).exit_code, 0);
    const auto seals = run_sat_script("verify-seal", scenario.output, "provider.cer");
    EXPECT_EQ(seals.exit_code, 0) << seals.output;
    EXPECT_EQ(value(handle, 5), run_sat_script("cadena-cfdi33", scenario.output).output);
    EXPECT_EQ(value(handle, 8), run_sat_script("cadena-tfd11", scenario.output).output);
    const Element written = parse_xml(*portable::read_file(scenario.output));
    const Element* timbre = written.child("cfdi:Complemento")->child("tfd:TimbreFiscalDigital");
    ASSERT_NE(timbre, nullptr);
    EXPECT_EQ(*timbre->attribute("UUID"), value(handle, 9));
    EXPECT_EQ(std::stoll(value(handle, 14)), --balance);
    EXPECT_EQ(value(handle, 1), "0");
    Drovanexis_Free(handle);
  }
}

}  // namespace
}  // namespace drovanexis::sandbox
