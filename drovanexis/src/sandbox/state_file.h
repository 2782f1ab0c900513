#pragma once

#include <filesystem>
#include <memory>

#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// The state file processing uses: DROVANEXIS_SANDBOX_DB when set and not
// empty (Windows-style names accepted), else "Drovanexis.db" in the folder
// set_state_folder() named, else in the working folder.
std::filesystem::path default_state_path();

// The folder where the library looks for its state file
// (Drovanexis_SetDllPath); an empty path restores the working folder.
// Process-wide.
void set_state_folder(const std::filesystem::path& folder);

// Opens (creating if needed) and migrates the state file.
std::unique_ptr<SqliteDb> open_state(const std::filesystem::path& file);

// Opens an existing state file; a missing file is a StateError that says how
// to create one, instead of an empty file without a provider.
std::unique_ptr<SqliteDb> open_existing_state(const std::filesystem::path& file);

}  // namespace drovanexis::sandbox
