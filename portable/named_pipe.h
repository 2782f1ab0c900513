#pragma once
// Named pipes (first in, first out files), which tests use to hold the
// program at a known point: a process that opens one waits for the other end.

#include <chrono>
#include <filesystem>
#include <string>

namespace portable {

// Creates a named pipe at `path`, readable and writable by this user only;
// false when it cannot.
bool make_named_pipe(const std::filesystem::path& path);

// Opens the pipe as a writer and closes it at once, so that a reader waiting
// for a writer goes on and reads an end of file. With `wait` the opening
// waits for a reader; without it, nothing happens when no reader is there.
// False when the pipe could not be opened.
bool open_named_pipe_writer_once(const std::filesystem::path& path, bool wait);

// Holds a named pipe open for reading (and, on our side, for writing) for
// its whole life, so that writers never find it without a reader: each
// writer's opening goes on at once, nothing a writer wrote is dropped when
// it closes, and a writer never writes into a pipe that nobody reads (which
// would end it with a broken-pipe signal). Reading never meets an end of
// file while this end is open; read_available waits a bounded time instead.
class HeldNamedPipe {
 public:
  // Throws std::system_error when the pipe cannot be opened.
  explicit HeldNamedPipe(const std::filesystem::path& path);
  ~HeldNamedPipe();
  HeldNamedPipe(const HeldNamedPipe&) = delete;
  HeldNamedPipe& operator=(const HeldNamedPipe&) = delete;

  // What writers have written and nobody has read yet, waiting at most
  // `wait` for the first bytes ("" when none came).
  std::string read_available(std::chrono::milliseconds wait);

 private:
  int descriptor_;
};

}  // namespace portable
