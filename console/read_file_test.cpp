#include "console/read_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

// The demo hands an external document to the library only when it is a
// regular file within the library's limit: a FIFO is not waited on and a
// larger file is not read at all.
TEST(ReadFile, ALimitAndSpecialFilesGiveNothingWithoutWaiting) {
  test_support::TestFolder folder;
  write("small.xml", "<a/>");
  write("large.xml", "<a>more than the limit</a>");
  ASSERT_EQ(::mkfifo("pipe.xml", 0600), 0);

  EXPECT_EQ(read_file("small.xml", 4), "<a/>");
  EXPECT_EQ(read_file("large.xml", 4), "");
  EXPECT_EQ(read_file("pipe.xml", 4), "");
  EXPECT_EQ(read_file("/dev/zero", 4), "");
}

}  // namespace
}  // namespace console
