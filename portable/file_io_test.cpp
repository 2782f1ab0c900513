#include "portable/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "portable/test_folder.h"

namespace fs = std::filesystem;

TEST(FileIo, ReadsWholeFilesByWindowsNames) {
  portable::TestFolder folder;
  const std::string bytes("a\0b\r\n\xF3\x1A", 7);
  std::ofstream("Result.INI", std::ios::binary) << bytes;
  EXPECT_EQ(portable::read_file(".\\result.ini"), bytes);
  EXPECT_EQ(portable::read_file("Result.INI"), bytes);
  EXPECT_EQ(portable::read_file("missing.ini"), std::nullopt);
  fs::create_directory("folder");
  EXPECT_EQ(portable::read_file("folder"), std::nullopt);
}

// A FIFO would block an ordinary open until a writer came; it is refused at
// once, like a folder or a device, and read_failure tells why.
TEST(FileIo, NamesThatAreNotRegularFilesAreRefusedWithoutWaiting) {
  portable::TestFolder folder;
  ASSERT_EQ(::mkfifo("Pipe.xml", 0600), 0);
  fs::create_directory("folder");
  std::ofstream("plain.txt") << "x";
  const struct {
    const char* name;
    portable::ReadFailure failure;
  } cases[] = {
      {".\\pipe.xml", portable::ReadFailure::not_regular},
      {"folder", portable::ReadFailure::not_regular},
      {"/dev/zero", portable::ReadFailure::not_regular},
      {"missing.xml", portable::ReadFailure::not_found},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(portable::read_file(c.name), std::nullopt) << c.name;
    EXPECT_EQ(portable::read_failure(c.name), c.failure) << c.name;
  }
  EXPECT_EQ(portable::read_file("plain.txt"), "x");
}

// Both kinds of atomic write: flushed to disk, and replaced whole only.
constexpr portable::Durability kDurabilities[] = {portable::Durability::durable,
                                                  portable::Durability::replace_only};

TEST(FileIo, AtomicWriteReplacesAndLeavesNoTemporaryFiles) {
  for (const auto durability : kDurabilities) {
    portable::TestFolder folder;
    portable::write_file_atomic("out.xml", "first", durability);
    portable::write_file_atomic(".\\OUT.xml", "second", durability);
    EXPECT_EQ(portable::read_file("out.xml"), "second");
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(".")) ++files;
    EXPECT_EQ(files, 1);
    EXPECT_EQ(fs::status("out.xml").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
  }
}

TEST(FileIo, FailedWriteKeepsThePreviousFileAndNamesIt) {
  for (const auto durability : kDurabilities) {
    if (::geteuid() == 0) {
      // Root ignores folder permissions; use a folder that does not exist instead.
      portable::TestFolder folder;
      try {
        portable::write_file_atomic("nofolder\\out.xml", "x", durability);
        ADD_FAILURE() << "writing into a missing folder succeeded";
      } catch (const std::system_error& e) {
        EXPECT_NE(std::string(e.what()).find("nofolder/out.xml"), std::string::npos) << e.what();
      }
      continue;
    }
    portable::TestFolder folder;
    portable::write_file_atomic("out.xml", "kept", durability);
    fs::permissions(".", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(portable::write_file_atomic("out.xml", "lost", durability), std::system_error);
    fs::permissions(".", fs::perms::owner_all);
    EXPECT_EQ(portable::read_file("out.xml"), "kept");
  }
}
