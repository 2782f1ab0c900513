// Handles of the C interface: unknown, freed and zero handles are ignored
// without harm, and the text Drovanexis_GetValue hands out stays valid until
// the next call for the same document.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "api/api_support.h"
#include "api/scenario_calls.h"
#include "document/document_registry.h"
#include "drovanexis.h"
#include "tests/support/test_folder.h"

namespace drovanexis {
namespace {

TEST(Handles, NewGivesDistinctPositiveHandles) {
  const std::int32_t first = Drovanexis_New("3.3");
  const std::int32_t second = Drovanexis_New(nullptr);
  EXPECT_GT(first, 0);
  EXPECT_GT(second, 0);
  EXPECT_NE(first, second);
  ASSERT_NE(DocumentRegistry::instance().find(second), nullptr);
  EXPECT_EQ(*DocumentRegistry::instance().find(second)->root.attribute("Version"), "3.3");
  Drovanexis_Free(first);
  Drovanexis_Free(second);
}

TEST(Handles, UnknownFreedAndZeroHandlesAreIgnored) {
  test_support::TestFolder folder;  // processing writes its log in the working folder
  const std::int32_t freed = Drovanexis_New("3.3");
  Drovanexis_Free(freed);
  const std::size_t documents_before = DocumentRegistry::instance().size();
  for (const std::int32_t handle : {0, -1, freed, INT32_MAX, INT32_MIN}) {
    SCOPED_TRACE(handle);
    Drovanexis_SetEmisorInfo_cfdi33(handle, "CACX7605101P8", "Empresa", "612");
    Drovanexis_AddConcepto_cfdi33(handle, "84111506", "", "1", "H87", "", "x", "1", "1", "");
    Drovanexis_AddConceptoTraslado_cfdi33(handle, "1", "002", "Tasa", "0.160000", "0.16");
    Drovanexis_CartaPorte20AddFiguraTransporteTiposFiguraPartesTransporte(handle, "PT01");
    Drovanexis_SetCompleteXML_cfdi33(handle, "<x/>");
    EXPECT_STREQ(Drovanexis_GetValue(handle, 1), "");
    EXPECT_NE(Drovanexis_ProcesaDocumento(handle, "a.cer", "a.key", "p", "out.xml"), 0);
    Drovanexis_Free(handle);
  }
  EXPECT_EQ(DocumentRegistry::instance().size(), documents_before);
}

TEST(Handles, ValueTextStaysValidUntilTheNextCallAndComesBackAsWindows1252) {
  const std::int32_t handle = Drovanexis_New("3.3");
  Document* document = DocumentRegistry::instance().find(handle);
  ASSERT_NE(document, nullptr);
  document->values[1] = "0";
  document->values[18] = "AAA010101AAA Proveedor de Certificaci\xC3\xB3n";

  const char* first = Drovanexis_GetValue(handle, 18);
  const std::string copy = first;
  // Another document's calls do not disturb this document's text.
  const std::int32_t other = Drovanexis_New("3.3");
  Drovanexis_GetValue(other, 1);
  Drovanexis_Free(other);
  EXPECT_EQ(std::string(first), copy);
  EXPECT_EQ(copy, "AAA010101AAA Proveedor de Certificaci\xF3n");

  EXPECT_STREQ(Drovanexis_GetValue(handle, 1), "0");
  for (const std::int32_t index : {0, 2, 19, -5})
    EXPECT_STREQ(Drovanexis_GetValue(handle, index), "");
  Drovanexis_Free(handle);
}

TEST(Handles, PerceptionWithSixNullTextsStoresTheFiveGiven) {
  const std::int32_t handle = Drovanexis_New("3.3");
  Drovanexis_Nomina12AddPercepcion(handle, "001", "101", "SUELDO", "1652.00", "0.00", nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr);
  const Element* complemento =
      DocumentRegistry::instance().find(handle)->root.child("cfdi:Complemento");
  ASSERT_NE(complemento, nullptr);
  const Element* nomina = complemento->child("nomina12:Nomina");
  ASSERT_NE(nomina, nullptr);
  const Element* percepcion = nomina->child("nomina12:Percepciones")->child("nomina12:Percepcion");
  ASSERT_NE(percepcion, nullptr);
  EXPECT_EQ(percepcion->attributes().size(), 5u);
  EXPECT_EQ(*percepcion->attribute("ImporteExento"), "0.00");
  EXPECT_TRUE(percepcion->children().empty());
  Drovanexis_Free(handle);
}

TEST(Handles, SubElementCallsWithoutTheirElementAreIgnored) {
  const std::int32_t handle = Drovanexis_New("3.3");
  Drovanexis_AddConceptoTraslado_cfdi33(handle, "1", "002", "Tasa", "0.160000", "0.16");
  Drovanexis_Pagos10AddPagoDoctoRelacionado(handle, "FF93C8BE-AF7B-4FC5-8854-6DAE18CFB5B4", "", "",
                                            "MXN", "", "PUE", "", "", "1.00", "");
  Drovanexis_CartaPorte20AddMercanciaCantidadTransporta(handle, "1", "OR1", "DE1", "");
  EXPECT_TRUE(DocumentRegistry::instance().find(handle)->root.children().empty());
  Drovanexis_Free(handle);
}

TEST(Handles, EntriesAnswerAbsentArgumentsWithTheirFailureValues) {
  const std::int32_t handle = Drovanexis_New("3.3");
  EXPECT_EQ(Drovanexis_CheckFile(nullptr), DROVANEXIS_CHECK_FILE_UNREADABLE);
  EXPECT_EQ(Drovanexis_Load("x.xml"), DROVANEXIS_LOAD_FILE_MISSING);
  EXPECT_STREQ(Drovanexis_FileTo64(nullptr), "");
  EXPECT_TRUE(DocumentRegistry::instance().find(handle)->root.children().empty());
  Drovanexis_Free(handle);
}

TEST(Handles, DocumentsOfSeveralThreadsStayApart) {
  const std::size_t documents_before = DocumentRegistry::instance().size();
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (std::size_t t = 0; t < mismatches.size(); ++t) {
    threads.emplace_back([&mismatches, t] {
      for (int i = 0; i < 100; ++i) {
        const std::int32_t handle = test::build_simple_invoice();
        const Element& root = DocumentRegistry::instance().find(handle)->root;
        if (root.child("cfdi:Conceptos")->children().size() != 2) ++mismatches[t];
        Drovanexis_Free(handle);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(mismatches.size(), 0));
  EXPECT_EQ(DocumentRegistry::instance().size(), documents_before);
}

}  // namespace
}  // namespace drovanexis
