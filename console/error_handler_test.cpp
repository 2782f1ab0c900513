#include "console/error_handler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "console/error_dialog.h"
#include "console/error_test_backend.h"
#include "console/error_unrecoverable.h"
#include "console/keys.h"
#include "console/runtime_error.h"
#include "portable/file_io.h"
#include "tests/support/test_folder.h"

namespace console {
namespace {

using Kind = Resolution::Kind;

ErrorRecord record(int generic, bool can_retry = false, bool can_default = false, int os_code = 0) {
  ErrorRecord e = ErrorRecord::raised_here(generic, "BASE", 1001);
  e.can_retry = can_retry;
  e.can_default = can_default;
  e.os_code = os_code;
  return e;
}

bool screen_shows(const Screen& screen, std::string_view text) {
  for (int row = 0; row < screen.rows(); ++row) {
    if (screen.row_text(row).find(text) != std::string::npos) return true;
  }
  return false;
}

class ErrorHandlerTest : public ::testing::Test {
 protected:
  test_support::TestFolder folder_;
  testing::SnapshotBackend backend_;
  Console con_{backend_};
  ErrorHandler handler_{&con_};
};

struct QuietCase {
  const char* name;
  ErrorRecord record;
  Resolution resolution;
  bool network_error;
};

TEST_F(ErrorHandlerTest, ResolvesWithoutADialog) {
  const QuietCase cases[] = {
      {"zero divisor gives 0", record(generic_code::zero_divisor), {Kind::substitute, 0}, false},
      {"lock failure is retried",
       record(generic_code::lock_failure, true),
       {Kind::retry, 0},
       false},
      {"sharing violation takes the default",
       record(generic_code::open_error, false, true, os_sharing_violation),
       {Kind::use_default, 0},
       true},
      {"append lock failure takes the default",
       record(generic_code::append_lock_failed, false, true),
       {Kind::use_default, 0},
       true},
  };
  for (const QuietCase& c : cases) {
    ErrorHandler handler(&con_);
    EXPECT_EQ(handler.handle(c.record), c.resolution) << c.name;
    EXPECT_EQ(handler.network_error(), c.network_error) << c.name;
  }
  EXPECT_TRUE(backend_.at_reads().empty());
  EXPECT_FALSE(std::filesystem::exists("error.log"));
}

TEST_F(ErrorHandlerTest, ConflictsThatCannotBeResolvedGoToTheDialog) {
  const ErrorRecord cases[] = {
      record(generic_code::lock_failure, false, true),
      record(generic_code::open_error, true, false, os_sharing_violation),
      record(generic_code::open_error, false, true, 2),
      record(generic_code::append_lock_failed, true, false),
  };
  for (const ErrorRecord& e : cases) {
    backend_.push_key('r');
    backend_.push_key('d');
    const Resolution resolution = handler_.handle(e);
    EXPECT_EQ(resolution.kind, e.can_retry ? Kind::retry : Kind::use_default);
    EXPECT_EQ(backend_.pending(), e.can_retry ? 1u : 0u);
    while (backend_.pending() > 0) backend_.read_event();
  }
  EXPECT_FALSE(handler_.network_error());
}

TEST_F(ErrorHandlerTest, TheDialogShowsTheMessageTheOsCodeAndTheButtons) {
  ErrorRecord e = record(generic_code::open_error, true, true, 2);
  e.file_name = "CancelaCFDI.INI";
  backend_.push_key(key::enter + 0);  // Quit is the current button
  EXPECT_THROW(handler_.handle(e), ProgramEnd);
  const Screen& dialog = backend_.at_reads().at(0);
  EXPECT_TRUE(screen_shows(dialog, "Error BASE/1001  Open error: CancelaCFDI.INI"));
  EXPECT_TRUE(screen_shows(dialog, "(DOS Error 2)"));
  EXPECT_TRUE(screen_shows(dialog, " Quit    Retry    Default "));
}

TEST_F(ErrorHandlerTest, EscBringsTheDialogBackAndRetryOrDefaultResolve) {
  backend_.push_keys({key::escape, key::escape, 'r'});
  EXPECT_EQ(handler_.handle(record(generic_code::write_error, true, true)).kind, Kind::retry);
  EXPECT_EQ(backend_.at_reads().size(), 3u);
  EXPECT_TRUE(screen_shows(backend_.at_reads()[2], " Quit "));

  backend_.push_keys({key::right, key::right, key::enter});
  EXPECT_EQ(handler_.handle(record(generic_code::write_error, true, true)).kind, Kind::use_default);
  EXPECT_FALSE(std::filesystem::exists("error.log"));
}

TEST_F(ErrorHandlerTest, QuitReportsOnTheConsoleWritesTheLogAndEndsWithExitCodeOne) {
  RoutineFrame main_frame("MAIN");
  RoutineFrame operation("VXMLSAMPLE");
  con_.write_at(0, 0, "menu line");
  ErrorRecord e = record(generic_code::open_error, false, false, 2);
  e.file_name = "CSD_CACX7605101P8.cer";
  backend_.push_keys({'x', 'q'});
  try {
    handler_.handle(e);
    FAIL() << "the program did not end";
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(end.exit_code, 1);
    EXPECT_EQ(end.report.find(
                  "Error BASE/1001  Open error: CSD_CACX7605101P8.cer (DOS Error 2)\n\nError at"),
              0u);
    EXPECT_NE(end.report.find("Error at ...: VXMLSAMPLE("), std::string::npos);
    EXPECT_NE(end.report.find("Called from : MAIN("), std::string::npos);
  }
  EXPECT_EQ(backend_.pending(), 0u);
  const Screen& screen = con_.screen();
  EXPECT_TRUE(
      screen_shows(screen, "Error BASE/1001  Open error: CSD_CACX7605101P8.cer (DOS Error 2)"));
  EXPECT_TRUE(screen_shows(screen, "Error at ...: VXMLSAMPLE("));
  EXPECT_TRUE(screen_shows(screen, "Called from : MAIN("));
  EXPECT_FALSE(screen_shows(screen, "Quit"));  // the dialog is gone

  const std::optional<std::string> log = portable::read_file("error.log");
  ASSERT_TRUE(log.has_value());
  EXPECT_NE(log->find("|menu line"), std::string::npos);
  EXPECT_NE(log->find("Called from : MAIN("), std::string::npos);  // the dump shows the report
  EXPECT_NE(log->find("Involved File .....: CSD_CACX7605101P8.CER\r\n"), std::string::npos);
}

TEST_F(ErrorHandlerTest, WithoutALogFileTheProgramStillEndsWithExitCodeOne) {
  std::filesystem::create_directory("error.log");  // no file can take its place
  backend_.push_key('q');
  try {
    handler_.handle(record(generic_code::write_error));
    FAIL() << "the program did not end";
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(end.exit_code, 1);
  }
  EXPECT_TRUE(std::filesystem::is_directory("error.log"));
  EXPECT_FALSE(std::filesystem::exists("trace.log"));  // not a failure of the handler
}

TEST_F(ErrorHandlerTest, AnErrorInsideTheHandlerShowsTheErrorSystemFailure) {
  ErrorRecord e = record(generic_code::write_error);
  e.routine = "VXMLPAGOS";
  e.line = 41;
  e.module = "vxmlpagos.cpp";
  backend_.push_failure();        // the dialog cannot read a key
  backend_.push_key(key::enter);  // Ok
  try {
    handler_.handle(e);
    FAIL() << "the program did not end";
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(end.exit_code, 1);
    EXPECT_NE(end.report.find("Error system failure!"), std::string::npos);
  }
  const Screen& guard = backend_.at_reads().at(1);
  EXPECT_TRUE(screen_shows(guard, "Error system failure!"));
  EXPECT_TRUE(screen_shows(guard, "Please correct error handler:"));
  EXPECT_TRUE(screen_shows(guard, " Ok "));
  const std::optional<std::string> trace = portable::read_file("trace.log");
  ASSERT_TRUE(trace.has_value());
  EXPECT_NE(trace->find("the terminal stopped answering"), std::string::npos);
  EXPECT_EQ(trace->substr(trace->size() - 2), "\r\n");
  EXPECT_FALSE(std::filesystem::exists("error.log"));
}

TEST_F(ErrorHandlerTest, ACallWhileTheHandlerRunsIsCaughtByTheGuard) {
  // The record is raised again from inside the dialog (a key read that
  // raises an error of its own).
  class RaisingBackend final : public Backend {
   public:
    explicit RaisingBackend(ErrorHandler*& handler) : handler_(handler) {}
    void present(const Screen& screen) override { last_ = screen; }
    InputEvent read_event() override {
      if (++reads_ == 1) {
        ErrorRecord inner = ErrorRecord::raised_here(generic_code::read_error, "TERM", 7);
        inner.routine = "READKEY";
        inner.line = 3;
        inner.module = "keys.cpp";
        handler_->handle(inner);
      }
      return InputEvent{InputEvent::Kind::key, key::enter};
    }
    TerminalSize size() const override { return {25, 80}; }
    void suspend() override {}
    void resume() override {}
    Screen last_;
    int reads_ = 0;

   private:
    ErrorHandler*& handler_;
  };
  ErrorHandler* handler = nullptr;
  RaisingBackend backend(handler);
  Console con(backend);
  ErrorHandler guarded(&con);
  handler = &guarded;
  try {
    guarded.handle(record(generic_code::write_error));
    FAIL() << "the program did not end";
  } catch (const ProgramEnd& end) {
    EXPECT_NE(end.report.find("READKEY(3) in module: keys.cpp"), std::string::npos);
  }
  EXPECT_EQ(backend.reads_, 2);
}

TEST_F(ErrorHandlerTest, AFailureOfTheGuardItselfIsUnrecoverable) {
  backend_.push_failure();
  backend_.push_failure();
  try {
    handler_.handle(record(generic_code::write_error));
    FAIL() << "the program did not end";
  } catch (const UnrecoverableError& error) {
    EXPECT_EQ(error.number, unrecoverable::error_machinery);
  }
}

TEST_F(ErrorHandlerTest, WithoutAConsoleTheErrorIsLoggedWithoutAScreen) {
  ErrorHandler handler(nullptr);
  EXPECT_THROW(handler.handle(record(generic_code::write_error, true, true)), ProgramEnd);
  const std::optional<std::string> log = portable::read_file("error.log");
  ASSERT_TRUE(log.has_value());
  EXPECT_NE(log->find("\r\n Video Screen Dump not available\r\n"), std::string::npos);
}

TEST_F(ErrorHandlerTest, RaiseErrorWithoutAHandlerThrowsTheRecord) {
  install_error_handler(nullptr);
  EXPECT_THROW(raise_error(record(generic_code::write_error)), RuntimeError);
  install_error_handler(&handler_);
  EXPECT_EQ(raise_error(record(generic_code::zero_divisor)).value, 0);
  install_error_handler(nullptr);
}

// run_program: what escapes the program's body.

TEST_F(ErrorHandlerTest, ANormalEndIsExitCodeZero) {
  const ProgramOutcome outcome = run_program(handler_, [] {});
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(outcome.output, "");
  EXPECT_EQ(outcome.error_output, "");
}

TEST_F(ErrorHandlerTest, AnExceptionThatEscapesAnOperationIsReportedWhereItWasThrown) {
  backend_.push_key('q');
  const ProgramOutcome outcome = run_program(handler_, [] {
    RoutineFrame main_frame("MAIN");
    RoutineFrame operation("CERTA64");
    throw std::runtime_error("certificate file unreadable");
  });
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_EQ(outcome.output.find("Error BASE/9000  certificate file unreadable\n\nError at "), 0u);
  EXPECT_NE(outcome.output.find("Error at ...: CERTA64("), std::string::npos);
  EXPECT_NE(outcome.output.find("Called from : MAIN("), std::string::npos);
  EXPECT_TRUE(screen_shows(backend_.at_reads().at(0), " Quit "));
  EXPECT_FALSE(screen_shows(backend_.at_reads().at(0), "Retry"));
  EXPECT_TRUE(std::filesystem::exists("error.log"));
}

// The failure has unwound its routines before the dialog shows it; Alt+C
// there still names where it happened, with the line of each call.
TEST_F(ErrorHandlerTest, CancelInTheDialogOfAnEscapedErrorNamesWhereItHappened) {
  backend_.push_key(key::alt_c);
  int call_line = 0;
  int throw_line = 0;
  const auto operation = [&throw_line](std::source_location caller) {
    RoutineFrame frame("CERTA64", CalledFrom{caller});
    throw_line = __LINE__ + 1;
    throw std::runtime_error("certificate file unreadable");
  };
  const ProgramOutcome outcome = run_program(handler_, [&] {
    RoutineFrame main_frame("MAIN");
    call_line = __LINE__ + 1;
    operation(std::source_location::current());
  });
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_EQ(outcome.error_output, "\nCancelled at: CERTA64 (" + std::to_string(throw_line - 2) +
                                      ")\nMAIN (" + std::to_string(call_line) + ")\n");
  EXPECT_TRUE(CallStack::frames().empty());
}

TEST_F(ErrorHandlerTest, TranslatedAndRuntimeErrorsKeepTheirRecords) {
  backend_.push_keys({'q', 'q'});
  const ProgramOutcome library = run_program(
      handler_,
      [] {
        RoutineFrame main_frame("MAIN");
        throw std::logic_error("cannot load the invoicing library \"/nowhere/lib.so\" (x): gone");
      },
      [](const std::exception& e) { return std::optional(library_error_record(e.what())); });
  EXPECT_NE(library.output.find("Error DROVANEXIS/1001  cannot load"), std::string::npos);
  EXPECT_NE(library.output.find(": /nowhere/lib.so\n"), std::string::npos);
  EXPECT_NE(library.output.find("Error at ...: MAIN("), std::string::npos);

  const ProgramOutcome viewer = run_program(handler_, [] {
    RoutineFrame main_frame("MAIN");
    throw RuntimeError("BASE", 1127, "VIEWTEXT", "<nTop> Argument type error");
  });
  EXPECT_EQ(viewer.exit_code, 1);
  EXPECT_EQ(viewer.output.find("Error BASE/1127  VIEWTEXT: <nTop> Argument type error\n\n"), 0u);
}

TEST_F(ErrorHandlerTest, CancelAndUnrecoverableErrorsGoToTheErrorOutput) {
  const ProgramOutcome cancelled =
      run_program(handler_, [] { throw Cancelled("\nCancelled at: MAIN (12)\n"); });
  EXPECT_EQ(cancelled.exit_code, 1);
  EXPECT_EQ(cancelled.error_output, "\nCancelled at: MAIN (12)\n");
  EXPECT_EQ(cancelled.output, "");

  const ProgramOutcome console_failure = run_program(handler_, [] {
    throw UnrecoverableError{unrecoverable::console_start, "Can't allocate console (output)"};
  });
  EXPECT_EQ(console_failure.exit_code, 1);
  EXPECT_EQ(console_failure.error_output,
            "\nUnrecoverable error 10001: Can't allocate console (output)\n");

  const ProgramOutcome memory = run_program(handler_, [] { throw std::bad_alloc(); });
  EXPECT_EQ(memory.error_output, "\nUnrecoverable error 9001: Out of memory\n");
  EXPECT_EQ(portable::read_file("error.log"),
            std::optional<std::string>("Can't allocate console (output)\r\nOut of memory\r\n"));
  EXPECT_TRUE(backend_.at_reads().empty());
}

}  // namespace
}  // namespace console
