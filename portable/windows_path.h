#pragma once

#include <filesystem>
#include <string_view>

namespace portable {

// Turns a Windows-style file name into a path of this system: a leading ".\"
// is dropped and backslashes become separators. Where the exact name does not
// exist, each component is looked up without regard to letter case, as
// Windows would, so "CSD_KIJ0906199R1.CER" finds "CSD_KIJ0906199R1.cer".
// When nothing matches, the converted name is returned as it is.
std::filesystem::path resolve_path(std::string_view windows_name);

// Only the conversion: ".\" dropped, backslashes turned into "/".
std::filesystem::path to_native_path(std::string_view windows_name);

}  // namespace portable
