// Any bytes given to Drovanexis_Load as a saved document either become a
// document or are refused with DocumentFileError; nothing else may happen (no
// crash, no other exception). What loads, saved again and loaded once more,
// gives the same file: Save and Load lose nothing between them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "services/document_file.h"

namespace {

using drovanexis::services::document_file_text;
using drovanexis::services::document_from_file_text;
using drovanexis::services::DocumentFileError;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string saved;
  try {
    saved = document_file_text(document_from_file_text(text));
  } catch (const DocumentFileError&) {
    return 0;
  }
  std::string saved_again;
  try {
    saved_again = document_file_text(document_from_file_text(saved));
  } catch (const DocumentFileError& error) {
    FUZZ_CHECK(false, "a saved document does not load again: %s\n%s", error.what(), saved.c_str());
  }
  FUZZ_CHECK(saved == saved_again, "saving the reloaded document changed the file:\n%s\n---\n%s",
             saved.c_str(), saved_again.c_str());
  return 0;
}
