#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace cli {

struct FileToWrite {
  std::filesystem::path target;
  std::string bytes;
  std::string error;  // set by write_files_durably when this file failed
};

// Writes a group of files so that each is either whole or absent, with a
// fixed number of disk flushes for the whole group instead of several per
// file: every file goes to a temporary name in its folder, one flush of the
// file system makes their bytes durable, the renames put them in place, and
// one flush per folder makes the renames durable. A file that fails gets its
// error text and leaves no temporary behind; the others are still written.
// Returns the number written.
std::size_t write_files_durably(std::vector<FileToWrite>& files);

// The temporary name write_files_durably uses for a target, so that a run
// stopped in the middle can clear what it left.
std::filesystem::path temporary_name_for(const std::filesystem::path& target);

}  // namespace cli
