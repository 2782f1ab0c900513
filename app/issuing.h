#pragma once
// The sequence every issuing operation shares: the wait line, a new document,
// the operation's own building calls, the processing call, the result pages
// (the success sequence or the error page), the release of the document and a
// cleared screen. The operations differ only in their texts and their
// building calls.

#include <cstdint>
#include <functional>
#include <source_location>
#include <string_view>

namespace app {

// Password of the sample CSD keys in the working folder.
inline constexpr const char* kSampleKeyPassword = "24681357q";

// Windows-1252 texts; the file names are zero-terminated because they go to
// the library as they are.
struct ScenarioTexts {
  std::string_view wait_line;    // shown at row 3, column 5 while working
  std::string_view page1_title;  // page-1 banner title, without its blanks
  const char* certificate_file;  // CSD certificate in the working folder
  const char* key_file;          // its private key
  const char* output_file;       // stamped XML the library writes, shown on page 1
};

// Fills the document whose handle it receives.
using DocumentBuilder = std::function<void(std::int32_t handle)>;

// Runs the whole sequence. nError receives the processing result, cArchivo
// the text shown on page 1 or on the error page. The document is released
// on every path, also when a page is left through an exception.
// The calling operation's frame shows the line of this call.
void issue_document(const ScenarioTexts& texts, const DocumentBuilder& build,
                    std::source_location caller = std::source_location::current());

}  // namespace app
