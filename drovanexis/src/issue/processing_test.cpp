#include "issue/processing.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>
#include <string>
#include <vector>

#include "cadena/sat_oracle.h"
#include "issue/processing_failure.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/accounts.h"
#include "sandbox/ledger.h"
#include "sandbox/sandbox_test_support.h"
#include "sandbox/state_file.h"
#include "tests/support/sat_folder.h"
#include "time/central_mexico.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

namespace drovanexis::issue {
namespace {

using namespace sandbox;
using namespace sandbox::testing;
using drovanexis::testing::run_sat_script;
using drovanexis::testing::sat_available;

constexpr std::time_t kDay = 24 * 3600;

class ProcessingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DROVANEXIS_SANDBOX_DB");
    CFDI_REQUIRE_SAT(examples_available(), "the shared SAT folder is absent: " << CFDI_SAT_DIR);
    prepare_working_folder();
  }

  static std::int64_t balance() {
    return *account_balance(*open_existing_state("Drovanexis.db"), "demo_valdorin");
  }

  static std::string log_text() { return portable::read_file("Drovanexis.log").value_or(""); }

  portable::TestFolder folder_;
};

const Element* stamp_of(const Element& root) {
  const Element* complemento = root.child("cfdi:Complemento");
  return complemento ? complemento->child("tfd:TimbreFiscalDigital") : nullptr;
}

struct Example {
  const char* file;
  const char* rfc;
};

TEST_F(ProcessingTest, StampedExamplesPassTheSatOracles) {
  CFDI_REQUIRE_SAT(sat_available(), "the SAT scripts are absent: " << CFDI_SAT_DIR);
  std::int64_t previous_balance = balance();
  for (const Example example : {Example{"cfdi33-ingreso.xml", "CACX7605101P8"},
                                Example{"cfdi33-pagos10.xml", "KIJ0906199R1"},
                                Example{"cfdi33-nomina12.xml", "KIJ0906199R1"},
                                Example{"cfdi33-cartaporte10.xml", "KIJ0906199R1"},
                                Example{"cfdi33-cartaporte20.xml", "KIJ0906199R1"}}) {
    SCOPED_TRACE(example.file);
    Document document = example_document(example.file);
    const std::string cer = std::string("CSD_") + example.rfc + ".cer";
    const std::string key = std::string(".\\csd_") + example.rfc + ".KEY";  // Windows-style name
    ASSERT_EQ(process_document(document, cer, key, kKeyPassword, "Salida.xml"), 0) << log_text();
    EXPECT_EQ(document.value(1), "0");
    EXPECT_EQ(document.value(2), "");

    EXPECT_EQ(run_sat_script("validate-cfdi33", "Salida.xml").exit_code, 0);
    const auto seals = run_sat_script("verify-seal", "Salida.xml", "provider.cer");
    EXPECT_EQ(seals.exit_code, 0) << seals.output;
    EXPECT_EQ(document.value(5), run_sat_script("cadena-cfdi33", "Salida.xml").output);
    EXPECT_EQ(document.value(8), run_sat_script("cadena-tfd11", "Salida.xml").output);

    const Element written = parse_xml(*portable::read_file("Salida.xml"));
    ASSERT_NE(stamp_of(written), nullptr);
    EXPECT_EQ(*stamp_of(written)->attribute("UUID"), document.value(9));
    EXPECT_EQ(*stamp_of(written)->attribute("SelloSAT"), document.value(4));
    EXPECT_EQ(*written.attribute("Sello"), document.value(7));
    EXPECT_EQ(*written.attribute("Fecha"), document.value(16));
    EXPECT_NE(document.value(16), "%cb_date");
    EXPECT_EQ(document.value(6), TestPki::shared().provider().number());

    EXPECT_EQ(std::stoll(document.value(14)), previous_balance - 1);
    EXPECT_EQ(balance(), previous_balance - 1);
    previous_balance = balance();

    const auto entry = find_ledger_entry(*open_existing_state("Drovanexis.db"), document.value(9));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->issuer_rfc, example.rfc);
    EXPECT_EQ(entry->stamped_xml, *portable::read_file("Salida.xml"));
    EXPECT_EQ(std::to_string(entry->operation_number), document.value(13));
  }
}

TEST_F(ProcessingTest, ExternalXmlIsSealedAndStampedKeepingItsFecha) {
  Document built = example_document("cfdi33-ingreso.xml");
  const std::string fecha =
      central_mexico::format(std::chrono::system_clock::now() - std::chrono::hours(2));
  built.root.set_attribute("Fecha", fecha);
  Document external("3.3");
  external.complete_xml = write_xml(built.root);
  external.service_user = "demo_valdorin";
  external.service_password = "pelunarq";
  ASSERT_EQ(process_document(external, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key",
                             kKeyPassword, "CFDI33Externo.xml"),
            0)
      << log_text();
  EXPECT_EQ(external.value(16), fecha);
  EXPECT_FALSE(external.value(7).empty());
  const Element written = parse_xml(*portable::read_file("CFDI33Externo.xml"));
  EXPECT_EQ(*written.attribute("NoCertificado"), external.value(3));
}

