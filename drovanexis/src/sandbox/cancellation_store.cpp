#include "sandbox/cancellation_store.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "sandbox/document_facts.h"
#include "sandbox/ledger.h"
#include "time/business_days.h"
#include "time/central_mexico.h"
#include "time/civil_time.h"

namespace drovanexis::sandbox {

namespace {

std::string optional_text(Statement& statement, int column) {
  return statement.is_null(column) ? "" : statement.text(column);
}

bool same_rfc(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::toupper(x) == std::toupper(y);
  });
}

void bind_optional(Statement& statement, int index, const std::string& text) {
  if (text.empty()) {
    statement.bind_null(index);
  } else {
    statement.bind(index, text);
  }
}

}  // namespace

std::optional<CancellationRecord> latest_cancellation_request(SqliteDb& db, std::string_view uuid) {
  Statement statement(db,
                      "SELECT uuid, issuer_rfc, requested_at, status, answered_at, motivo, "
                      "folio_sustitucion FROM cancellation_requests WHERE uuid = ? COLLATE NOCASE "
                      "ORDER BY id DESC LIMIT 1");
  statement.bind(1, uuid);
  if (!statement.step()) return std::nullopt;
  return CancellationRecord{statement.text(0),           statement.text(1),
                            statement.text(2),           statement.text(3),
                            optional_text(statement, 4), optional_text(statement, 5),
                            optional_text(statement, 6)};
}

void record_cancellation_request(SqliteDb& db, const CancellationRecord& request) {
  Statement statement(db,
                      "INSERT INTO cancellation_requests (uuid, issuer_rfc, requested_at, status, "
                      "answered_at, motivo, folio_sustitucion) VALUES (?, ?, ?, ?, ?, ?, ?)");
  statement.bind(1, request.uuid).bind(2, request.issuer_rfc).bind(3, request.requested_at);
  statement.bind(4, request.status);
  bind_optional(statement, 5, request.answered_at);
  bind_optional(statement, 6, request.motivo);
  bind_optional(statement, 7, request.folio_sustitucion);
  statement.run();
}

std::optional<LocalDateTime> acceptance_deadline(std::string_view requested_at) {
  const auto requested = parse_date_time(requested_at);
  if (!requested) return std::nullopt;
  return end_of_business_days_after(*requested, kAcceptanceBusinessDays);
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
  const auto deadline = acceptance_deadline(request->requested_at);
  if (!deadline || now < central_mexico::instant(*deadline)) return false;
  Transaction transaction(db);
  Statement(db,
            "UPDATE cancellation_requests SET status = ?, answered_at = ? WHERE id = "
            "(SELECT MAX(id) FROM cancellation_requests WHERE uuid = ? COLLATE NOCASE)")
      .bind(1, kRequestExpired)
      .bind(2, format_date_time(*deadline))
      .bind(3, uuid)
      .run();
  mark_cancelled(db, uuid);
  transaction.commit();
  return true;
}

CancellationRecord answer_cancellation_request(SqliteDb& db, std::string_view uuid,
                                               std::string_view receiver_rfc, bool accept,
                                               std::chrono::system_clock::time_point now) {
  Transaction transaction(db);
  settle_expired_request(db, uuid, now);
  const auto entry = find_ledger_entry(db, uuid);
  if (!entry) throw std::runtime_error("no CFDI stamped with the UUID " + std::string(uuid));
  if (!receiver_rfc.empty() && !same_rfc(entry->receiver_rfc, receiver_rfc)) {
    throw std::runtime_error("the receiver of " + entry->uuid + " is " + entry->receiver_rfc +
                             ", not " + std::string(receiver_rfc));
  }
  auto request = latest_cancellation_request(db, uuid);
  if (!request || request->status != kRequestInProcess) {
    throw std::runtime_error("the CFDI " + entry->uuid +
                             " has no cancellation request awaiting its receiver" +
                             (request ? " (its last request: " + request->status + ")" : ""));
  }
  request->status = std::string(accept ? kRequestAccepted : kRequestRejected);
  request->answered_at = central_mexico::format(now);
  Statement(db,
            "UPDATE cancellation_requests SET status = ?, answered_at = ? WHERE id = "
            "(SELECT MAX(id) FROM cancellation_requests WHERE uuid = ? COLLATE NOCASE)")
      .bind(1, request->status)
      .bind(2, request->answered_at)
      .bind(3, uuid)
      .run();
  if (accept) mark_cancelled(db, entry->uuid);
  transaction.commit();
  return *request;
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
  // The text search narrows the candidates; reading each one tells a
  // replacement (TipoRelacion 04), which never blocks, from the rest.
  Statement statement(db,
                      "SELECT uuid, stamped_xml FROM ledger WHERE status = ? AND uuid <> ? "
                      "AND instr(lower(CAST(stamped_xml AS TEXT)), lower(?)) > 0 "
                      "ORDER BY operation_number");
  statement.bind(1, kInForce).bind(2, uuid).bind(3, uuid);
  std::vector<std::string> found;
  while (statement.step()) {
    const DocumentFacts facts = read_document_facts(statement.text(1));
    // An unreadable record cannot be told apart: it blocks, as it did.
    if (!facts.readable || facts.references_uuid(uuid)) found.push_back(statement.text(0));
  }
  return found;
}

}  // namespace drovanexis::sandbox
