#include "portable/temp_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <system_error>

namespace portable {

std::filesystem::path make_temporary_folder(const std::string& prefix) {
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  std::string pattern = (base / (prefix + "XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::filesystem::filesystem_error("cannot create a temporary folder", base / prefix,
                                            std::error_code(errno, std::generic_category()));
  }
  return pattern;
}

}  // namespace portable
