#include "portable/named_pipe.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace portable {

bool make_named_pipe(const std::filesystem::path& path) {
  return ::mkfifo(path.c_str(), 0600) == 0;
}

bool open_named_pipe_writer_once(const std::filesystem::path& path, bool wait) {
  const int fd = ::open(path.c_str(), wait ? O_WRONLY : (O_WRONLY | O_NONBLOCK));
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// Opening for reading and writing never waits for the other end, and this
// end then counts as a writer too, so reads see no end of file between the
// other writers.
HeldNamedPipe::HeldNamedPipe(const std::filesystem::path& path)
    : descriptor_(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) {
  if (descriptor_ < 0) {
    throw std::system_error(errno, std::generic_category(),
                            "cannot hold the named pipe " + path.string());
  }
}

HeldNamedPipe::~HeldNamedPipe() { ::close(descriptor_); }

std::string HeldNamedPipe::read_available(std::chrono::milliseconds wait) {
  pollfd ready{descriptor_, POLLIN, 0};
  if (::poll(&ready, 1, static_cast<int>(wait.count())) <= 0) return {};
  std::string bytes;
  char buffer[4096];
  ssize_t n = 0;
  while ((n = ::read(descriptor_, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

}  // namespace portable
