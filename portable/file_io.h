#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace portable {

// The whole file as bytes, with Windows file-name semantics (see
// resolve_path); nullopt when the file cannot be opened or read, or is not a
// regular file. A FIFO, a device or a socket is refused without being waited
// on: the open does not block and the type is checked on the open file.
std::optional<std::string> read_file(std::string_view windows_name);

// Reads an open file from where it stands to its end, appending to `bytes`;
// 0 on success, else the errno of the read that failed. `expected_size` (a
// regular file's size, or 0) lets the bytes be read in place, with no copy.
int read_to_end(int fd, std::string& bytes, std::size_t expected_size);

// Why read_file found nothing, for a message: the name is missing, names
// something other than a regular file, or names a regular file that could
// not be read.
enum class ReadFailure { not_found, not_regular, unreadable, too_large };
ReadFailure read_failure(std::string_view windows_name);

// A file read with a bound: `bytes` when `failure` is empty, else why not and
// the errno behind it (0 where there is none).
struct BoundedRead {
  std::string bytes;
  std::optional<ReadFailure> failure;
  int error = 0;
};

// The bytes of a regular file (a native path, links followed), at most
// `limit` of them. The open does not block and the type is checked on the
// open file, so a FIFO, a device or a socket is refused without being waited
// on; a file whose size is over the limit is refused before a byte is read,
// and one that grows past it while being read stops at limit + 1 bytes. So
// neither a sparse file of gigabytes nor an endless device costs more than
// the limit.
BoundedRead read_regular_file(const std::filesystem::path& path, std::size_t limit);

// Whether an atomic write also survives a crash of the machine.
enum class Durability {
  // The bytes and the rename are flushed to disk before the call returns.
  durable,
  // Replaced whole as well, but not flushed: after a power loss the file may
  // hold its previous content. For diagnostics rewritten on every call, where
  // a flush would cost more than the content is worth.
  replace_only,
};

// A file being written in the place of another: its bytes go to a temporary
// file created at once in the target's folder (so a folder that cannot take
// the file fails before any work is spent on it), locked while it lives, and
// replace the target only on commit(). Destroyed without commit() it leaves
// the target untouched and removes the temporary file. Temporary files of
// this naming pattern (".<name>.dvxtmp.XXXXXX") left by a killed process are
// removed when a process first writes to that folder, once they are older
// than a minute and no longer locked. A target that exists and is not a
// regular file (a device, a folder) is refused. Throws std::system_error
// naming the file.
class StagedFile {
 public:
  explicit StagedFile(std::string_view windows_name);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Writes the whole content (replacing what was written before) and, when
  // durable, flushes it to disk.
  void write(std::string_view bytes, Durability durability);
  // Renames the temporary file over the target (and, when durable, flushes
  // the folder so that the rename survives a crash).
  void commit(Durability durability);

 private:
  std::string target_;
  std::string folder_;
  std::string temp_;
  int fd_ = -1;
};

// Writes the file so that it is either fully replaced or left untouched: the
// bytes go to a temporary file in the same folder, which is (when durable)
// flushed to disk, then renamed over the target, and the folder flushed.
// Throws std::system_error naming the file.
void write_file_atomic(std::string_view windows_name, std::string_view bytes,
                       Durability durability = Durability::durable);

// Adds `bytes` at the end of the file (created with mode 0644 when missing)
// in one write, then flushes it to disk; the earlier bytes are never read or
// rewritten, so the cost does not grow with the file. When `line_end` is not
// empty and the file ends in something other than '\n', `line_end` goes
// first, so that the bytes start a line of their own. A target that is not a
// regular file is refused. Throws std::system_error naming the file.
void append_file(std::string_view windows_name, std::string_view bytes,
                 std::string_view line_end = {});

}  // namespace portable
