#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace drovanexis {

// An output file name the library must not write to; what() says why, in the
// log's language.
class UnsafeOutput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Refuses (throws UnsafeOutput), before anything is done, an output name that
// would destroy what the library or the caller keeps or that cannot be a file:
// a name that resolves (after the case-insensitive lookup, through links) to
// the provider's state file or its journal, to the library's log, to one of
// `inputs` (the files the same call reads), or to anything that is not a
// regular file; a new name must lie in an existing folder the process may
// write to. Windows-style names throughout.
void refuse_unsafe_output(std::string_view output_name,
                          std::initializer_list<std::string_view> inputs = {});

}  // namespace drovanexis