// The pipeline seals and stamps CFDI 3.3 only: a 4.0 text, and one whose
// namespace and Version disagree, are refused before anything is sealed or
// charged, each with a message that says why.
TEST_F(ProcessingTest, ExternalXmlOfAnotherVersionIsRefusedWithTheReason) {
  const auto text = portable::read_file((examples_dir() / "cfdi40-ingreso.xml").string());
  ASSERT_TRUE(text);
  std::string mismatched = *text;
  mismatched.replace(mismatched.find("Version=\"4.0\""), 13, "Version=\"3.3\"");
  const struct {
    std::string xml;
    const char* reason;
  } cases[] = {
      {*text, "es un CFDI 4.0"},
      {mismatched, "namespace http://www.sat.gob.mx/cfd/4 of CFDI 4.0 but its Version is \"3.3\""},
  };
  for (const auto& c : cases) {
    const std::int64_t before = balance();
    Document external("3.3");
    external.complete_xml = c.xml;
    external.service_user = "demo_valdorin";
    external.service_password = "pelunarq";
    EXPECT_EQ(process_document(external, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key",
                               kKeyPassword, "Salida40.xml"),
              301);
    EXPECT_EQ(external.value(1), "301");
    EXPECT_NE(external.value(2).find(c.reason), std::string::npos) << external.value(2);
    EXPECT_TRUE(external.value(7).empty());  // never sealed
    EXPECT_FALSE(portable::read_file("Salida40.xml"));
    EXPECT_EQ(balance(), before);
  }
}

TEST_F(ProcessingTest, LogHasHeaderStepsAndCrLfWithin80Columns) {
  Document document = example_document("cfdi33-ingreso.xml");
  ASSERT_EQ(process_document(document, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key",
                             kKeyPassword, "Salida.xml"),
            0);
  const std::string log = log_text();
  ASSERT_FALSE(document.value(15).empty());
  for (const std::string& expected :
       {"Drovanexis " + document.value(15), std::string("Documento: Salida.xml"),
        std::string("Certificado le\xED"
                    "do"),
        std::string("Sello generado"), std::string("Validaci\xF3n"), std::string("Timbre: UUID"),
        std::string("Archivo escrito"), std::string("Resultado: 0")}) {
    EXPECT_NE(log.find(expected), std::string::npos) << expected << "\n" << log;
  }
  std::size_t start = 0;
  while (start < log.size()) {
    const std::size_t end = log.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
    EXPECT_LE(end - start, 80u) << log.substr(start, end - start);
    EXPECT_EQ(log.substr(start, end - start).find('\n'), std::string::npos);
    start = end + 2;
  }
}

// ---- Failures: each refuses with its code, logs it and leaves the output file
// ---- and the balance as they were.

struct FailureCase {
  const char* name;
  const char* expected_code;  // as logged
  std::function<void(Document&)> arrange;
  const char* certificate = "CSD_CACX7605101P8.cer";
  const char* key = "CSD_CACX7605101P8.key";
  const char* password = kKeyPassword;
};

void set_external(Document& document, std::string text) { document.complete_xml = std::move(text); }

Element& first_child(Element& parent, std::string_view name) { return *parent.child(name); }

