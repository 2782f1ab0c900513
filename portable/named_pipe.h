#pragma once
// Named pipes (first in, first out files), which tests use to hold the
// program at a known point: a process that opens one waits for the other end.

#include <filesystem>

namespace portable {

// Creates a named pipe at `path`, readable and writable by this user only;
// false when it cannot.
bool make_named_pipe(const std::filesystem::path& path);

// Opens the pipe as a writer and closes it at once, so that a reader waiting
// for a writer goes on and reads an end of file. With `wait` the opening
// waits for a reader; without it, nothing happens when no reader is there.
// False when the pipe could not be opened.
bool open_named_pipe_writer_once(const std::filesystem::path& path, bool wait);

}  // namespace portable
