#pragma once

// For tests: runs the SAT reference scripts of the shared folder (CFDI_SAT_DIR)
// on a file and returns what they print.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace drovanexis::testing {

struct CommandResult {
  int exit_code = -1;
  std::string output;  // standard output only
};

inline std::filesystem::path sat_dir() { return CFDI_SAT_DIR; }

inline bool sat_available() {
  return std::filesystem::exists(sat_dir() / "bin" / "cadena-cfdi33");
}

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
  CommandResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  const int status = ::pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// Runs bin/<script> with the given arguments (each quoted for the shell).
template <typename... Args>
CommandResult run_sat_script(std::string_view script, const Args&... args) {
  std::string command = shell_quoted((sat_dir() / "bin" / script).string());
  ((command += " " + shell_quoted(std::filesystem::path(args).string())), ...);
  return run_command(command);
}

}  // namespace drovanexis::testing
