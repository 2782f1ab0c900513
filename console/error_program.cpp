// Running the program's body under the error handler, and the records for
// exceptions that escape it.

#include <new>
#include <sstream>

#include "console/error_handler.h"
#include "console/error_unrecoverable.h"
#include "console/runtime_error.h"

namespace console {
namespace {

// The texts between the first pairs of double quotes.
std::vector<std::string> quoted(std::string_view text) {
  std::vector<std::string> parts;
  std::size_t start = text.find('"');
  while (start != std::string_view::npos) {
    const std::size_t end = text.find('"', start + 1);
    if (end == std::string_view::npos) break;
    parts.emplace_back(text.substr(start + 1, end - start - 1));
    start = text.find('"', end + 1);
  }
  return parts;
}

// The record of an exception that escaped; located where it left the
// innermost routine.
ErrorRecord escaped_record(const std::exception& escaped, const ExceptionTranslator& translate) {
  if (const auto* runtime = dynamic_cast<const RuntimeError*>(&escaped)) {
    ErrorRecord record = runtime->record();
    if (record.routine.empty()) record.locate(CallStack::unwound_chain());
    return record;
  }
  std::optional<ErrorRecord> translated;
  if (translate) translated = translate(escaped);
  ErrorRecord record = translated.value_or(ErrorRecord{});
  if (!translated) {
    record.generic_code = generic_code::unknown;
    record.subsystem = "BASE";
    record.subcode = escaped_exception_subcode;
    record.description = escaped.what();
  }
  record.locate(CallStack::unwound_chain());
  return record;
}

ProgramOutcome unrecoverable_outcome(const UnrecoverableError& error) {
  ProgramOutcome outcome;
  std::ostringstream error_output;
  outcome.exit_code = report_unrecoverable(error, error_output);
  outcome.error_output = error_output.str();
  return outcome;
}

// Reports the record and returns how the program ends.
ProgramOutcome report(ErrorHandler& handler, const ErrorRecord& record) {
  try {
    handler.report_fatal(record);
  } catch (const ProgramEnd& end) {
    return ProgramOutcome{end.exit_code, end.report, ""};
  } catch (const Cancelled& cancelled) {
    return ProgramOutcome{1, "", cancelled.report()};
  } catch (const UnrecoverableError& error) {
    return unrecoverable_outcome(error);
  } catch (const std::bad_alloc&) {
    return unrecoverable_outcome({unrecoverable::memory_exhausted, "Out of memory"});
  }
}

}  // namespace

ErrorRecord library_error_record(std::string_view what) {
  const std::vector<std::string> names = quoted(what);
  const bool missing_entry = what.find(" has no entry ") != std::string_view::npos;
  const bool not_loaded = what.find("cannot load") != std::string_view::npos;
  ErrorRecord record;
  record.subsystem = "DROVANEXIS";
  record.description = std::string(what);
  if (!names.empty()) record.file_name = names[0];
  if (missing_entry) {
    record.generic_code = generic_code::undefined_function;
    record.subcode = 1002;
    if (names.size() > 1) record.operation = names[1];
  } else if (not_loaded) {
    record.generic_code = generic_code::open_error;
    record.subcode = 1001;
  } else {
    record.generic_code = generic_code::unknown;
    record.subcode = 1003;
  }
  return record;
}

ProgramOutcome run_program(ErrorHandler& handler, const std::function<void()>& body,
                           const ExceptionTranslator& translate) {
  std::optional<ErrorRecord> escaped;
  try {
    body();
    return ProgramOutcome{};
  } catch (const ProgramEnd& end) {
    return ProgramOutcome{end.exit_code, end.report, ""};
  } catch (const Cancelled& cancelled) {
    return ProgramOutcome{1, "", cancelled.report()};
  } catch (const UnrecoverableError& error) {
    return unrecoverable_outcome(error);
  } catch (const std::bad_alloc&) {
    return unrecoverable_outcome({unrecoverable::memory_exhausted, "Out of memory"});
  } catch (const std::exception& error) {
    escaped = escaped_record(error, translate);
  } catch (...) {
    escaped =
        escaped_record(std::runtime_error("an unknown exception ended the operation"), translate);
  }
  return report(handler, *escaped);
}

}  // namespace console
