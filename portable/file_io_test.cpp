#include "portable/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "tests/support/test_folder.h"

namespace fs = std::filesystem;

TEST(FileIo, ReadsWholeFilesByWindowsNames) {
  test_support::TestFolder folder;
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
  test_support::TestFolder folder;
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

// The bounded read refuses by the file's size and type before reading: a
// sparse file of gigabytes, a FIFO without a writer and an endless device all
// cost nothing, and a file at the limit is read whole.
TEST(FileIo, BoundedReadTakesOnlyRegularFilesWithinTheLimit) {
  test_support::TestFolder folder;
  ASSERT_EQ(::mkfifo("pipe.xml", 0600), 0);
  fs::create_directory("folder");
  std::ofstream("at_limit.xml") << "12345678";
  std::ofstream("over.xml") << "123456789";
  std::ofstream("empty.xml");
  const int sparse = ::open("sparse.xml", O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(sparse, 0);
  ASSERT_EQ(::ftruncate(sparse, off_t{3} << 30), 0);
  ::close(sparse);
  ASSERT_EQ(::symlink("at_limit.xml", "link.xml"), 0);

  const struct {
    const char* name;
    std::optional<portable::ReadFailure> failure;
    const char* bytes;
  } cases[] = {
      {"at_limit.xml", std::nullopt, "12345678"},
      {"link.xml", std::nullopt, "12345678"},
      {"empty.xml", std::nullopt, ""},
      {"over.xml", portable::ReadFailure::too_large, ""},
      {"sparse.xml", portable::ReadFailure::too_large, ""},
      {"pipe.xml", portable::ReadFailure::not_regular, ""},
      {"/dev/zero", portable::ReadFailure::not_regular, ""},
      {"folder", portable::ReadFailure::not_regular, ""},
      {"missing.xml", portable::ReadFailure::not_found, ""},
      {"at_limit.xml/inside", portable::ReadFailure::not_found, ""},
  };
  const auto started = std::chrono::steady_clock::now();
  for (const auto& c : cases) {
    const portable::BoundedRead read = portable::read_regular_file(c.name, 8);
    EXPECT_EQ(read.failure, c.failure) << c.name;
    EXPECT_EQ(read.bytes, c.bytes) << c.name;
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

// Both kinds of atomic write: flushed to disk, and replaced whole only.
constexpr portable::Durability kDurabilities[] = {portable::Durability::durable,
                                                  portable::Durability::replace_only};

TEST(FileIo, AtomicWriteReplacesAndLeavesNoTemporaryFiles) {
  for (const auto durability : kDurabilities) {
    test_support::TestFolder folder;
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
      test_support::TestFolder folder;
      try {
        portable::write_file_atomic("nofolder\\out.xml", "x", durability);
        ADD_FAILURE() << "writing into a missing folder succeeded";
      } catch (const std::system_error& e) {
        EXPECT_NE(std::string(e.what()).find("nofolder/out.xml"), std::string::npos) << e.what();
      }
      continue;
    }
    test_support::TestFolder folder;
    portable::write_file_atomic("out.xml", "kept", durability);
    fs::permissions(".", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(portable::write_file_atomic("out.xml", "lost", durability), std::system_error);
    fs::permissions(".", fs::perms::owner_all);
    EXPECT_EQ(portable::read_file("out.xml"), "kept");
  }
}

// A write starts by sweeping its folder of the temporary files a killed
// process left: ours by name, older than a minute, not locked by a writer.
TEST(FileIo, StaleTemporaryFilesOfKilledWritersAreRemoved) {
  test_support::TestFolder folder;
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
  for (const char* name : {".out.xml.dvxtmp.AAAAAA", ".out.xml.dvxtmp.BBBBBB",
                           ".out.xml.dvxtmp.CCCCCC", ".out.xml.dvxtmp.DDDDDDD", "keep.txt"}) {
    std::ofstream(name) << "partial";
    if (std::string(name) != ".out.xml.dvxtmp.CCCCCC") fs::last_write_time(name, old);
  }
  // A writer still running holds its lock.
  const int locked = ::open(".out.xml.dvxtmp.BBBBBB", O_RDONLY);
  ASSERT_GE(locked, 0);
  ASSERT_EQ(::flock(locked, LOCK_EX), 0);

  portable::write_file_atomic("Out.xml", "whole");

  EXPECT_FALSE(fs::exists(".out.xml.dvxtmp.AAAAAA"));  // stale: removed
  EXPECT_TRUE(fs::exists(".out.xml.dvxtmp.BBBBBB"));   // locked
  EXPECT_TRUE(fs::exists(".out.xml.dvxtmp.CCCCCC"));   // too young
  EXPECT_TRUE(fs::exists(".out.xml.dvxtmp.DDDDDDD"));  // not our pattern
  EXPECT_TRUE(fs::exists("keep.txt"));
  EXPECT_EQ(portable::read_file("out.xml"), "whole");
  ::close(locked);
}

// A device or a folder is never replaced by a regular file.
TEST(FileIo, TargetsThatAreNotRegularFilesAreRefused) {
  test_support::TestFolder folder;
  EXPECT_THROW(portable::write_file_atomic("/dev/null", "x"), std::system_error);
  struct stat info {};
  ASSERT_EQ(::stat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  fs::create_directory("dir.xml");
  EXPECT_THROW(portable::write_file_atomic("dir.xml", "x"), std::system_error);
  EXPECT_TRUE(fs::is_directory("dir.xml"));
}

// Appending refuses what is not a regular file, a FIFO without a reader
// included (without waiting for one), and creates a missing file.
TEST(FileIo, AppendTakesOnlyRegularFiles) {
  test_support::TestFolder folder;
  ASSERT_EQ(::mkfifo("pipe.log", 0600), 0);
  fs::create_directory("dir.log");
  for (const char* name : {"/dev/null", "dir.log", "pipe.log", "missing-folder/x.log"}) {
    EXPECT_THROW(portable::append_file(name, "x"), std::system_error) << name;
  }
  portable::append_file("New.log", "one", "\r\n");
  portable::append_file(".\\new.log", "two", "\r\n");
  EXPECT_EQ(portable::read_file("New.log"), "one\r\ntwo");
}

// Nothing is left behind when the staged file is given up.
TEST(FileIo, StagedFileNotCommittedLeavesTheTargetAndNoTemporary) {
  test_support::TestFolder folder;
  portable::write_file_atomic("out.xml", "kept");
  {
    portable::StagedFile staged("out.xml");
    staged.write("never seen", portable::Durability::durable);
  }
  EXPECT_EQ(portable::read_file("out.xml"), "kept");
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(".")) ++files;
  EXPECT_EQ(files, 1);
}
