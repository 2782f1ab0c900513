#include "portable/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

extern char** environ;

namespace portable {
namespace {

std::optional<int> exit_code_of(int status) {
  if (!WIFEXITED(status)) return std::nullopt;
  return WEXITSTATUS(status);
}

// Spawn attributes that give the child the default interrupt, quit and
// broken-pipe handling, which the program may have set aside for itself.
class DefaultSignals {
 public:
  DefaultSignals() {
    posix_spawnattr_init(&attributes_);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGQUIT);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes_, &defaults);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF);
  }
  ~DefaultSignals() { posix_spawnattr_destroy(&attributes_); }
  DefaultSignals(const DefaultSignals&) = delete;
  DefaultSignals& operator=(const DefaultSignals&) = delete;
  const posix_spawnattr_t* get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

// The child's streams; the pipe's reading end stays with the parent.
class ChildFiles {
 public:
  ChildFiles(ChildStreams streams, int pipe_write, int pipe_read) {
    posix_spawn_file_actions_init(&actions_);
    if (streams == ChildStreams::inherit) return;
    if (streams == ChildStreams::capture_output) {
      posix_spawn_file_actions_adddup2(&actions_, pipe_write, STDOUT_FILENO);
    } else {
      posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
      posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    if (pipe_read >= 0) posix_spawn_file_actions_addclose(&actions_, pipe_read);
    if (pipe_write >= 0) posix_spawn_file_actions_addclose(&actions_, pipe_write);
    posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  ~ChildFiles() { posix_spawn_file_actions_destroy(&actions_); }
  ChildFiles(const ChildFiles&) = delete;
  ChildFiles& operator=(const ChildFiles&) = delete;
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

std::string read_all(int fd) {
  std::string output;
  char buffer[4096];
  ssize_t n = 0;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) output.append(buffer, static_cast<std::size_t>(n));
  }
  return output;
}

}  // namespace

ProcessResult run_process(const std::vector<std::string>& arguments, ChildStreams streams) {
  ProcessResult result;
  if (arguments.empty()) return result;
  int pipe_ends[2] = {-1, -1};
  if (streams == ChildStreams::capture_output && ::pipe(pipe_ends) != 0) return result;
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  int failed = 0;
  {
    const DefaultSignals attributes;
    const ChildFiles files(streams, pipe_ends[1], pipe_ends[0]);
    failed = posix_spawnp(&child, argv[0], files.get(), attributes.get(), argv.data(), environ);
  }
  if (pipe_ends[1] >= 0) ::close(pipe_ends[1]);
  if (failed == 0 && pipe_ends[0] >= 0) result.output = read_all(pipe_ends[0]);
  if (pipe_ends[0] >= 0) ::close(pipe_ends[0]);
  if (failed != 0) return result;
  result.started = true;
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return result;
  }
  result.exit_code = exit_code_of(status);
  return result;
}

ProcessResult run_shell_command(const std::string& command_line) {
  ProcessResult result;
  FILE* pipe = ::popen(command_line.c_str(), "r");
  if (pipe == nullptr) return result;
  result.started = true;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  const int status = ::pclose(pipe);
  if (status != -1) result.exit_code = exit_code_of(status);
  return result;
}

bool is_executable(const std::string& file) { return ::access(file.c_str(), X_OK) == 0; }

int current_process_id() { return static_cast<int>(::getpid()); }

// The first field of /proc/PID/syscall is the number of the call the process
// is blocked in.
bool waits_opening_a_file(int process_id) {
  std::ifstream in("/proc/" + std::to_string(process_id) + "/syscall");
  long call = -1;
  if (!(in >> call)) return false;
  return call == SYS_openat
#ifdef SYS_open
         || call == SYS_open
#endif
      ;
}

}  // namespace portable
