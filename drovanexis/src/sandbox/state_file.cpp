#include "sandbox/state_file.h"

#include <cstdlib>
#include <mutex>

#include "portable/windows_path.h"
#include "sandbox/state_schema.h"

namespace drovanexis::sandbox {

namespace {

std::mutex folder_mutex;
std::filesystem::path state_folder;

}  // namespace

void set_state_folder(const std::filesystem::path& folder) {
  std::lock_guard lock(folder_mutex);
  state_folder = folder;
}

std::filesystem::path default_state_path() {
  const char* named = std::getenv("DROVANEXIS_SANDBOX_DB");
  if (named != nullptr && *named != '\0') return portable::resolve_path(named);
  std::lock_guard lock(folder_mutex);
  if (!state_folder.empty()) {
    return portable::resolve_path((state_folder / "Drovanexis.db").string());
  }
  return portable::resolve_path("Drovanexis.db");
}

std::unique_ptr<SqliteDb> open_state(const std::filesystem::path& file) {
  auto db = std::make_unique<SqliteDb>(file);
  migrate_state(*db);
  return db;
}

std::unique_ptr<SqliteDb> open_existing_state(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    throw StateError(file.string() +
                     ": the sandbox state file does not exist (create it with "
                     "\"drovanexis-sandbox init\")");
  }
  return open_state(file);
}

}  // namespace drovanexis::sandbox
