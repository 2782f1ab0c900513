#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/command_output.h"

namespace test_support {
namespace {

TEST(TestFolder, IsTheWorkingFolderUntilItIsRemovedWithItsFiles) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::path inside;
  {
    TestFolder folder;
    inside = folder.path();
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), inside));
    std::filesystem::create_directory("sub");
    std::ofstream("sub/file.txt") << "x";
  }
  EXPECT_EQ(std::filesystem::current_path(), before);
  EXPECT_FALSE(std::filesystem::exists(inside));
}

TEST(CommandLine, GivesTheOutputAndTheExitCode) {
  const CommandOutput plain = run_command_line("echo out; echo err >&2; exit 4");
  EXPECT_EQ(plain.output, "out\n");
  EXPECT_EQ(plain.exit_code, std::optional<int>(4));
  const CommandOutput joined = run_command_line("echo err >&2; (sleep 0.1; echo late) &", true);
  EXPECT_EQ(joined.output, "err\nlate\n");
}

}  // namespace
}  // namespace test_support
