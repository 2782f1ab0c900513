#include "issue/processing_failure.h"

#include "validate/result_codes.h"

namespace drovanexis::issue {

ProcessingFailure::ProcessingFailure(std::vector<Failure> failures)
    : std::runtime_error(failures.empty() ? "" : failures.front().explanation),
      failures_(std::move(failures)) {
  if (failures_.empty()) failures_.push_back({"899", "", "", "Error interno"});
}

ProcessingFailure::ProcessingFailure(std::string code, std::string node, std::string attribute,
                                     std::string explanation)
    : ProcessingFailure(std::vector<Failure>{
          {std::move(code), std::move(node), std::move(attribute), std::move(explanation)}}) {}

int ProcessingFailure::result_number() const { return code_number(code()); }

std::string ProcessingFailure::description() const {
  std::string text = failures_.front().explanation;
  if (failures_.size() > 1) {
    text += " (y " + std::to_string(failures_.size() - 1) + " error(es) más; ver Drovanexis.log)";
  }
  return text;
}

int code_number(const std::string& code) { return result_number(code); }

}  // namespace drovanexis::issue
