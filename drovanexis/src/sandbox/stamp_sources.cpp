#include "sandbox/stamp_sources.h"

namespace drovanexis::sandbox {

void record_stamp_source(SqliteDb& db, std::string_view uuid, std::string_view account,
                         const StampSource& source) {
  Statement(db,
            "INSERT INTO stamp_sources (uuid, account, input_name, input_sha256) "
            "VALUES (?, ?, ?, ?)")
      .bind(1, uuid)
      .bind(2, account)
      .bind(3, source.input_name)
      .bind(4, source.input_sha256)
      .run();
}

std::optional<RecordedStamp> find_stamp_by_source(SqliteDb& db, std::string_view account,
                                                  const StampSource& source) {
  Statement statement(db,
                      "SELECT l.uuid, l.stamped_xml FROM stamp_sources s "
                      "JOIN ledger l ON l.uuid = s.uuid "
                      "WHERE s.account = ? AND s.input_name = ? AND s.input_sha256 = ?");
  statement.bind(1, account).bind(2, source.input_name).bind(3, source.input_sha256);
  if (!statement.step()) return std::nullopt;
  return RecordedStamp{statement.text(0), statement.text(1)};
}

}  // namespace drovanexis::sandbox
