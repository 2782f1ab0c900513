#include "services/service_files.h"

#include <algorithm>

#include "issue/text_wrap.h"
#include "portable/cp1252.h"
#include "portable/file_io.h"

namespace drovanexis::services {

namespace {

// The program shows a service's log in the right half of its result screen,
// whose viewer wraps at 38 columns: lines no wider than that keep their
// layout there, and read as well in a full-width viewer.
constexpr std::size_t kWidth = 38;

std::string with_crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) out += portable::utf8_to_cp1252(line) + "\r\n";
  return out;
}

// Values go on one line each: a line break inside one would start a new key.
std::string one_line(std::string_view value) {
  std::string out(value);
  std::replace(out.begin(), out.end(), '\r', ' ');
  std::replace(out.begin(), out.end(), '\n', ' ');
  return out;
}

}  // namespace

ServiceLog::ServiceLog(std::string_view service, std::string_view time,
                       std::string_view library_version) {
  add("", "Drovanexis " + std::string(library_version) + " - " + std::string(service));
  add("Fecha: ", time);
  lines_.push_back(std::string(kWidth, '-'));
}

void ServiceLog::add(std::string_view first_prefix, std::string_view text) {
  for (auto& line : wrap_text(first_prefix, clip_log_text(one_line(text)), kWidth)) {
    lines_.push_back(std::move(line));
  }
}

void ServiceLog::section(std::string_view heading) { add("", std::string(heading) + ":"); }

void ServiceLog::field(std::string_view name, std::string_view value) {
  add("  " + std::string(name) + ": ", value.empty() ? std::string_view("(vacío)") : value);
}

void ServiceLog::step(std::string_view text) { add("[OK] ", text); }

void ServiceLog::error(std::string_view text) { add("[ERROR] ", text); }

void ServiceLog::result(int code, std::string_view meaning) {
  lines_.push_back(std::string(kWidth, '-'));
  add("Resultado: ", std::to_string(code) + " - " + std::string(meaning));
}

std::string ServiceLog::text() const { return with_crlf(lines_); }

bool ServiceLog::write(std::string_view file_name) const noexcept {
  try {
    portable::write_file_atomic(file_name, text());
    return true;
  } catch (...) {
    return false;
  }
}

void ResultIni::set(std::string_view key, std::string_view value) {
  for (auto& [existing, stored] : entries_) {
    if (existing == key) {
      stored = one_line(value);
      return;
    }
  }
  entries_.emplace_back(std::string(key), one_line(value));
}

std::string ResultIni::get(std::string_view key) const {
  for (const auto& [existing, stored] : entries_) {
    if (existing == key) return stored;
  }
  return "";
}

std::string ResultIni::text() const {
  std::vector<std::string> lines;
  lines.reserve(entries_.size());
  for (const auto& [key, value] : entries_) lines.push_back(key + "=" + value);
  return with_crlf(lines);
}

void ResultIni::write(std::string_view file_name) const {
  portable::write_file_atomic(file_name, text());
}

}  // namespace drovanexis::services
