#pragma once

#include <cstdint>
#include <string_view>

#include "document/document.h"

namespace drovanexis {

// Processes one document end to end with the provider open_provider() gives:
//   external XML (if one was set) read into the tree; "%cb_date" replaced by
//   the time of central Mexico; certificate and key read; sealed; handed
//   over to the provider, which validates it with its rules and stamps it
//   (one stamp taken and the document recorded in its ledger); the stamped
//   XML written atomically to output_file; result values 1-18 filled.
// Returns 0 on success. On failure returns the number of the first error's
// code (e.g. 33118 for CFDI33118, 702 for an empty account), value 1 carries
// that number, value 2 "<code>: <description>", the rest are "", and output_file is
// left as it was. "Drovanexis.log" in the working folder (or the document's
// own log file, when one was named) is rewritten by every call. File names are Windows-style (".\",
// backslashes, any letter case); texts are UTF-8. Never throws.
int process_document(Document& document, std::string_view certificate_file,
                     std::string_view key_file, std::string_view key_password,
                     std::string_view output_file) noexcept;

// The same steps up to the seal, then the provider's rules without a stamp:
// writes the sealed XML to output_file and fills values 1, 3, 5, 7, 11, 12,
// 15 and 16. The document keeps its tree (it can be processed afterwards).
// Returns 0 or the codes process_document returns. Never throws.
int seal_document_only(Document& document, std::string_view certificate_file,
                       std::string_view key_file, std::string_view key_password,
                       std::string_view output_file) noexcept;

// The common run of both: stamp false stops after the provider's rules.
int run_pipeline(Document& document, std::string_view certificate_file, std::string_view key_file,
                 std::string_view key_password, std::string_view output_file, bool stamp) noexcept;

// Processing asked for with a handle that names no document: rewrites the
// log with that error and returns 806. Never throws.
int report_missing_document(std::int32_t handle, std::string_view output_file) noexcept;

// The log file process_document writes.
inline constexpr std::string_view kProcessingLogFile = "Drovanexis.log";

}  // namespace drovanexis
