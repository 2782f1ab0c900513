// The six issuing scenarios, made through the C entries with the demo's exact
// calls, checked against the hand-written example documents of the SAT folder
// (same data) and against the SAT schemas.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "api/scenario_calls.h"
#include "document/document_registry.h"
#include "document/output_rules.h"
#include "drovanexis.h"
#include "tests/support/sat_folder.h"
#include "tests/support/test_folder.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

namespace drovanexis {
namespace {

namespace fs = std::filesystem;

const fs::path kSatDir = CFDI_SAT_DIR;

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Element& tree_of(std::int32_t handle) {
  Document* document = DocumentRegistry::instance().find(handle);
  if (document == nullptr) throw std::runtime_error("no document for the handle");
  return document->root;
}

// What sealing will add, filled with schema-valid placeholders so that the
// schemas can judge everything else: a Fecha in place of "%cb_date", a
// 20-digit NoCertificado and Base64 text for Certificado and Sello.
std::string written_with_placeholders(std::int32_t handle) {
  Element& root = tree_of(handle);
  prepare_for_sealing(root, "2021-12-01T10:15:00");
  const Node node = Node::root(root);
  node.set("NoCertificado", "30001000000500003416");
  node.set("Certificado", "AAAA");
  node.set("Sello", "AAAA");
  return write_xml(root);
}

bool skipped_attribute(std::string_view name) {
  return name == "Fecha" || name == "Sello" || name == "Certificado" || name == "NoCertificado" ||
         name.starts_with("xmlns") || name == "xsi:schemaLocation";
}

// The tree as text, one element per line with its attributes in order; the
// values only sealing and stamping set, and the stamp itself, are left out.
bool only_stamps(const Element& element) {
  for (const auto& child : element.children()) {
    if (child->prefix() != "tfd") return false;
  }
  return true;
}

void dump(const Element& element, int depth, std::string& out) {
  if (element.prefix() == "tfd") return;
  if (element.name() == "cfdi:Complemento" && only_stamps(element)) return;
  out.append(static_cast<std::size_t>(depth) * 2, ' ').append(element.name());
  for (const auto& a : element.attributes()) {
    if (!skipped_attribute(a.name)) out += " " + a.name + "=\"" + a.value + "\"";
  }
  out += '\n';
  for (const auto& child : element.children()) dump(*child, depth + 1, out);
}

std::string dump(const Element& root) {
  std::string out;
  dump(root, 0, out);
  return out;
}

struct Validation {
  int exit_code;
  std::string messages;
};

Validation validate(const std::string& xml, const std::string& name) {
  const test_support::TemporaryFolder folder;
  const fs::path file = folder.path() / (name + ".xml");
  const fs::path messages = folder.path() / (name + ".txt");
  std::ofstream(file, std::ios::binary) << xml;
  const std::string command = "'" + (kSatDir / "bin/validate-cfdi33").string() + "' '" +
                              file.string() + "' >'" + messages.string() + "' 2>&1";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_text(messages)};
}

struct Scenario {
  const char* name;
  std::int32_t (*build)();
  const char* example;
};

class IssuingScenario : public ::testing::TestWithParam<Scenario> {
 protected:
  void TearDown() override { Drovanexis_Free(handle_); }
  std::int32_t handle_ = 0;
};

TEST_P(IssuingScenario, BuildsTheExampleDocumentInSchemaOrder) {
  const Scenario& scenario = GetParam();
  const fs::path example = kSatDir / "examples" / scenario.example;
  CFDI_REQUIRE_SAT(fs::exists(example), "SAT folder absent: " << example);

  handle_ = scenario.build();
  ASSERT_GT(handle_, 0);
  const Element expected = parse_xml(read_text(example));
  // The example's attribute and child order is the schema's, so comparing the
  // dumps checks values, places, parents and order at once.
  EXPECT_EQ(dump(tree_of(handle_)), dump(expected));
}

TEST_P(IssuingScenario, WrittenXmlIsSchemaValid) {
  const Scenario& scenario = GetParam();
  CFDI_REQUIRE_SAT(fs::exists(kSatDir / "bin/validate-cfdi33"), "SAT folder absent: " << kSatDir);

  handle_ = scenario.build();
  const std::string xml = written_with_placeholders(handle_);
  const Validation validation = validate(xml, scenario.name);
  EXPECT_EQ(validation.exit_code, 0) << validation.messages << "\n" << xml;
}

INSTANTIATE_TEST_SUITE_P(
    Demo, IssuingScenario,
    ::testing::Values(
        Scenario{"simple", test::build_simple_invoice, "cfdi33-ingreso.xml"},
        Scenario{"pagos", test::build_payments_receipt, "cfdi33-pagos10.xml"},
        Scenario{"nomina", test::build_payroll_receipt, "cfdi33-nomina12.xml"},
        Scenario{"cartaporte10", test::build_carta_porte10, "cfdi33-cartaporte10.xml"},
        Scenario{"cartaporte20", test::build_carta_porte20, "cfdi33-cartaporte20.xml"}),
    [](const ::testing::TestParamInfo<Scenario>& param_info) {
      return std::string(param_info.param.name);
    });

TEST(IssuingScenarioDetails, CallOrderDoesNotChangeTheWrittenOrder) {
  // The same document as the simple invoice, its parts given in reverse.
  const std::int32_t reversed = Drovanexis_New("3.3");
  Drovanexis_AddTraslado_cfdi33(reversed, "002", "Tasa", "0.160000", "152.00");
  Drovanexis_SetImpuestosInfo_cfdi33(reversed, "152.00", "");
  Drovanexis_AddConcepto_cfdi33(reversed, "84111506", "SEF500", "1", "H87", "Timbre",
                                "Paquete de 500 timbres fiscales", "500.00", "500.00", "");
  Drovanexis_AddConceptoTraslado_cfdi33(reversed, "500.00", "002", "Tasa", "0.160000", "80.00");
  Drovanexis_SetReceptorInfo_cfdi33(reversed, "VDN020304QX7", "Valdorin SA de CV", "", "", "G01");
  Drovanexis_SetEmisorInfo_cfdi33(reversed, "CACX7605101P8", "Empresa de prueba SA de CV", "612");
  Drovanexis_SetComprobanteInfo_cfdi33(reversed, "A", "1", "%cb_date", "99", "", "500.00", "",
                                       "MXN", "", "580.00", "I", "PUE", "53050", "");
  const std::string xml = write_xml(tree_of(reversed));
  const auto at = [&](std::string_view text) { return xml.find(text); };
  EXPECT_LT(at("<cfdi:Emisor"), at("<cfdi:Receptor"));
  EXPECT_LT(at("<cfdi:Receptor"), at("<cfdi:Conceptos"));
  EXPECT_LT(at("<cfdi:Conceptos"), at("TotalImpuestosTrasladados"));
  EXPECT_LT(at("Version=\"3.3\""), at("Serie=\"A\""));
  EXPECT_LT(at("Serie=\"A\""), at("LugarExpedicion="));
  Drovanexis_Free(reversed);
}

TEST(IssuingScenarioDetails, WindowsTextBecomesUtf8) {
  const std::int32_t payroll = test::build_payroll_receipt();
  const std::int32_t freight = test::build_carta_porte20();
  EXPECT_NE(write_xml(tree_of(payroll)).find("Descripcion=\"Pago de n\xC3\xB3mina\""),
            std::string::npos);
  EXPECT_NE(write_xml(tree_of(freight)).find("MaterialPeligroso=\"S\xC3\xAD\""), std::string::npos);
  Drovanexis_Free(payroll);
  Drovanexis_Free(freight);
}

TEST(IssuingScenarioDetails, TransferReceiptLeavesOutItsZeroDiscount) {
  const std::int32_t handle = test::build_carta_porte10();
  EXPECT_EQ(tree_of(handle).attribute("Descuento"), nullptr);
  EXPECT_EQ(write_xml(tree_of(handle)).find("Descuento"), std::string::npos);
  Drovanexis_Free(handle);
}

// An externally built document is kept byte for byte, and reading and
// writing it again keeps it schema-valid and unchanged in content.
class ExternalDocument : public ::testing::TestWithParam<const char*> {};

TEST_P(ExternalDocument, IsKeptAndRewrittenUnchanged) {
  const fs::path example = kSatDir / "examples" / GetParam();
  CFDI_REQUIRE_SAT(fs::exists(example), "SAT folder absent: " << example);
  const std::string text = read_text(example);

  const std::int32_t handle = test::build_external(text.c_str());
  const Document* document = DocumentRegistry::instance().find(handle);
  ASSERT_NE(document, nullptr);
  ASSERT_TRUE(document->complete_xml.has_value());
  EXPECT_EQ(*document->complete_xml, text);
  Drovanexis_Free(handle);

  const Element read = parse_xml(text);
  const std::string rewritten = write_xml(read);
  EXPECT_EQ(dump(parse_xml(rewritten)), dump(read));
  const Validation validation = validate(rewritten, "external");
  EXPECT_EQ(validation.exit_code, 0) << validation.messages << "\n" << rewritten;
}

INSTANTIATE_TEST_SUITE_P(Examples, ExternalDocument,
                         ::testing::Values("cfdi33-ingreso.xml", "cfdi33-pagos10.xml",
                                           "cfdi33-nomina12.xml", "cfdi33-cartaporte10.xml",
                                           "cfdi33-cartaporte20.xml"));

}  // namespace
}  // namespace drovanexis
