#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace drovanexis::issue {

// The processing log "Drovanexis.log": a header (time, library version,
// document), one line per step and one per error, in Spanish. The file is in
// Windows-1252 with CR LF line ends, as the program's viewer reads it, and no
// line is wider than 79 columns: longer texts continue on indented lines.
class ProcessingLog {
 public:
  ProcessingLog(std::string_view time, std::string_view library_version, std::string_view document);

  void step(std::string_view text);
  // One error: its code, the node and attribute concerned ("" when none) and
  // the explanation with the values found.
  void error(std::string_view code, std::string_view node, std::string_view attribute,
             std::string_view explanation);
  // The closing line: success, or the result number and how many errors
  // were found.
  void result(int code, std::size_t error_count = 0);

  // The whole log as written to the file.
  std::string text() const;
  // Replaces the file atomically (not flushed to disk: it is only a
  // diagnostic); false when it could not be written (the
  // processing result does not depend on its log).
  bool write(std::string_view file_name) const noexcept;

 private:
  void add(std::string_view first_prefix, std::string_view text);

  std::vector<std::string> lines_;  // UTF-8, already wrapped
};

}  // namespace drovanexis::issue
