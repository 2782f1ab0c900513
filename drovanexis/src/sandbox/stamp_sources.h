#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// The input file a batch stamp was made from: its name and the SHA-256 (hex)
// of its bytes.
struct StampSource {
  std::string input_name;
  std::string input_sha256;
};

// Records which input file the stamped document `uuid` came from. Called in
// the transaction that records the stamp, so that the ledger never holds a
// batch stamp without its source. Throws StateError.
void record_stamp_source(SqliteDb& db, std::string_view uuid, const StampSource& source);

// The stamped XML recorded for an input file with exactly this name and
// content, or nullopt when that file was never stamped. A changed file (other
// bytes) is a new document and finds nothing.
struct SourcedStamp {
  std::string uuid;
  std::string stamped_xml;
};
std::optional<SourcedStamp> find_stamp_by_source(SqliteDb& db, const StampSource& source);

}  // namespace drovanexis::sandbox
