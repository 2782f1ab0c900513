#pragma once

#include <string>
#include <utility>
#include <vector>

namespace drovanexis::sandbox {

// One file of a package: its name inside the ZIP and its bytes.
struct PackageFile {
  std::string name;
  std::string bytes;
};

// The bytes of a ZIP file holding the files in the given order (deflated,
// names in UTF-8). Throws std::runtime_error with libzip's message.
std::string make_zip(const std::vector<PackageFile>& files);

}  // namespace drovanexis::sandbox
