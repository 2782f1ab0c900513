#include "tools/cli/durable_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "portable/file_io.h"
#include "tests/support/test_folder.h"

namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& file) { return portable::read_file(file.string()).value_or(""); }

// The files of a folder, hidden ones included.
std::size_t entries_in(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(DurableFiles, AGroupIsWrittenWholeWithNothingElseLeftBehind) {
  test_support::TemporaryFolder folder;
  const fs::path out = folder.path() / "out";
  fs::create_directory(out);
  std::ofstream(out / "broken.xml") << "<cfdi:Compro";  // a result made again

  // A new target, one already there, and one in a folder that is missing.
  std::vector<cli::FileToWrite> files{{out / "new.xml", "<new/>", ""},
                                      {out / "broken.xml", "<whole/>", ""},
                                      {folder.path() / "missing" / "x.xml", "<x/>", ""}};
  EXPECT_EQ(cli::write_files_durably(files), 2u);
  EXPECT_EQ(read(out / "new.xml"), "<new/>");
  EXPECT_EQ(read(out / "broken.xml"), "<whole/>");
  for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(files[i].error, "") << i;
  EXPECT_NE(files[2].error.find("missing/"), std::string::npos) << files[2].error;
  EXPECT_NE(files[2].error.find("cannot create"), std::string::npos) << files[2].error;
  EXPECT_FALSE(fs::exists(folder.path() / "missing"));
  // The two results and nothing else: no temporary file is left.
  EXPECT_EQ(entries_in(out), 2u);
}

// A file written but not put in place (its stamp was not recorded) leaves
// nothing behind when the group ends; two processes never share a name.
TEST(DurableFiles, UnplacedFilesGoWithTheGroupAndNamesAreThisProcesss) {
  test_support::TemporaryFolder folder;
  const fs::path target = folder.path() / "a.xml";
  EXPECT_EQ(cli::temporary_name_for(target).filename().string(),
            ".a.xml." + std::to_string(::getpid()) + ".partial");
  {
    cli::FileGroup group;
    const std::size_t kept = group.write(folder.path() / "kept.xml", "<k/>");
    const std::size_t dropped = group.write(target, "<d/>");
    ASSERT_TRUE(group.flush());
    EXPECT_TRUE(group.place(kept));
    EXPECT_EQ(group.error(dropped), "");
    EXPECT_TRUE(fs::exists(cli::temporary_name_for(target)));
    group.finish();
  }
  EXPECT_EQ(read(folder.path() / "kept.xml"), "<k/>");
  EXPECT_FALSE(fs::exists(target));
  EXPECT_EQ(entries_in(folder.path()), 1u);
}

// Temporary files of runs that are gone are cleared; a live run's are kept.
TEST(DurableFiles, StaleTemporariesOfEndedRunsAreRemoved) {
  test_support::TemporaryFolder folder;
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ASSERT_GT(child, 0);
  ::waitpid(child, nullptr, 0);  // a process number that names no live process
  const std::string dead = std::to_string(child);
  const std::string live = std::to_string(::getpid());
  for (const std::string& name : std::vector<std::string>{
           ".a.xml." + dead + ".partial", ".b.xml.partial", ".c.xml." + live + ".partial",
        "d.xml", ".e.xml.notanumber.partial"}) {
    std::ofstream(folder.path() / name) << "x";
  }
  EXPECT_EQ(cli::remove_stale_temporaries(folder.path()), 3u);
  EXPECT_TRUE(fs::exists(folder.path() / (".c.xml." + live + ".partial")));
  EXPECT_TRUE(fs::exists(folder.path() / "d.xml"));
  EXPECT_EQ(entries_in(folder.path()), 2u);
}

}  // namespace
