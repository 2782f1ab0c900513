#include "sandbox/cancellation_store.h"

#include "time/central_mexico.h"
#include "time/civil_time.h"

namespace drovanexis::sandbox {

std::optional<CancellationRecord> latest_cancellation_request(SqliteDb& db, std::string_view uuid) {
  Statement statement(db,
                      "SELECT uuid, issuer_rfc, requested_at, status, answered_at "
                      "FROM cancellation_requests WHERE uuid = ? COLLATE NOCASE "
                      "ORDER BY id DESC LIMIT 1");
  statement.bind(1, uuid);
  if (!statement.step()) return std::nullopt;
  return CancellationRecord{statement.text(0), statement.text(1), statement.text(2),
                            statement.text(3), statement.is_null(4) ? "" : statement.text(4)};
}

void record_cancellation_request(SqliteDb& db, const CancellationRecord& request) {
  Statement statement(db,
                      "INSERT INTO cancellation_requests (uuid, issuer_rfc, requested_at, status, "
                      "answered_at) VALUES (?, ?, ?, ?, ?)");
  statement.bind(1, request.uuid).bind(2, request.issuer_rfc).bind(3, request.requested_at);
  statement.bind(4, request.status);
  if (request.answered_at.empty()) {
    statement.bind_null(5);
  } else {
    statement.bind(5, request.answered_at);
  }
  statement.run();
}

void mark_cancelled(SqliteDb& db, std::string_view uuid) {
  Statement(db, "UPDATE ledger SET status = ? WHERE uuid = ?")
      .bind(1, kCancelled)
      .bind(2, uuid)
      .run();
}

bool settle_expired_request(SqliteDb& db, std::string_view uuid,
                            std::chrono::system_clock::time_point now) {
  const auto request = latest_cancellation_request(db, uuid);
  if (!request || request->status != kRequestInProcess) return false;
  const auto requested_local = parse_date_time(request->requested_at);
  if (!requested_local) return false;
  const auto requested = central_mexico::instant(*requested_local);
  if (now < requested + kAcceptancePeriod) return false;
  Transaction transaction(db);
  Statement(db,
            "UPDATE cancellation_requests SET status = ?, answered_at = ? WHERE id = "
            "(SELECT MAX(id) FROM cancellation_requests WHERE uuid = ? COLLATE NOCASE)")
      .bind(1, kRequestExpired)
      .bind(2, central_mexico::format(requested + kAcceptancePeriod))
      .bind(3, uuid)
      .run();
  mark_cancelled(db, uuid);
  transaction.commit();
  return true;
}

void record_acknowledgement(SqliteDb& db, const AcknowledgementRecord& acknowledgement) {
  Statement(db,
            "INSERT INTO acknowledgements (uuid, issuer_rfc, issued_at, status_code, "
            "acknowledgement_xml) VALUES (?, ?, ?, ?, ?)")
      .bind(1, acknowledgement.uuid)
      .bind(2, acknowledgement.issuer_rfc)
      .bind(3, acknowledgement.issued_at)
      .bind(4, acknowledgement.status_code)
      .bind_blob(5, acknowledgement.xml)
      .run();
}

std::optional<AcknowledgementRecord> find_acknowledgement(SqliteDb& db, std::string_view uuid,
                                                          std::string_view issuer_rfc) {
  Statement statement(db,
                      "SELECT uuid, issuer_rfc, issued_at, status_code, acknowledgement_xml "
                      "FROM acknowledgements WHERE uuid = ? COLLATE NOCASE "
                      "AND issuer_rfc = ? COLLATE NOCASE ORDER BY id DESC LIMIT 1");
  statement.bind(1, uuid).bind(2, issuer_rfc);
  if (!statement.step()) return std::nullopt;
  return AcknowledgementRecord{statement.text(0), statement.text(1), statement.text(2),
                               statement.text(3), statement.text(4)};
}

std::vector<std::string> standing_documents_relating_to(SqliteDb& db, std::string_view uuid) {
  Statement statement(db,
                      "SELECT uuid FROM ledger WHERE status = ? AND uuid <> ? "
                      "AND instr(lower(CAST(stamped_xml AS TEXT)), lower(?)) > 0 "
                      "ORDER BY operation_number");
  statement.bind(1, kInForce).bind(2, uuid).bind(3, uuid);
  std::vector<std::string> found;
  while (statement.step()) found.push_back(statement.text(0));
  return found;
}

}  // namespace drovanexis::sandbox
