#pragma once

// For the tests of the drovanexis command line: the real executables of the
// build run in a working folder prepared by "drovanexis-sandbox init".

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "portable/test_folder.h"

extern char** environ;

namespace cli_test {

namespace fs = std::filesystem;

inline const fs::path kBin = fs::path(CFDI_BINARY_DIR) / "bin";
inline const fs::path kSat = CFDI_SAT_DIR;
constexpr const char* kPassword = "24681357q";

struct Outcome {
  int exit_code = -1;
  std::string out;
  std::string err;
};

inline std::string read_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void write_file(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

inline std::string quoted(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs a program of the build (or any path) in the working folder.
inline Outcome run(const fs::path& program, const std::vector<std::string>& args) {
  std::string line = quoted(program.string());
  for (const auto& arg : args) line += " " + quoted(arg);
  line += " >cli.out 2>cli.err </dev/null";
  const int status = std::system(line.c_str());
  Outcome result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = read_file("cli.out");
  result.err = read_file("cli.err");
  fs::remove("cli.out");
  fs::remove("cli.err");
  return result;
}

inline Outcome drovanexis(const std::vector<std::string>& args) { return run(kBin / "drovanexis", args); }

inline bool have_sat() {
  if (fs::is_directory(kSat)) return true;
  if (std::getenv("CI") != nullptr) ADD_FAILURE() << kSat << " is missing";
  return false;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DROVANEXIS_SANDBOX_DB");
    const Outcome init = run(kBin / "drovanexis-sandbox", {"init", "."});
    ASSERT_EQ(init.exit_code, 0) << init.err;
    sample_ = read_file("ejemploexterno.xml");
  }

  std::vector<std::string> credentials() const {
    return {"--cer",  "CSD_CACX7605101P8.cer", "--key", "CSD_CACX7605101P8.key", "--password",
            kPassword};
  }

  // One stamped copy of the sample invoice, "factura.timbrado.xml".
  void stamp_one() {
    write_file("factura.xml", sample_);
    auto args = credentials();
    args.insert(args.begin(), "stamp");
    args.push_back("factura.xml");
    const Outcome stamped = drovanexis(args);
    ASSERT_EQ(stamped.exit_code, 0) << stamped.err;
  }

  // Unsealed copies of the sample in a folder.
  void make_inputs(const fs::path& folder, int count) {
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
      std::string text = sample_;
      // A distinct Folio per copy, so that every input has its own bytes.
      text.replace(text.find("Folio=\"1001\""), 12, "Folio=\"" + std::to_string(5000 + i) + "\"");
      char name[32];
      std::snprintf(name, sizeof name, "recibo%04d.xml", i);
      write_file(folder / name, text);
    }
  }

  portable::TestFolder folder_;
  std::string sample_;
};

// Starts a program of the build with its output thrown away.
inline pid_t spawn_quietly(const fs::path& program, const std::vector<std::string>& args) {
  std::vector<std::string> words{program.string()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

}  // namespace cli_test
