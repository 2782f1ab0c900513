#include "api/api_support.h"

#include "document/document_registry.h"
#include "portable/cp1252.h"
#include "portable/file_io.h"

namespace drovanexis::api {

std::string utf8(const char* text) {
  return text == nullptr ? std::string() : portable::cp1252_to_utf8(text);
}

std::string file_name(const char* name) { return utf8(name); }

std::string secret(const char* password) { return utf8(password); }

std::string log_file_of(std::int32_t handle) {
  std::string log_file = "Drovanexis.log";
  DocumentRegistry::instance().with_document(handle, [&](Document& document) {
    if (!document.log_file.empty()) log_file = document.log_file;
  });
  return log_file;
}

void build(std::int32_t handle, Builder builder, std::initializer_list<const char*> texts) {
  try {
    Values values;
    values.reserve(texts.size());
    for (const char* text : texts) values.push_back(utf8(text));
    DocumentRegistry::instance().with_document(
        handle, [&](Document& document) { builder(document, values); });
  } catch (...) {
    // Nothing may cross the C interface.
  }
}

void build_entry(std::int32_t handle, const DocumentEntrySpec& entry,
                 std::initializer_list<const char*> texts) {
  try {
    // An XML text keeps its bytes: its own declaration names its encoding.
    const bool raw = entry.action == EntryAction::kAddXml || entry.action == EntryAction::kSetXml;
    Values values;
    values.reserve(texts.size());
    for (const char* text : texts) {
      values.push_back(raw ? std::string(text == nullptr ? "" : text) : utf8(text));
    }
    DocumentRegistry::instance().with_document(
        handle, [&](Document& document) { apply_entry(document, entry, values); });
  } catch (...) {
    // Nothing may cross the C interface.
  }
}

}  // namespace drovanexis::api
