#pragma once

#include <stdexcept>
#include <string>

namespace binding {

// The invoicing library could not be loaded, or lacks an entry. what() names
// the file (with the loader's reason) or the entry and the file.
class LibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace binding
