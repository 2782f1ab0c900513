// The six issuing operations against the recording library: every call they
// make (entry, order, argument count and values) and what they leave in
// nError and cArchivo.
//
// The building calls are compared with the library's own scenario calls
// (drovanexis/src/api/scenario_calls.cpp), which the library's tests build
// through its C entries and have judged by the SAT's scripts. Linked here
// against the recording library, those calls are written down the same way
// as the binding calls of the operations, so the two lists must be equal.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "api/scenario_calls.h"
#include "app/globals.h"
#include "app/operations.h"
#include "binding/testing/recording_client.h"
#include "console/backend.h"
#include "console/console.h"
#include "tests/support/test_folder.h"

namespace app {
namespace {

constexpr std::int32_t kHandle = 7;
constexpr int kEsc = 27;

struct Scenario {
  const char* name;
  void (*operation)();
  std::int32_t (*reference)();  // the library's calls for the same document
  const char* certificate;
  const char* key;
  const char* output;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

std::int32_t external_reference() { return drovanexis::test::build_external("<external/>"); }

const Scenario kScenarios[] = {
    {"simple", VXMLSAMPLE, drovanexis::test::build_simple_invoice, "CSD_CACX7605101P8.cer",
     "CSD_CACX7605101P8.key", "CFDI33Simple.xml"},
    {"pagos", VXMLPAGOS, drovanexis::test::build_payments_receipt, "CSD_KIJ0906199R1.cer",
     "CSD_KIJ0906199R1.key", "CFDI33conPagos.xml"},
    {"nomina", VXMLNOMINA, drovanexis::test::build_payroll_receipt, "CSD_KIJ0906199R1.cer",
     "CSD_KIJ0906199R1.key", "CFDI33conNomina.xml"},
    {"cartaporte10", VXMLCARTAPORTE1, drovanexis::test::build_carta_porte10, "CSD_KIJ0906199R1.cer",
     "CSD_KIJ0906199R1.key", "CFDI33CartaPorte10.xml"},
    {"cartaporte20", VXMLCARTAPORTE2, drovanexis::test::build_carta_porte20, "CSD_KIJ0906199R1.cer",
     "CSD_KIJ0906199R1.key", "CFDI33CartaPorte20.xml"},
    {"externo", VXMLEXTERNO, external_reference, "CSD_CACX7605101P8.cer", "CSD_CACX7605101P8.key",
     "CFDI33Externo.xml"},
};

std::string processing_call(const Scenario& s) {
  return "Drovanexis_ProcesaDocumento(7, \"" + std::string(s.certificate) + "\", \"" + s.key +
         "\", \"24681357q\", \"" + s.output + "\")";
}

std::string value_call(int index) {
  return "Drovanexis_GetValue(7, " + std::to_string(index) + ")";
}

class IssuingTest : public ::testing::TestWithParam<Scenario> {
 protected:
  IssuingTest() {
    std::ofstream("ejemploexterno.xml", std::ios::binary) << "<external/>";
    std::ofstream("Drovanexis.log", std::ios::binary) << "the library's log\r\n";
    recording_.reset();
  }

  // The calls the library's reference makes for this document.
  std::vector<std::string> reference_calls() {
    recording_.reset();
    recording_.set_integer_result("Drovanexis_New", kHandle);
    GetParam().reference();
    std::vector<std::string> calls = recording_.calls();
    recording_.reset();
    return calls;
  }

  // Runs the operation with the processing result given; the keys leave the
  // pages.
  std::vector<std::string> run(std::int32_t processing_result, std::initializer_list<int> keys) {
    recording_.set_integer_result("Drovanexis_New", kHandle);
    recording_.set_integer_result("Drovanexis_ProcesaDocumento", processing_result);
    backend_.push_keys(keys);
    GetParam().operation();
    EXPECT_EQ(backend_.pending(), 0u) << "keys left unread";
    return recording_.calls();
  }

  std::string row(int r) const { return con_.screen().row_text(r); }

  test_support::TestFolder folder_;
  console::HeadlessBackend backend_;
  console::Console con_{backend_};
  ScopedConsole scoped_console_{con_};
  recording::ScopedLibrary scoped_library_{BINDING_RECORDING_LIBRARY};
  recording::RecordingLibrary recording_{BINDING_RECORDING_LIBRARY};
};

TEST_P(IssuingTest, SuccessBuildsProcessesShowsSevenPagesAndFrees) {
  const Scenario& s = GetParam();
  std::ofstream(s.output, std::ios::binary) << "<stamped " << s.name << "/>";
  std::vector<std::string> expected = reference_calls();
  ASSERT_GT(expected.size(), 2u);
  expected.push_back(processing_call(s));
  for (int index : {5, 8, 7, 4, 3, 6, 1, 2, 13, 11, 12, 10, 9, 14, 15, 16, 17, 18}) {
    expected.push_back(value_call(index));
  }
  expected.push_back("Drovanexis_Free(7)");

  nError = -99;
  EXPECT_EQ(run(0, {kEsc, kEsc, kEsc, kEsc, kEsc, 'x', 'y'}), expected);
  EXPECT_EQ(nError, 0);
  EXPECT_EQ(cArchivo, "<stamped " + std::string(s.name) + "/>");
  // Back to the menu on a cleared screen.
  for (int r = 0; r < 25; ++r) EXPECT_EQ(row(r), std::string(80, ' ')) << "row " << r;
}

TEST_P(IssuingTest, FailureShowsOnlyTheLogAndFrees) {
  std::vector<std::string> expected = reference_calls();
  expected.push_back(processing_call(GetParam()));
  expected.push_back("Drovanexis_Free(7)");
  for (std::int32_t result : {-1, 1, 302}) {
    recording_.reset();
    EXPECT_EQ(run(result, {kEsc}), expected) << "result " << result;
    EXPECT_EQ(nError, result);
    EXPECT_EQ(cArchivo, "the library's log\r\n");
  }
}

// A key wait that ends the program (or any other error on a page) still
// releases the document before the error goes on.
TEST_P(IssuingTest, DocumentIsFreedWhenAPageIsLeftByAnError) {
  recording_.set_integer_result("Drovanexis_New", kHandle);
  EXPECT_THROW(GetParam().operation(), console::OutOfKeys);
  const std::vector<std::string> calls = recording_.calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "Drovanexis_Free(7)");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "Drovanexis_Free(7)"), 1);
}

