#pragma once

#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// The schema version this build writes (PRAGMA user_version).
inline constexpr int kStateSchemaVersion = 5;

// Brings the state file up to kStateSchemaVersion, one step per version,
// inside one immediate transaction so that two processes opening a new file
// at once cannot both create it. A file of a newer version is refused rather
// than misread.
void migrate_state(SqliteDb& db);

// The same up to `target` (at most kStateSchemaVersion), so that tests can
// make a file as an earlier release wrote it.
void migrate_state_to(SqliteDb& db, int target);

int state_schema_version(SqliteDb& db);

}  // namespace drovanexis::sandbox
