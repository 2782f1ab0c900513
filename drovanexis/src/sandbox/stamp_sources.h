#pragma once

#include <optional>
#include <string_view>

#include "issue/provider.h"
#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// Records that the account's stamp `uuid` was made from the input `source`.
// Called in the transaction that records the stamp, so that the ledger never
// holds a batch stamp without its source. A second source row for the same
// account and input breaks a unique index: StateError, and the transaction
// is undone. Throws StateError.
void record_stamp_source(SqliteDb& db, std::string_view uuid, std::string_view account,
                         const StampSource& source);

// The stamp the account holds for an input file with exactly this name and
// content, or nullopt when it stamped none. A changed file (other bytes) is
// a new document and finds nothing.
std::optional<RecordedStamp> find_stamp_by_source(SqliteDb& db, std::string_view account,
                                                  const StampSource& source);

}  // namespace drovanexis::sandbox
