// Every entry called with null texts and zero integers, on a live document
// and on handles that name none: nothing may crash, and the document stays
// writable and readable as XML.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "api/document_entries.h"
#include "api/entry_macros.h"
#include "document/document_registry.h"
#include "drovanexis.h"
#include "tests/support/test_folder.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

namespace drovanexis {
namespace {

// The entries of the table, each with null texts for all its positions.
void call_every_document_entry_with_nulls(std::int32_t handle) {
#define DOCUMENT_ENTRY(entry, action, parent, node, ...) entry(handle DX_NULL_ARGS(__VA_ARGS__));
#include "api/document_entries.inc"
#undef DOCUMENT_ENTRY
}

// Every entry: the table's, then those outside it.
void call_every_entry_with_nulls(std::int32_t handle) {
  call_every_document_entry_with_nulls(handle);
  Drovanexis_ProcesaDocumento(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_GetValue(handle, 0);
  Drovanexis_SetVelmoranetInfo(handle, nullptr, nullptr);
  Drovanexis_SetCompleteXML_cfdi33(handle, nullptr);
  Drovanexis_CancelaCFDI(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
  Drovanexis_GetStatusCFDI(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_RecuperaAcuseCancelacion(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr);
  Drovanexis_GeneraCBB(nullptr, nullptr, 0, nullptr, 0, 0, 0);
  Drovanexis_CerTo64(nullptr);
  Drovanexis_ProcesaDocumentoSSL(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_SetTolviqueInfo(handle, nullptr, nullptr);
  Drovanexis_SetDllPath(handle, nullptr);
  Drovanexis_GetValueInFile(0, 0, nullptr);
  Drovanexis_ProcessFile(nullptr);
  Drovanexis_CheckFile(nullptr);
  Drovanexis_SetLogFile(handle, nullptr);
  Drovanexis_ShowValue(0, 0, nullptr);
  Drovanexis_FirmaSellaDocto(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_Save(handle, nullptr);
  Drovanexis_Load(nullptr);
  Drovanexis_GetTimeWithDelay(0, 0);
  Drovanexis_GetValues(0, nullptr, 0);
  Drovanexis_CancelaUUID(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_CerKeyMatch(handle, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_ConsultaSaldos(nullptr, nullptr, 0, nullptr);
  Drovanexis_ConsultaEstadoCFDI(nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_FileTo64(nullptr);
  Drovanexis_MasivaDescarga(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_MasivaVerifica(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  Drovanexis_MasivaSolicitaEmitidoXML(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr);
  Drovanexis_MasivaSolicitaEmitidoMetadata(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           nullptr, nullptr, nullptr, nullptr);
  Drovanexis_MasivaSolicitaRecibidoXML(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr);
  Drovanexis_MasivaSolicitaRecibidoMetadata(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr);
}

// The parameter lists of the program's binding table, as counts: a document
// entry there is the handle followed by texts.
struct BindingShape {
  bool handle_first = false;
  std::size_t texts = 0;
};
constexpr BindingShape handle_only() { return {true, 0}; }
constexpr BindingShape handle_and_texts(std::size_t count) { return {true, count}; }
constexpr BindingShape texts(std::size_t count) { return {false, count}; }
constexpr BindingShape kinds(std::string_view) { return {false, 0}; }

struct BindingRow {
  std::string_view entry;
  BindingShape shape;
};

constexpr BindingRow kBindingRows[] = {
#define DROVANEXIS_ENTRY(binding_name, entry_name, params, result) {#entry_name, params},
#include "binding/entry_list.inc"
#undef DROVANEXIS_ENTRY
};

// Each row of the library's table is an entry the program can bind, with the
// handle first and one text per position.
TEST(EveryEntry, EntryTableAgreesWithTheBindingTable) {
  for (const DocumentEntrySpec& entry : api::document_entries()) {
    const auto row = std::find_if(std::begin(kBindingRows), std::end(kBindingRows),
                                  [&](const BindingRow& r) { return r.entry == entry.name; });
    ASSERT_NE(row, std::end(kBindingRows)) << entry.name << " is not in the binding table";
    EXPECT_TRUE(row->shape.handle_first) << entry.name;
    EXPECT_EQ(row->shape.texts, entry.fields.size()) << entry.name;
  }
}

TEST(EveryEntry, NullTextsAndZeroIntegersAreHarmless) {
  // Some entries write their log to the working folder: keep it out of the build tree.
  const test_support::TestFolder folder;

  const std::int32_t handle = Drovanexis_New(nullptr);
  ASSERT_GT(handle, 0);
  call_every_entry_with_nulls(handle);
  for (const std::int32_t other : {0, -7, handle + 1000}) call_every_entry_with_nulls(other);

  const Document* document = DocumentRegistry::instance().find(handle);
  ASSERT_NE(document, nullptr);
  const std::string xml = write_xml(document->root);
  EXPECT_NO_THROW(parse_xml(xml)) << xml;
  Drovanexis_Free(handle);
  EXPECT_EQ(DocumentRegistry::instance().find(handle), nullptr);
}

}  // namespace
}  // namespace drovanexis