INSTANTIATE_TEST_SUITE_P(SixScenarios, IssuingTest, ::testing::ValuesIn(kScenarios),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

// Facts of the calls that must hold whatever the reference says.
class IssuingCallsTest : public ::testing::Test {
 protected:
  std::vector<std::string> run(void (*operation)()) {
    recording_.reset();
    recording_.set_integer_result("Drovanexis_New", kHandle);
    recording_.set_integer_result("Drovanexis_ProcesaDocumento", 1);
    backend_.push_key(kEsc);
    operation();
    return recording_.calls();
  }
  static bool contains(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
  }

  test_support::TestFolder folder_;
  console::HeadlessBackend backend_;
  console::Console con_{backend_};
  ScopedConsole scoped_console_{con_};
  recording::ScopedLibrary scoped_library_{BINDING_RECORDING_LIBRARY};
  recording::RecordingLibrary recording_{BINDING_RECORDING_LIBRARY};
};

TEST_F(IssuingCallsTest, TextsReachTheLibraryAsWindows1252Bytes) {
  const auto payroll = run(VXMLNOMINA);
  EXPECT_TRUE(contains(payroll,
                       "Drovanexis_AddConcepto_cfdi33(7, \"84111505\", \"\", \"1\", "
                       "\"ACT\", \"\", \"Pago de n\\xF3mina\", \"1652.00\", \"1652.00\", "
                       "\"123.00\")"));
  // Five texts, the six parameters left out arrive as null pointers.
  EXPECT_TRUE(contains(payroll,
                       "Drovanexis_Nomina12AddPercepcion(7, \"001\", \"101\", \"SUELDO\", "
                       "\"1652.00\", \"0.00\", null, null, null, null, null, null)"));
  const auto carta_porte = run(VXMLCARTAPORTE2);
  EXPECT_EQ(std::count_if(carta_porte.begin(), carta_porte.end(),
                          [](const std::string& call) {
                            return call.starts_with("Drovanexis_CartaPorte20AddMercancia(") &&
                                   call.find("\"S\\xED\"") != std::string::npos;
                          }),
            2);
}

TEST_F(IssuingCallsTest, ExternalXmlIsPassedAsReadAndMissingAsEmpty) {
  std::ofstream("EjemploExterno.XML", std::ios::binary) << "<a b=\"\xE9\"/>\r\n";
  EXPECT_TRUE(
      contains(run(VXMLEXTERNO),
               "Drovanexis_SetCompleteXML_cfdi33(7, \"<a b=\\x22\\xE9\\x22/>\\x0D\\x0A\")"));
  std::filesystem::remove("EjemploExterno.XML");
  const auto calls = run(VXMLEXTERNO);
  EXPECT_TRUE(contains(calls, "Drovanexis_SetCompleteXML_cfdi33(7, \"\")"));
  EXPECT_TRUE(contains(calls,
                       "Drovanexis_ProcesaDocumento(7, \"CSD_CACX7605101P8.cer\", "
                       "\"CSD_CACX7605101P8.key\", \"24681357q\", \"CFDI33Externo.xml\")"));
}

TEST_F(IssuingCallsTest, EachRunBuildsAndFreesItsOwnDocument) {
  recording_.reset();
  recording_.set_integer_result("Drovanexis_ProcesaDocumento", 1);
  for (std::int32_t handle : {3, 4}) {
    recording_.set_integer_result("Drovanexis_New", handle);
    backend_.push_key(kEsc);
    VXMLSAMPLE();
  }
  std::vector<std::string> lifecycle;
  for (const std::string& call : recording_.calls()) {
    if (call.starts_with("Drovanexis_New") || call.starts_with("Drovanexis_Free")) {
      lifecycle.push_back(call);
    }
  }
  EXPECT_EQ(lifecycle, (std::vector<std::string>{"Drovanexis_New(\"3.3\")", "Drovanexis_Free(3)",
                                                 "Drovanexis_New(\"3.3\")", "Drovanexis_Free(4)"}));
}

}  // namespace
}  // namespace app
