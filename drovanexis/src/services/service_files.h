#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace drovanexis::services {

// The log of one service request (cancellation, status query,
// acknowledgement): a heading, the request's fields, one line per step, the
// answer's fields and the result. Windows-1252 with CR LF line ends, lines
// of at most 38 columns, so that the program's half-screen viewer shows them
// as written.
class ServiceLog {
 public:
  ServiceLog(std::string_view service, std::string_view time, std::string_view library_version);

  // A "name: value" line under a section heading ("Solicitud", "Respuesta").
  void section(std::string_view heading);
  void field(std::string_view name, std::string_view value);
  void step(std::string_view text);
  void error(std::string_view text);
  // The closing line: the result code and what it means.
  void result(int code, std::string_view meaning);

  std::string text() const;
  // Replaces the file atomically; false when it could not be written (the
  // service's result does not depend on its log).
  bool write(std::string_view file_name) const noexcept;

 private:
  void add(std::string_view first_prefix, std::string_view text);

  std::vector<std::string> lines_;  // UTF-8, already wrapped
};

// The answer of a service as "key=value" lines (Windows-1252, CR LF), in the
// order the keys were first set.
class ResultIni {
 public:
  void set(std::string_view key, std::string_view value);
  // "" for a key never set.
  std::string get(std::string_view key) const;

  std::string text() const;
  // Replaces the file atomically; throws std::system_error naming the file.
  void write(std::string_view file_name) const;

 private:
  std::vector<std::pair<std::string, std::string>> entries_;  // UTF-8
};

}  // namespace drovanexis::services
