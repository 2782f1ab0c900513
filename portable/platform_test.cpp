#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "portable/environment.h"
#include "portable/named_pipe.h"
#include "portable/process.h"
#include "portable/signals.h"
#include "portable/temp_folder.h"

namespace portable {
namespace {

TEST(Process, RunsWithoutAShellAndCapturesTheOutputAndExitCode) {
  const ProcessResult echoed =
      run_process({"sh", "-c", "printf '%s|' \"$0\" \"$1\"; exit 3", "a b", "$HOME"},
                  ChildStreams::capture_output);
  EXPECT_TRUE(echoed.started);
  EXPECT_EQ(echoed.output, "a b|$HOME|");  // no shell expanded the arguments
  EXPECT_EQ(echoed.exit_code, std::optional<int>(3));

  const ProcessResult missing =
      run_process({"/nonexistent/program-of-nobody"}, ChildStreams::capture_output);
  EXPECT_FALSE(missing.started);
  EXPECT_FALSE(missing.exit_code.has_value());

  const ProcessResult killed =
      run_process({"sh", "-c", "kill -9 $$"}, ChildStreams::discard_output);
  EXPECT_TRUE(killed.started);
  EXPECT_FALSE(killed.exit_code.has_value());
}

TEST(Process, ShellCommandsGiveTheirOutputAndExitCode) {
  const ProcessResult result = run_shell_command("echo one; echo two >&2; exit 5");
  EXPECT_EQ(result.output, "one\n");
  EXPECT_EQ(result.exit_code, std::optional<int>(5));
  EXPECT_TRUE(is_executable("/bin/sh"));
  EXPECT_FALSE(is_executable("/nonexistent/program-of-nobody"));
}

TEST(Environment, ScopedVariablePutsBackWhatWasThere) {
  const std::string name = "CFDI_PLATFORM_TEST_VARIABLE";
  unset_environment_variable(name);
  {
    ScopedEnvironmentVariable set(name, "1");
    EXPECT_EQ(environment_variable(name), std::optional<std::string>("1"));
    {
      ScopedEnvironmentVariable removed(name, std::nullopt);
      EXPECT_FALSE(environment_variable(name).has_value());
    }
    EXPECT_EQ(environment_variable(name), std::optional<std::string>("1"));
  }
  EXPECT_FALSE(environment_variable(name).has_value());
}

TEST(TemporaryFolder, EachCallMakesANewEmptyFolder) {
  const std::filesystem::path first = make_temporary_folder("cfdi-platform-");
  const std::filesystem::path second = make_temporary_folder("cfdi-platform-");
  EXPECT_NE(first, second);
  EXPECT_TRUE(std::filesystem::is_directory(first));
  EXPECT_TRUE(std::filesystem::is_empty(first));
  EXPECT_EQ(first.parent_path(), std::filesystem::temp_directory_path());
  std::filesystem::remove(first);
  std::filesystem::remove(second);
}

TEST(NamedPipe, AWriterThatWouldWaitForAReaderIsRefusedWithoutWaiting) {
  const std::filesystem::path folder = make_temporary_folder("cfdi-platform-");
  const std::filesystem::path pipe = folder / "calls.fifo";
  ASSERT_TRUE(make_named_pipe(pipe));
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));
  EXPECT_FALSE(make_named_pipe(pipe));                     // the name is taken
  EXPECT_FALSE(open_named_pipe_writer_once(pipe, false));  // no reader
  EXPECT_FALSE(open_named_pipe_writer_once(folder / "missing.fifo", false));
  EXPECT_FALSE(waits_opening_a_file(current_process_id()));  // this process runs
  std::filesystem::remove_all(folder);
}

// Each writer opens the pipe, writes and closes it, as the recording library
// does per call: with the pipe held, none waits and nothing written is lost.
TEST(NamedPipe, AHeldPipeKeepsWhatEveryWriterWroteWithoutAnEndOfFile) {
  const std::filesystem::path folder = make_temporary_folder("cfdi-platform-");
  const std::filesystem::path pipe = folder / "calls.fifo";
  ASSERT_TRUE(make_named_pipe(pipe));
  {
    HeldNamedPipe held(pipe);
    EXPECT_TRUE(open_named_pipe_writer_once(pipe, false));  // a reader is there
    for (const char* line : {"one\n", "two\n"}) std::ofstream(pipe, std::ios::app) << line;
    EXPECT_EQ(held.read_available(std::chrono::seconds(5)), "one\ntwo\n");
    EXPECT_EQ(held.read_available(std::chrono::milliseconds(10)), "");
  }
  EXPECT_THROW(HeldNamedPipe(folder / "missing.fifo"), std::system_error);
  std::filesystem::remove_all(folder);
}

// A write into a pipe that nobody reads fails instead of ending the process;
// a program started afterwards gets the signal's default handling back.
TEST(Signals, ABrokenPipeIsAWriteErrorForTheProgramButNotForWhatItStarts) {
  ignore_broken_pipes();
  int ends[2] = {-1, -1};
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);
  errno = 0;
  EXPECT_EQ(::write(ends[1], "x", 1), -1);
  EXPECT_EQ(errno, EPIPE);
  ::close(ends[1]);

  const ProcessResult child =
      run_process({"sh", "-c", "sed -n 's/^SigIgn:[[:space:]]*//p' /proc/self/status"},
                  ChildStreams::capture_output);
  ASSERT_EQ(child.exit_code, std::optional<int>(0));
  const unsigned long long ignored = std::stoull(child.output, nullptr, 16);
  EXPECT_EQ(ignored & (1ULL << (SIGPIPE - 1)), 0u) << child.output;
}

}  // namespace
}  // namespace portable
