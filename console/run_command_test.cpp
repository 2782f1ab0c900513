#include "console/run_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/test_folder.h"

namespace console {
namespace {

TEST(RunCommand, RunsThroughTheInterpreterAndTakesTheTerminalBack) {
  test_support::TestFolder folder;
  HeadlessBackend backend;
  Console con(backend);
  con.write_at(1, 0, "kept");
  run_command(con, "echo ran > out.txt; exit 3");
  std::ifstream out("out.txt");
  std::string line;
  std::getline(out, line);
  EXPECT_EQ(line, "ran");
  EXPECT_EQ(backend.suspend_count(), 1);
  EXPECT_EQ(backend.resume_count(), 1);
  ASSERT_TRUE(backend.last_presented().has_value());
  EXPECT_EQ(backend.last_presented()->row_text(1).substr(0, 4), "kept");
}

TEST(RunCommand, WithoutAnInterpreterNothingHappens) {
  test_support::TestFolder folder;
  HeadlessBackend backend;
  Console con(backend);
  run_command(con, "echo ran > out.txt", (folder.path() / "no-such-shell").string());
  EXPECT_FALSE(std::filesystem::exists("out.txt"));
  EXPECT_EQ(backend.suspend_count(), 0);
}

}  // namespace
}  // namespace console
