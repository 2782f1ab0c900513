#include "portable/named_pipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace portable
