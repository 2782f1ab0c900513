#include "sandbox/stamp_sources.h"

namespace drovanexis::sandbox {

void record_stamp_source(SqliteDb& db, std::string_view uuid, const StampSource& source) {
  Statement(db, "INSERT INTO stamp_sources (uuid, input_name, input_sha256) VALUES (?, ?, ?)")
      .bind(1, uuid)
      .bind(2, source.input_name)
      .bind(3, source.input_sha256)
      .run();
}

std::optional<SourcedStamp> find_stamp_by_source(SqliteDb& db, const StampSource& source) {
  // The latest stamp wins should one file have been stamped twice before
  // sources were recorded by every run.
  Statement statement(db,
                      "SELECT l.uuid, l.stamped_xml FROM stamp_sources s "
                      "JOIN ledger l ON l.uuid = s.uuid "
                      "WHERE s.input_name = ? AND s.input_sha256 = ? "
                      "ORDER BY l.operation_number DESC LIMIT 1");
  statement.bind(1, source.input_name).bind(2, source.input_sha256);
  if (!statement.step()) return std::nullopt;
  return SourcedStamp{statement.text(0), statement.text(1)};
}

}  // namespace drovanexis::sandbox
