// Both tools answer --version and --help as a system's own tools do: on
// standard output, with exit code 0; a usage error goes to standard error
// with exit code 2.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "portable/test_folder.h"
#include "tools/cli_test_support.h"

namespace {

using cli_test::kBin;
using cli_test::Outcome;

std::string first_line(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(ToolIdentity, VersionHelpAndUsageErrors) {
  const portable::TestFolder folder;
  enum Stream { kOut, kErr };
  const struct Case {
    const char* program;
    std::vector<std::string> args;
    int exit_code;
    Stream stream;
    std::string first_line;
  } cases[] = {
      {"drovanexis", {"--version"}, 0, kOut, "drovanexis " DROVANEXIS_VERSION},
      {"drovanexis", {"--help"}, 0, kOut, "usage: drovanexis SUBCOMMAND [OPTIONS] [FILE...]"},
      {"drovanexis", {"-h"}, 0, kOut, "usage: drovanexis SUBCOMMAND [OPTIONS] [FILE...]"},
      {"drovanexis", {"help", "qr"}, 0, kOut, "usage: drovanexis qr --out BMP [--json] FILE"},
      {"drovanexis", {"cer64", "--help"}, 0, kOut, "usage: drovanexis cer64 [--json] CERTIFICATE"},
      {"drovanexis", {}, 2, kErr, "drovanexis: missing subcommand"},
      {"drovanexis", {"--verzion"}, 2, kErr, "drovanexis: unknown subcommand \"--verzion\""},
      {"drovanexis-sandbox", {"--version"}, 0, kOut, "drovanexis-sandbox " DROVANEXIS_VERSION},
      {"drovanexis-sandbox", {"--help"}, 0, kOut, "usage: drovanexis-sandbox init DIR"},
      {"drovanexis-sandbox", {"-h"}, 0, kOut, "usage: drovanexis-sandbox init DIR"},
      {"drovanexis-sandbox", {}, 2, kErr, "usage: drovanexis-sandbox init DIR"},
      {"drovanexis-sandbox", {"serve", "now"}, 2, kErr, "usage: drovanexis-sandbox init DIR"},
      {"drovanexis-sandbox", {"--version", "x"}, 2, kErr, "usage: drovanexis-sandbox init DIR"},
  };
  for (const Case& c : cases) {
    std::string call = c.program;
    for (const auto& arg : c.args) call += " " + arg;
    const Outcome result = cli_test::run(kBin / c.program, c.args);
    const std::string& shown = c.stream == kOut ? result.out : result.err;
    const std::string& silent = c.stream == kOut ? result.err : result.out;
    EXPECT_EQ(result.exit_code, c.exit_code) << call;
    EXPECT_EQ(first_line(shown), c.first_line) << call;
    EXPECT_EQ(silent, "") << call;
  }
}

// The help of the command line ends with its exit codes, which the manual
// page carries too.
TEST(ToolIdentity, HelpNamesTheExitCodes) {
  const portable::TestFolder folder;
  for (const char* program : {"drovanexis", "drovanexis-sandbox"}) {
    const Outcome result = cli_test::run(kBin / program, {"--help"});
    EXPECT_NE(result.out.find("Exit codes: 0 "), std::string::npos) << program << result.out;
  }
}

}  // namespace
