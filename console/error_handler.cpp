#include "console/error_handler.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <new>

#include "console/error_dialog.h"
#include "console/error_unrecoverable.h"
#include "console/runtime_error.h"
#include "console/wait_prompt.h"
#include "portable/windows_path.h"

namespace console {
namespace {

ErrorHandler* installed = nullptr;

// Marks the handler as running for as long as it lives.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& flag_;
};

std::string where_text(const std::string& routine, int line, const std::string& module,
                       std::string_view in_module) {
  return routine + "(" + std::to_string(line) + ")" + std::string(in_module) + module;
}

std::string timestamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%m/%d/%y %H:%M:%S", &local);
  return text;
}

// A record for an exception thrown by the handler's own work.
ErrorRecord failure_record(const std::exception& failure) {
  ErrorRecord record =
      ErrorRecord::raised_here(generic_code::unknown, "BASE", escaped_exception_subcode);
  record.description = failure.what();
  return record;
}

}  // namespace

ErrorHandler::ErrorHandler(Console* con, ErrorLogSetting log, std::string trace_file)
    : con_(con), log_(std::move(log)), trace_file_(std::move(trace_file)) {}

template <typename Step>
auto ErrorHandler::guarded(Step step) {
  try {
    return step();
  } catch (const Cancelled&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw UnrecoverableError{unrecoverable::memory_exhausted, "Out of memory"};
  } catch (const std::exception& failure) {
    fail_inside_handler(failure_record(failure), failure.what());
  }
}

Resolution ErrorHandler::handle(const ErrorRecord& record) {
  if (running_) fail_inside_handler(record, "the error handler was called while it ran");
  if (std::optional<Resolution> resolved = resolve_quietly(record)) return *resolved;
  RunningFlag running(running_);
  if (std::optional<Resolution> chosen = guarded([&] { return ask_user(record); })) return *chosen;
  end_program(record);
}

void ErrorHandler::report_fatal(const ErrorRecord& record) {
  if (running_) fail_inside_handler(record, "the error handler was called while it ran");
  ErrorRecord final_record = record;
  final_record.can_retry = false;
  final_record.can_default = false;
  RunningFlag running(running_);
  std::vector<Frame> failure_chain;
  if (!record.routine.empty()) {
    failure_chain.push_back(Frame{record.routine, record.line, record.module});
    failure_chain.insert(failure_chain.end(), record.callers.begin(), record.callers.end());
  }
  const FailureChain in_failure_chain(failure_chain);
  guarded([&] { return ask_user(final_record); });
  end_program(final_record);
}

std::optional<Resolution> ErrorHandler::resolve_quietly(const ErrorRecord& e) {
  switch (e.generic_code) {
    case generic_code::zero_divisor: return Resolution{Resolution::Kind::substitute, 0};
    case generic_code::lock_failure:
      if (e.can_retry) return Resolution{Resolution::Kind::retry, 0};
      break;
    case generic_code::open_error:
      if (e.os_code == os_sharing_violation && e.can_default) {
        network_error_ = true;
        return Resolution{Resolution::Kind::use_default, 0};
      }
      break;
    case generic_code::append_lock_failed:
      if (e.can_default) {
        network_error_ = true;
        return Resolution{Resolution::Kind::use_default, 0};
      }
      break;
    default: break;
  }
  return std::nullopt;
}

// Shows the dialog until a button is chosen; nullopt for Quit.
std::optional<Resolution> ErrorHandler::ask_user(const ErrorRecord& e) {
  if (con_ == nullptr) return std::nullopt;
  show_now(*con_);
  std::string text = error_message(e);
  if (e.os_code != 0) text += ";" + dos_error_text(e.os_code);
  std::vector<std::string> buttons = {"Quit"};
  if (e.can_retry) buttons.emplace_back("Retry");
  if (e.can_default) buttons.emplace_back("Default");
  int chosen = 0;
  while (chosen == 0) chosen = error_dialog(*con_, text, buttons);
  const std::string& button = buttons[static_cast<std::size_t>(chosen - 1)];
  if (button == "Retry") return Resolution{Resolution::Kind::retry, 0};
  if (button == "Default") return Resolution{Resolution::Kind::use_default, 0};
  return std::nullopt;
}

void ErrorHandler::end_program(const ErrorRecord& e) {
  const std::string report = console_report(e, "\r\n");
  guarded([&] {
    if (con_ != nullptr) {
      write_console_style(*con_, "\r\n" + report);
      show_now(*con_);
    }
    write_error_log(e, con_, log_);
    if (con_ != nullptr) {
      write_console_style(*con_, "\r\n");
      show_now(*con_);
    }
    return 0;
  });
  throw ProgramEnd{1, console_report(e, "\n") + "\n"};
}

void ErrorHandler::fail_inside_handler(const ErrorRecord& e, const std::string& cause) {
  const std::string where = where_text(e.routine, e.line, e.module, " in module: ");
  {
    std::ofstream trace(portable::resolve_path(trace_file_), std::ios::binary | std::ios::app);
    if (trace) {
      trace << timestamp() << " Error system failure: " << where << ": " << error_message(e);
      if (!cause.empty()) trace << " (" << cause << ")";
      trace << "\r\n";
    }
  }
  if (con_ != nullptr) {
    try {
      error_dialog(*con_, "Error system failure!;Please correct error handler:;" + where, {"Ok"});
    } catch (const Cancelled&) {
      throw;
    } catch (const std::exception& failure) {
      throw UnrecoverableError{unrecoverable::error_machinery,
                               std::string("the error handler failed: ") + failure.what()};
    }
  }
  throw ProgramEnd{1, "Error system failure! Please correct error handler: " + where + "\n" +
                          error_message(e) + "\n"};
}

std::string console_report(const ErrorRecord& e, std::string_view line_break) {
  std::string report = error_message(e);
  if (e.os_code != 0) report += " " + dos_error_text(e.os_code);
  report += line_break;
  report += line_break;
  report += "Error at ...: " + where_text(e.routine, e.line, e.module, " in Module: ");
  for (const Frame& caller : e.callers) {
    report += line_break;
    report +=
        "Called from : " + where_text(caller.name, caller.line, caller.module, " in Module: ");
  }
  return report;
}

void install_error_handler(ErrorHandler* handler) { installed = handler; }

ErrorHandler* current_error_handler() { return installed; }

Resolution raise_error(const ErrorRecord& record) {
  if (installed == nullptr) throw RuntimeError(record);
  return installed->handle(record);
}

}  // namespace console
