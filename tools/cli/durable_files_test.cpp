#include "tools/cli/durable_files.h"

#include <gtest/gtest.h>

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
  std::ofstream(out / ".stale.xml.partial") << "left by a stopped run";

  // A new target, one already there, one whose temporary name a stopped run
  // left, and one in a folder that is missing.
  std::vector<cli::FileToWrite> files{{out / "new.xml", "<new/>", ""},
                                      {out / "broken.xml", "<whole/>", ""},
                                      {out / "stale.xml", "<also whole/>", ""},
                                      {folder.path() / "missing" / "x.xml", "<x/>", ""}};
  EXPECT_EQ(cli::write_files_durably(files), 3u);
  EXPECT_EQ(read(out / "new.xml"), "<new/>");
  EXPECT_EQ(read(out / "broken.xml"), "<whole/>");
  EXPECT_EQ(read(out / "stale.xml"), "<also whole/>");
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(files[i].error, "") << i;
  EXPECT_NE(files[3].error.find("missing/"), std::string::npos) << files[3].error;
  EXPECT_NE(files[3].error.find("cannot create"), std::string::npos) << files[3].error;
  EXPECT_FALSE(fs::exists(folder.path() / "missing"));
  // The three results and nothing else: no temporary file is left.
  EXPECT_EQ(entries_in(out), 3u);
}

}  // namespace
