#include "binding/testing/recording_core.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "binding/testing/recording_queries.h"

namespace recording {
namespace {

struct Call {
  std::string text;                // as Recording_Call shows it
  std::vector<Received> received;  // the parameters as they arrived
};

// The recording library is a test double: its whole state lives here, for the
// life of the process or until Recording_Reset.
struct State {
  std::vector<Call> calls;
  std::map<std::int32_t, std::string> values;
  std::map<std::string, std::int32_t> integer_results;
  std::map<std::string, std::string> text_results;
  bool results_file_read = false;
};

State& state() {
  static State instance;
  return instance;
}

std::optional<std::int32_t> whole_number(const std::string& text) {
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0') return std::nullopt;
  return static_cast<std::int32_t>(number);
}

// One line of the results file: "Drovanexis_GetValue 9=text" sets the text of
// value index 9; "ENTRY=text" sets the result of ENTRY (a number for an
// integer entry). Lines without '=' are ignored.
void apply_result_line(State& s, const std::string& line) {
  const auto equals = line.find('=');
  if (equals == std::string::npos) return;
  const std::string key = line.substr(0, equals);
  const std::string value = line.substr(equals + 1);
  const std::string value_prefix = "Drovanexis_GetValue ";
  if (key.starts_with(value_prefix)) {
    if (auto index = whole_number(key.substr(value_prefix.size()))) s.values[*index] = value;
    return;
  }
  s.text_results[key] = value;
  if (auto number = whole_number(value)) s.integer_results[key] = *number;
}

// Results given by DROVANEXIS_RECORDING_RESULTS, read at the first call after
// a reset, so that a whole program can run against the recording library.
void read_results_file(State& s) {
  if (s.results_file_read) return;
  s.results_file_read = true;
  const char* results_file = std::getenv("DROVANEXIS_RECORDING_RESULTS");
  if (!results_file || !*results_file) return;
  std::ifstream in(results_file, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    apply_result_line(s, line);
  }
}

std::string quoted_bytes(const char* text) {
  std::string out = "\"";
  for (const char* p = text; *p; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte < 0x20 || byte >= 0x7F || byte == '"' || byte == '\\') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out + "\"";
}

std::string describe(const char* entry, std::span<const Received> received) {
  std::string text = std::string(entry) + "(";
  for (std::size_t i = 0; i < received.size(); ++i) {
    if (i > 0) text += ", ";
    const Received& param = received[i];
    if (!param.is_text) {
      text += std::to_string(param.integer);
    } else {
      text += param.text ? quoted_bytes(param.text) : "null";
    }
  }
  return text + ")";
}

void append_to_log_file(const std::string& line) {
  const char* log_file = std::getenv("DROVANEXIS_RECORDING_LOG");
  if (!log_file || !*log_file) return;
  std::ofstream out(log_file, std::ios::app | std::ios::binary);
  out << line << '\n';
}

void write_down(const char* entry, std::span<const Received> received) {
  read_results_file(state());
  Call call{describe(entry, received), {received.begin(), received.end()}};
  append_to_log_file(call.text);
  state().calls.push_back(std::move(call));
}

const Call* call_at(std::int32_t index) {
  auto& calls = state().calls;
  if (index < 0 || static_cast<std::size_t>(index) >= calls.size()) return nullptr;
  return &calls[static_cast<std::size_t>(index)];
}

const char* text_or_null(const std::map<std::string, std::string>& texts, const std::string& key) {
  auto found = texts.find(key);
  return found == texts.end() ? nullptr : found->second.c_str();
}

}  // namespace

std::int32_t integer_call(const char* entry, std::span<const Received> received) {
  write_down(entry, received);
  auto& results = state().integer_results;
  auto found = results.find(entry);
  return found == results.end() ? 0 : found->second;
}

const char* text_call(const char* entry, std::span<const Received> received) {
  write_down(entry, received);
  if (std::string(entry) == "Drovanexis_GetValue" && received.size() == 2) {
    auto& values = state().values;
    auto found = values.find(received[1].integer);
    return found == values.end() ? nullptr : found->second.c_str();
  }
  return text_or_null(state().text_results, entry);
}

void none_call(const char* entry, std::span<const Received> received) {
  write_down(entry, received);
}

}  // namespace recording

extern "C" {

void Recording_Reset() { recording::state() = {}; }

std::int32_t Recording_CallCount() {
  return static_cast<std::int32_t>(recording::state().calls.size());
}

const char* Recording_Call(std::int32_t call) {
  const auto* found = recording::call_at(call);
  return found ? found->text.c_str() : nullptr;
}

const void* Recording_TextAddress(std::int32_t call, std::int32_t position) {
  const auto* found = recording::call_at(call);
  if (!found || position < 0 || static_cast<std::size_t>(position) >= found->received.size()) {
    return nullptr;
  }
  return found->received[static_cast<std::size_t>(position)].text;
}

void Recording_SetValue(std::int32_t index, const char* text) {
  auto& values = recording::state().values;
  if (text) {
    values[index] = text;
  } else {
    values.erase(index);
  }
}

void Recording_SetIntegerResult(const char* entry, std::int32_t result) {
  recording::state().integer_results[entry] = result;
}

void Recording_SetTextResult(const char* entry, const char* text) {
  auto& results = recording::state().text_results;
  if (text) {
    results[entry] = text;
  } else {
    results.erase(entry);
  }
}
}
