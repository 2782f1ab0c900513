#include "cbb/cbb_log.h"

#include <ctime>

#include "portable/cp1252.h"
#include "portable/file_io.h"

namespace drovanexis::cbb {

CbbLog::CbbLog(std::string_view heading) {
  lines_.push_back(local_time_text() + " " + std::string(heading));
}

void CbbLog::step(std::string_view text) { lines_.push_back("  " + std::string(text)); }

void CbbLog::error(std::string_view text) { lines_.push_back("  ERROR: " + std::string(text)); }

std::string CbbLog::text() const {
  std::string out;
  for (const auto& line : lines_) out += portable::utf8_to_cp1252(line) + "\r\n";
  return out;
}

bool CbbLog::append_to(std::string_view file_name) const noexcept {
  try {
    portable::append_file(file_name, text(), "\r\n");
    return true;
  } catch (...) {
    return false;
  }
}

std::string local_time_text() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
  return buffer;
}

}  // namespace drovanexis::cbb
