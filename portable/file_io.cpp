#include "portable/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <system_error>

#include "portable/windows_path.h"

namespace portable {
namespace {

[[noreturn]] void fail(int error, const std::string& what, const std::string& file) {
  throw std::system_error(error, std::generic_category(), what + " \"" + file + "\"");
}

void write_all(int fd, std::string_view bytes, const std::string& file) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      fail(errno, "cannot write", file);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

// Marks the temporary files this module creates: ".<name>.dvxtmp.XXXXXX".
constexpr std::string_view kTemporaryMarker = ".dvxtmp.";
// A temporary file younger than this may belong to a write still running.
constexpr auto kStaleAfter = std::chrono::minutes(1);

bool is_our_temporary(std::string_view name) {
  const auto marker = name.rfind(kTemporaryMarker);
  return name.size() > 1 && name.front() == '.' && marker != std::string_view::npos &&
         name.size() - marker - kTemporaryMarker.size() == 6;
}

// Removes the temporary files a killed process left in `folder`: ours by
// name, older than kStaleAfter, and not locked by a live writer.
void remove_stale_temporaries(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const auto now = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!is_our_temporary(name)) continue;
    std::error_code time_ec;
    const auto modified = fs::last_write_time(it->path(), time_ec);
    if (time_ec || now - modified < kStaleAfter) continue;
    const int fd = ::open(it->path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(it->path().c_str());
    ::close(fd);
  }
}

// Each folder is swept once per process, at its first write: stale files come
// from processes that died before this one wrote there, and sweeping at every
// write would make a batch into one folder quadratic in its size.
void remove_stale_temporaries_once(const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> swept;
  {
    std::lock_guard lock(mutex);
    if (!swept.insert(folder).second) return;
  }
  remove_stale_temporaries(folder);
}

}  // namespace

std::optional<std::string> read_file(std::string_view windows_name) {
  const auto path = resolve_path(windows_name);
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string bytes;
  const int error = read_to_end(fd, bytes, static_cast<std::size_t>(info.st_size));
  ::close(fd);
  if (error != 0) return std::nullopt;
  return bytes;
}

int read_to_end(int fd, std::string& bytes, std::size_t expected_size) {
  const std::size_t start = bytes.size();
  // One byte more than expected, so that the end is found without growing;
  // a file that grew meanwhile is read to its end all the same.
  bytes.resize(start + std::max<std::size_t>(expected_size + 1, 4096));
  std::size_t filled = start;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(2 * bytes.size());
    const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      bytes.resize(filled);
      return error;
    }
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return 0;
}

BoundedRead read_regular_file(const std::filesystem::path& path, std::size_t limit) {
  BoundedRead result;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    result.error = errno;
    result.failure = errno == ENOENT || errno == ENOTDIR ? ReadFailure::not_found
                     : errno == ENXIO                    ? ReadFailure::not_regular
                                                         : ReadFailure::unreadable;
    return result;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    result.error = errno;
    result.failure = ReadFailure::unreadable;
  } else if (!S_ISREG(info.st_mode)) {
    result.failure = ReadFailure::not_regular;
  } else if (static_cast<std::uintmax_t>(info.st_size) > limit) {
    result.failure = ReadFailure::too_large;
  } else {
    result.bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
      if (filled == result.bytes.size()) {
        if (filled > limit) break;
        result.bytes.resize(std::min(2 * filled, limit + 1));
      }
      const ssize_t got = ::read(fd, result.bytes.data() + filled, result.bytes.size() - filled);
      if (got == 0) break;
      if (got < 0) {
        if (errno == EINTR) continue;
        result.error = errno;
        result.failure = ReadFailure::unreadable;
        break;
      }
      filled += static_cast<std::size_t>(got);
    }
    result.bytes.resize(filled);
    if (!result.failure && filled > limit) result.failure = ReadFailure::too_large;
  }
  ::close(fd);
  if (result.failure) result.bytes.clear();
  return result;
}

ReadFailure read_failure(std::string_view windows_name) {
  struct stat info {};
  if (::stat(resolve_path(windows_name).c_str(), &info) != 0) return ReadFailure::not_found;
  return S_ISREG(info.st_mode) ? ReadFailure::unreadable : ReadFailure::not_regular;
}

StagedFile::StagedFile(std::string_view windows_name) {
  const auto target = resolve_path(windows_name);
  target_ = target.string();
  struct stat info {};
  if (::stat(target_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    fail(EINVAL, "not a regular file, refusing to replace", target_);
  }
  auto folder = target.parent_path();
  if (folder.empty()) folder = ".";
  folder_ = folder.string();
  remove_stale_temporaries_once(folder_);
  temp_ = (folder / ("." + target.filename().string() + std::string(kTemporaryMarker) + "XXXXXX"))
              .string();
  fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
  if (fd_ < 0) fail(errno, "cannot create a temporary file for", target_);
  // Locked for its whole life, so that no other process takes it for stale.
  ::flock(fd_, LOCK_EX | LOCK_NB);
}

StagedFile::~StagedFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

void StagedFile::write(std::string_view bytes, Durability durability) {
  if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0) {
    fail(errno, "cannot rewrite the temporary file of", target_);
  }
  write_all(fd_, bytes, target_);
  if (::fchmod(fd_, 0644) != 0) fail(errno, "cannot set the permissions of", target_);
  if (durability == Durability::durable && ::fsync(fd_) != 0) fail(errno, "cannot flush", target_);
}

void StagedFile::commit(Durability durability) {
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) fail(errno, "cannot replace", target_);
  temp_.clear();  // the name is the target's now
  ::close(fd_);
  fd_ = -1;
  if (durability != Durability::durable) return;
  const int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

void write_file_atomic(std::string_view windows_name, std::string_view bytes,
                       Durability durability) {
  StagedFile file(windows_name);
  file.write(bytes, durability);
  file.commit(durability);
}

void append_file(std::string_view windows_name, std::string_view bytes,
                 std::string_view line_end) {
  const std::string target = resolve_path(windows_name).string();
  // Read and write: the last byte decides whether a line end goes first.
  // O_NONBLOCK: a FIFO is not waited on; it is refused below.
  const int fd = ::open(target.c_str(),
                        O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0644);
  if (fd < 0) fail(errno, "cannot open for appending", target);
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) fail(errno, "cannot examine", target);
  if (!S_ISREG(info.st_mode)) fail(EINVAL, "not a regular file, refusing to append to", target);
  std::string block;
  if (!line_end.empty() && info.st_size > 0) {
    char last = '\n';
    if (::pread(fd, &last, 1, info.st_size - 1) == 1 && last != '\n') block = line_end;
  }
  block += bytes;
  write_all(fd, block, target);
  if (::fsync(fd) != 0) fail(errno, "cannot flush", target);
}

}  // namespace portable
