#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// The name this process writes `target` under until the file is whole:
// ".NAME.PID.partial" in the target's folder. The process number keeps two
// runs that write the same target from sharing a temporary file, and tells a
// later run whether the one that left it is still alive.
std::filesystem::path temporary_name_for(const std::filesystem::path& target);

// Removes from `folder` the temporary files of runs that are no longer
// alive (ended at once by a second signal, or killed), and those of earlier
// releases, which named no process. Returns how many were removed.
std::size_t remove_stale_temporaries(const std::filesystem::path& folder);

// A group of files written so that each is either whole or absent, with a
// fixed number of disk flushes for the whole group instead of several per
// file: each file goes to its temporary name, one flush of the file system
// makes their bytes durable, the renames put them in place, and one flush
// per folder makes the renames durable. Temporary files that were not put
// in place are removed when the group ends.
class FileGroup {
 public:
  FileGroup() = default;
  ~FileGroup();
  FileGroup(const FileGroup&) = delete;
  FileGroup& operator=(const FileGroup&) = delete;

  // Writes the bytes under the target's temporary name; returns the file's
  // index in the group. On failure the file's error() says why.
  std::size_t write(const std::filesystem::path& target, std::string_view bytes);
  // Makes every file written so far durable; on failure each of them gets
  // the error and false is returned.
  bool flush();
  // Renames a written, flushed file into place; false (with its error) when
  // that fails.
  bool place(std::size_t index);
  // Makes the renames durable; a file whose folder cannot be flushed gets
  // the error. Removes the temporary files not put in place.
  void finish();

  const std::string& error(std::size_t index) const { return files_[index].error; }
  const std::filesystem::path& target(std::size_t index) const { return files_[index].target; }

 private:
  struct File {
    std::filesystem::path target;
    std::string error;
    bool written = false;
    bool placed = false;
  };
  void discard_unplaced();

  std::vector<File> files_;
};

struct FileToWrite {
  std::filesystem::path target;
  std::string bytes;
  std::string error;  // set by write_files_durably when this file failed
};

// Writes the files as one FileGroup; a file that fails gets its error text
// and leaves no temporary behind; the others are still written. Returns the
// number written.
std::size_t write_files_durably(std::vector<FileToWrite>& files);

}  // namespace cli