std::vector<FailureCase> failure_cases() {
  const std::time_t now = std::time(nullptr);
  const TestPki& pki = TestPki::shared();
  return {
      {"wrong key password", "803", [](Document&) {}, "CSD_CACX7605101P8.cer",
       "CSD_CACX7605101P8.key", "wrong-password"},
      {"key of another certificate", "804",
       [](Document&) {
         portable::write_file_atomic(
             "other.key", generate_rsa_key("other", 1024).to_encrypted_der(kKeyPassword));
       },
       "CSD_CACX7605101P8.cer", "other.key"},
      {"certificate of another RFC", "303",
       [&pki, now](Document&) {
         write_csd_files(pki.csd("XOJI740919U48", now - kDay, now + 365 * kDay), "x.cer", "x.key");
       },
       "x.cer", "x.key"},
      {"certificate not issued by the sandbox authority", "308",
       [&pki, now](Document&) {
         write_csd_files(pki.csd("CACX7605101P8", now - kDay, now + 365 * kDay, "Sucursal", true),
                         "x.cer", "x.key");
       },
       "x.cer", "x.key"},
      {"expired certificate", "305",
       [&pki, now](Document&) {
         write_csd_files(pki.csd("CACX7605101P8", now - 400 * kDay, now - 10 * kDay), "x.cer",
                         "x.key");
       },
       "x.cer", "x.key"},
      {"e.firma instead of a CSD", "306",
       [&pki, now](Document&) {
         write_csd_files(pki.csd("CACX7605101P8", now - kDay, now + 365 * kDay, ""), "x.cer",
                         "x.key");
       },
       "x.cer", "x.key"},
      {"Fecha older than 72 hours", "401",
       [](Document& d) {
         d.root.set_attribute("Fecha", central_mexico::format(std::chrono::system_clock::now() -
                                                              std::chrono::hours(73)));
       }},
      {"totals off by one cent", "CFDI33118",
       [](Document& d) {
         const std::string total = *d.root.attribute("Total");
         d.root.set_attribute("Total", total.substr(0, total.size() - 1) +
                                           std::to_string((total.back() - '0' + 1) % 10));
       }},
      {"line tax that does not add up", "CFDI33161",
       [](Document& d) {
         Element& concepto = first_child(first_child(d.root, "cfdi:Conceptos"), "cfdi:Concepto");
         Element& traslado =
             first_child(first_child(first_child(concepto, "cfdi:Impuestos"), "cfdi:Traslados"),
                         "cfdi:Traslado");
         traslado.set_attribute("Importe", "999.99");
       }},
      {"stamped external XML", "307",
       [](Document& d) {
         set_external(d, *portable::read_file((examples_dir() / "cfdi33-ingreso.xml").string()));
       }},
      {"malformed external XML", "301",
       [](Document& d) { set_external(d, "<cfdi:Comprobante Version=\"3.3\"><unclosed>"); }},
      {"empty external XML", "301", [](Document& d) { set_external(d, ""); }},
      {"external XML that is not a CFDI 3.3", "301",
       [](Document& d) { set_external(d, "<?xml version=\"1.0\"?><factura/>"); }},
      {"missing certificate file", "801", [](Document&) {}, "CSD_NOEXISTE.cer"},
      {"unknown service account", "701", [](Document& d) { d.service_user = "nadie"; }},
      {"zero balance", "702",
       [](Document&) {
         store_account(*open_existing_state("Drovanexis.db"), "demo_valdorin", std::nullopt, 0);
       }},
  };
}

TEST_F(ProcessingTest, FailuresAreLoggedWithTheirCodeAndLeaveTheOutputIntact) {
  for (const FailureCase& failure : failure_cases()) {
    SCOPED_TRACE(failure.name);
    prepare_working_folder();
    store_account(*open_existing_state("Drovanexis.db"), "demo_valdorin", std::nullopt, 1000);
    portable::write_file_atomic("Salida.xml", "previous content");
    Document document = example_document("cfdi33-ingreso.xml");
    failure.arrange(document);
    const std::int64_t before = balance();

    const int result = process_document(document, failure.certificate, failure.key,
                                        failure.password, "Salida.xml");

    EXPECT_NE(result, 0);
    EXPECT_EQ(document.value(1), failure.expected_code);
    EXPECT_EQ(result, code_number(failure.expected_code));
    EXPECT_FALSE(document.value(2).empty());
    for (int index = 3; index <= 18; ++index) EXPECT_EQ(document.value(index), "") << index;
    EXPECT_NE(log_text().find("[ERROR] " + std::string(failure.expected_code)), std::string::npos)
        << log_text();
    EXPECT_EQ(portable::read_file("Salida.xml"), "previous content");
    EXPECT_EQ(balance(), before);
  }
}

TEST_F(ProcessingTest, PagosSaldoThatDoesNotAddUpIsRefused) {
  Document document = example_document("cfdi33-pagos10.xml");
  Element* docto = nullptr;
  std::function<void(Element&)> find = [&](Element& e) {
    if (e.name() == "pago10:DoctoRelacionado") docto = &e;
    for (const auto& child : e.children()) find(*child);
  };
  find(document.root);
  ASSERT_NE(docto, nullptr);
  docto->set_attribute("ImpSaldoInsoluto", "10.00");
  EXPECT_NE(process_document(document, "CSD_KIJ0906199R1.cer", "CSD_KIJ0906199R1.key", kKeyPassword,
                             "Pago.xml"),
            0);
  EXPECT_NE(log_text().find("[ERROR] CRP226"), std::string::npos) << log_text();
  EXPECT_FALSE(std::filesystem::exists("Pago.xml"));
}

