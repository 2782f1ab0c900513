#pragma once
// Creating a new folder of our own under the system's temporary folder.

#include <filesystem>
#include <string>

namespace portable {

// Creates a new, empty folder named `prefix` plus a unique suffix in the
// system's temporary folder, readable by this user only; throws
// std::filesystem::filesystem_error when it cannot.
std::filesystem::path make_temporary_folder(const std::string& prefix);

}  // namespace portable
