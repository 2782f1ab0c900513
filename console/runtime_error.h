#pragma once
// A run-time error raised by a console service: which component raised it,
// its own error number, a short description and the operation or argument
// concerned. It will grow into the full error record of the error handler.

#include <stdexcept>
#include <string>

namespace console {

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(std::string subsystem, int subcode, std::string description, std::string operation)
      : std::runtime_error("Error " + subsystem + "/" + std::to_string(subcode) + "  " +
                           description + ": " + operation),
        subsystem_(std::move(subsystem)),
        subcode_(subcode),
        description_(std::move(description)),
        operation_(std::move(operation)) {}

  const std::string& subsystem() const { return subsystem_; }
  int subcode() const { return subcode_; }
  const std::string& description() const { return description_; }
  const std::string& operation() const { return operation_; }

 private:
  std::string subsystem_;
  int subcode_;
  std::string description_;
  std::string operation_;
};

}  // namespace console
