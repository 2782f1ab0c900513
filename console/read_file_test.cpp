#include "console/read_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/test_folder.h"

namespace console {
namespace {

void write(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary) << bytes;
}

TEST(ReadFile, BytesUnchangedExceptATrailingEndOfFileByte) {
  test_support::TestFolder folder;
  write("Recupera.log", std::string("a\r\nb\x1a", 5));
  write("plain.txt", std::string("x\x1ay\r\n\xF3", 6));
  write("empty.txt", "");
  write("only_eof.txt", "\x1a");
  std::filesystem::create_directory("folder");

  EXPECT_EQ(read_file(".\\Recupera.log"), "a\r\nb");
  EXPECT_EQ(read_file(".\\RECUPERA.LOG"), "a\r\nb");
  EXPECT_EQ(read_file("plain.txt"), std::string("x\x1ay\r\n\xF3", 6));
  EXPECT_EQ(read_file("empty.txt"), "");
  EXPECT_EQ(read_file("only_eof.txt"), "");
  EXPECT_EQ(read_file("missing.txt"), "");
  EXPECT_EQ(read_file("folder"), "");
  EXPECT_EQ(read_file(""), "");
}

}  // namespace
}  // namespace console
