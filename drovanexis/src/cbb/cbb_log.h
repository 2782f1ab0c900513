#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace drovanexis::cbb {

// The lines one CBB call adds to its log: a heading with the time, then one
// line per step.
class CbbLog {
 public:
  explicit CbbLog(std::string_view heading);

  void step(std::string_view text);
  void error(std::string_view text);

  // Adds the lines to the end of the file (created when missing) in one
  // write, on a line of their own; the earlier content is left as it is.
  // False when it could not be written.
  bool append_to(std::string_view file_name) const noexcept;

  // The lines in the file's form: Windows-1252, CR LF.
  std::string text() const;

 private:
  std::vector<std::string> lines_;  // UTF-8
};

// The local time as "yyyy-mm-dd hh:mm:ss".
std::string local_time_text();

}  // namespace drovanexis::cbb
