#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "validate/validation.h"

namespace drovanexis::issue {

// Ends a processing run: the failures to log (at least one) and the result.
class ProcessingFailure : public std::runtime_error {
 public:
  explicit ProcessingFailure(std::vector<Failure> failures);
  ProcessingFailure(std::string code, std::string node, std::string attribute,
                    std::string explanation);

  const std::vector<Failure>& failures() const { return failures_; }
  // The first failure's code as text ("CFDI33118", "702") and as a number.
  const std::string& code() const { return failures_.front().code; }
  int result_number() const;
  // The description value 2 carries.
  std::string description() const;

 private:
  std::vector<Failure> failures_;
};

// The number of a code (validate/result_codes.h: "CFDI33118" → 33118,
// "NOM206" → 60206); 1 for an unknown code, so that a failure is never 0.
int code_number(const std::string& code);

}  // namespace drovanexis::issue