TEST_F(ProcessingTest, MissingStateFileIsReportedNotCreated) {
  std::filesystem::remove("Drovanexis.db");
  Document document = example_document("cfdi33-ingreso.xml");
  EXPECT_EQ(process_document(document, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key",
                             kKeyPassword, "Salida.xml"),
            703);
  EXPECT_NE(log_text().find("drovanexis-sandbox init"), std::string::npos) << log_text();
  EXPECT_FALSE(std::filesystem::exists("Drovanexis.db"));
}

TEST_F(ProcessingTest, FailedRunLeavesTheDocumentAsBuiltAndAStampedOneIsNotStampedTwice) {
  Document document = example_document("cfdi33-ingreso.xml");
  document.service_user = "nadie";
  EXPECT_EQ(process_document(document, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key",
                             kKeyPassword, "Salida.xml"),
            701);
  EXPECT_EQ(*document.root.attribute("Fecha"), "%cb_date");
  EXPECT_EQ(document.root.attribute("Sello"), nullptr);
  EXPECT_EQ(stamp_of(document.root), nullptr);

  document.service_user = "demo_valdorin";
  ASSERT_EQ(process_document(document, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key",
                             kKeyPassword, "Salida.xml"),
            0)
      << log_text();
  ASSERT_NE(stamp_of(document.root), nullptr);
  const std::int64_t after_first = balance();
  const auto first_output = portable::read_file("Salida.xml");

  EXPECT_EQ(process_document(document, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key",
                             kKeyPassword, "Salida.xml"),
            307);
  EXPECT_EQ(balance(), after_first);
  EXPECT_EQ(portable::read_file("Salida.xml"), first_output);
}

TEST_F(ProcessingTest, UnknownHandleIsLogged) {
  EXPECT_EQ(report_missing_document(42, "Salida.xml"), 806);
  EXPECT_NE(log_text().find("[ERROR] 806"), std::string::npos) << log_text();
  EXPECT_FALSE(std::filesystem::exists("Salida.xml"));
}

TEST_F(ProcessingTest, OutputThatCannotBeWrittenIsRefusedBeforeAnyStampIsTaken) {
  std::filesystem::create_directory("carpeta");
  const std::int64_t before = balance();
  for (const char* output : {"", "no-such-folder\\Salida.xml", "carpeta"}) {
    SCOPED_TRACE(output);
    Document document = example_document("cfdi33-ingreso.xml");
    EXPECT_EQ(process_document(document, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key",
                               kKeyPassword, output),
              805);
    EXPECT_NE(log_text().find("[ERROR] 805"), std::string::npos) << log_text();
  }
  EXPECT_EQ(balance(), before);
}

// An output whose file cannot even be created (here: its name is too long
// for the file system) fails before the stamp: the call costs nothing.
TEST_F(ProcessingTest, OutputThatCannotBeCreatedCostsNoStamp) {
  Document document = example_document("cfdi33-ingreso.xml");
  const std::int64_t before = balance();
  const std::string output = std::string(250, 'x') + ".xml";
  const int result = process_document(document, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key",
                                      kKeyPassword, output);
  EXPECT_EQ(result, 805);
  EXPECT_NE(log_text().find("[ERROR] 805"), std::string::npos) << log_text();
  EXPECT_EQ(log_text().find("UUID "), std::string::npos) << log_text();
  EXPECT_EQ(balance(), before);
  EXPECT_FALSE(std::filesystem::exists(output));
}

// Output names that would replace what the library or the caller must keep
// are refused before anything is stamped, whatever their letter case or
// spelling: the provider's state (and its journal), the library's log, the
// certificate and key of the same call, a device.
TEST_F(ProcessingTest, OutputNamesThatWouldDestroyKeptFilesAreRefused) {
  const std::int64_t before = balance();
  const std::string certificate = *portable::read_file("CSD_CACX7605101P8.cer");
  const std::string key = *portable::read_file("CSD_CACX7605101P8.key");
  std::vector<std::string> outputs = {
      ".\\DROVANEXIS.DB",  "Drovanexis.db",         "drovanexis.db-journal",
      ".\\drovanexis.LOG", "csd_cacx7605101p8.CER", ".\\CSD_CACX7605101P8.key",
      "/dev/null"};
  for (const std::string& output : outputs) {
    SCOPED_TRACE(output);
    Document document = example_document("cfdi33-ingreso.xml");
    EXPECT_EQ(process_document(document, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key",
                               kKeyPassword, output),
              805);
    EXPECT_NE(log_text().find("[ERROR] 805"), std::string::npos) << log_text();
  }
  EXPECT_EQ(balance(), before);  // the state file is whole and opens
  EXPECT_EQ(portable::read_file("CSD_CACX7605101P8.cer"), certificate);
  EXPECT_EQ(portable::read_file("CSD_CACX7605101P8.key"), key);
}

}  // namespace
}  // namespace drovanexis::issue
