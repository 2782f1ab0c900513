#include "portable/environment.h"

#include <cstdlib>

namespace portable {

std::optional<std::string> environment_variable(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

void set_environment_variable(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

void unset_environment_variable(const std::string& name) { ::unsetenv(name.c_str()); }

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::string name,
                                                     const std::optional<std::string>& value)
    : name_(std::move(name)), previous_(environment_variable(name_)) {
  if (value) {
    set_environment_variable(name_, *value);
  } else {
    unset_environment_variable(name_);
  }
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
  if (previous_) {
    set_environment_variable(name_, *previous_);
  } else {
    unset_environment_variable(name_);
  }
}

}  // namespace portable
