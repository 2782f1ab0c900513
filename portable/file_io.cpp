#include "portable/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return bytes;
}

ReadFailure read_failure(std::string_view windows_name) {
  struct stat info {};
  if (::stat(resolve_path(windows_name).c_str(), &info) != 0) return ReadFailure::not_found;
  return S_ISREG(info.st_mode) ? ReadFailure::unreadable : ReadFailure::not_regular;
}

void write_file_atomic(std::string_view windows_name, std::string_view bytes,
                       Durability durability) {
  const auto target = resolve_path(windows_name);
  const std::string target_name = target.string();
  auto folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::string temp_name = (folder / ("." + target.filename().string() + ".XXXXXX")).string();

  const int fd = ::mkstemp(temp_name.data());
  if (fd < 0) fail(errno, "cannot create a temporary file for", target_name);
  try {
    write_all(fd, bytes, target_name);
    if (::fchmod(fd, 0644) != 0) fail(errno, "cannot set the permissions of", target_name);
    if (durability == Durability::durable && ::fsync(fd) != 0) {
      fail(errno, "cannot flush", target_name);
    }
  } catch (...) {
    ::close(fd);
    ::unlink(temp_name.c_str());
    throw;
  }
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temp_name.c_str());
    fail(error, "cannot close", target_name);
  }
  if (std::rename(temp_name.c_str(), target_name.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp_name.c_str());
    fail(error, "cannot replace", target_name);
  }
  if (durability != Durability::durable) return;
  // Make the rename itself durable.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace portable
