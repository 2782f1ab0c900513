// The document-building entries, generated from api/document_entries.inc: the
// table of what each entry builds and the exported function of each row.
// The functions are defined inside extern "C", so a row whose position count
// differs from the entry's declaration in drovanexis.h does not compile.
#include <array>
#include <cstddef>
#include <string_view>

#include "api/api_support.h"
#include "api/document_entries.h"
#include "api/entry_macros.h"
#include "drovanexis.h"

namespace drovanexis::api {
namespace {

#define DOCUMENT_ENTRY(entry, action, parent, node, ...) \
  constexpr auto kFieldsOf_##entry =                     \
      fields_of(std::array<std::string_view, DX_COUNT(__VA_ARGS__)>{__VA_ARGS__});
#include "api/document_entries.inc"
#undef DOCUMENT_ENTRY

constexpr DocumentEntrySpec kDocumentEntries[] = {
#define DOCUMENT_ENTRY(entry, action, parent, node, ...) \
  {#entry, EntryAction::action, parent, node, kFieldsOf_##entry},
#include "api/document_entries.inc"
#undef DOCUMENT_ENTRY
};

enum class EntryIndex : std::size_t {
#define DOCUMENT_ENTRY(entry, ...) entry,
#include "api/document_entries.inc"
#undef DOCUMENT_ENTRY
};

const DocumentEntrySpec& row(EntryIndex index) {
  return kDocumentEntries[static_cast<std::size_t>(index)];
}

}  // namespace

std::span<const DocumentEntrySpec> document_entries() { return kDocumentEntries; }

}  // namespace drovanexis::api

extern "C" {
#define DOCUMENT_ENTRY(entry, action, parent, node, ...)                                           \
  void entry(int32_t handle DX_TEXT_PARAMS(__VA_ARGS__)) {                                         \
    drovanexis::api::build_entry(handle, drovanexis::api::row(drovanexis::api::EntryIndex::entry), \
                                 {DX_TEXT_ARGS(__VA_ARGS__)});                                     \
  }
#include "api/document_entries.inc"
#undef DOCUMENT_ENTRY
}
