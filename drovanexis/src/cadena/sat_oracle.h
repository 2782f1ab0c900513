#pragma once

// For tests: runs the SAT reference scripts of the shared folder (CFDI_SAT_DIR)
// on a file and returns what they print.

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "document/element.h"
#include "tests/support/command_output.h"
#include "tests/support/sat_folder.h"

namespace drovanexis::testing {

struct CommandResult {
  int exit_code = -1;
  std::string output;  // standard output only
};

inline std::filesystem::path sat_dir() { return CFDI_SAT_DIR; }

inline bool sat_available() { return std::filesystem::exists(sat_dir() / "bin" / "cadena-cfdi33"); }

// In a test body: skips the test with a message when the SAT folder is absent,
// or fails it when the environment variable CI is set, where the folder must be.
#define CFDI_REQUIRE_SAT_ORACLE()                          \
  CFDI_REQUIRE_SAT(::drovanexis::testing::sat_available(), \
                   "SAT oracle folder not found at " << ::drovanexis::testing::sat_dir())

inline std::string shell_quoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

inline CommandResult run_command(const std::string& command) {
  const test_support::CommandOutput ran = test_support::run_command_line(command);
  return {ran.exit_code.value_or(-1), ran.output};
}

// Runs bin/<script> with the given arguments (each quoted for the shell).
template <typename... Args>
CommandResult run_sat_script(std::string_view script, const Args&... args) {
  std::string command = shell_quoted((sat_dir() / "bin" / script).string());
  ((command += " " + shell_quoted(std::filesystem::path(args).string())), ...);
  return run_command(command);
}

// A plain serialisation of the tree (names and attributes as they are, in
// tree order), enough to hand a document read by parse_xml back to the
// scripts without depending on the library's writer.
inline void append_escaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\t': out += "&#9;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      default: out += c;
    }
  }
}

inline void append_element(std::string& out, const Element& element) {
  out += '<' + element.name();
  for (const auto& attribute : element.attributes()) {
    out += ' ' + attribute.name + "=\"";
    append_escaped(out, attribute.value);
    out += '"';
  }
  if (element.children().empty() && element.text().empty()) {
    out += "/>";
    return;
  }
  out += '>';
  append_escaped(out, element.text());
  for (const auto& child : element.children()) append_element(out, *child);
  out += "</" + element.name() + '>';
}

inline void write_tree(const Element& root, const std::filesystem::path& file) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  append_element(out, root);
  std::ofstream(file, std::ios::binary) << out;
}

}  // namespace drovanexis::testing
