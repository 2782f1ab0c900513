#pragma once
// A run-time error raised as an exception: it carries the full error record
// (error_record.h). Raisers that cannot wait for a resolution throw it; the
// program's main() hands the record to the error handler, which reports it.
// The record is located in the routine running when the error is made.

#include <stdexcept>
#include <string>

#include "console/error_record.h"

namespace console {

class RuntimeError : public std::runtime_error {
 public:
  // An argument error (generic code 1) of a component: its own error number,
  // a short description and the operation or argument concerned.
  RuntimeError(std::string subsystem, int subcode, std::string description, std::string operation)
      : RuntimeError(argument_record(std::move(subsystem), subcode, std::move(description),
                                     std::move(operation))) {}

  explicit RuntimeError(ErrorRecord record)
      : std::runtime_error(error_message(record)), record_(std::move(record)) {}

  const ErrorRecord& record() const { return record_; }
  std::string subsystem() const { return record_.subsystem.value_or(""); }
  int subcode() const { return record_.subcode.value_or(0); }
  std::string description() const { return record_.description.value_or(""); }
  const std::string& operation() const { return record_.operation; }

 private:
  static ErrorRecord argument_record(std::string subsystem, int subcode, std::string description,
                                     std::string operation) {
    ErrorRecord record =
        ErrorRecord::raised_here(generic_code::argument, std::move(subsystem), subcode);
    record.description = std::move(description);
    record.operation = std::move(operation);
    return record;
  }

  ErrorRecord record_;
};

}  // namespace console
