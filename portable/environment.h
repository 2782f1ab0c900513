#pragma once
// Reading and changing the process's environment variables.

#include <optional>
#include <string>

namespace portable {

std::optional<std::string> environment_variable(const std::string& name);
void set_environment_variable(const std::string& name, const std::string& value);
void unset_environment_variable(const std::string& name);

// Sets (or, with nullopt, removes) a variable for its own lifetime and puts
// back what was there before.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(std::string name, const std::optional<std::string>& value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace portable
