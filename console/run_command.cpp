#include "console/run_command.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace console {
namespace {

// Starts the interpreter and waits for it; false when it could not start.
bool spawn_and_wait(const std::string& interpreter, const std::string& command) {
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGQUIT);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  std::string flag = "-c";
  std::string program = interpreter;
  std::string line = command;
  char* argv[] = {program.data(), flag.data(), line.data(), nullptr};
  pid_t child = 0;
  const int failed = posix_spawn(&child, interpreter.c_str(), nullptr, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  if (failed != 0) return false;
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return true;
}

}  // namespace

std::string default_command_interpreter() { return "/bin/sh"; }

void run_command(Console& con, std::string_view command, const std::string& interpreter) {
  if (interpreter.empty() || ::access(interpreter.c_str(), X_OK) != 0) return;
  con.backend().suspend();
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  struct sigaction previous {};
  sigaction(SIGINT, &ignore, &previous);
  spawn_and_wait(interpreter, std::string(command));
  sigaction(SIGINT, &previous, nullptr);
  con.backend().resume();
  con.present();
}

}  // namespace console
