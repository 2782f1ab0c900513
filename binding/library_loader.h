#pragma once

// Finding and loading the invoicing library, and resolving its entries.
// Nothing is cached here: the system's loader keeps the library loaded after
// the first call and hands back the same one on every later call.

#include <filesystem>
#include <string>

#include "binding/entry_table.h"

namespace binding {

inline constexpr const char* kLibraryFileName = "libdrovanexis.so";
// Names another library file to load instead (the tests' recording library).
inline constexpr const char* kLibraryVariable = "DROVANEXIS_LIBRARY";

struct LibraryLocation {
  std::string file;          // what the system's loader is given
  std::string looked_where;  // how it was chosen, for error messages
};

// The file named by `named_file` when it is not empty; otherwise the library
// beside the executable when it exists there; otherwise the bare file name,
// which the system's normal library search resolves.
LibraryLocation locate_library(const char* named_file, const std::filesystem::path& executable_dir);

// Loads the library found by locate_library() for this process; throws
// LibraryError naming the file and the loader's reason.
void* open_library();

// The address of the entry in the loaded library; throws LibraryError naming
// the entry and the file when the library cannot be loaded or lacks it.
void* entry_address(const Entry& entry);

}  // namespace binding
