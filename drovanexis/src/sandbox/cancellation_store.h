#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sandbox/sqlite_db.h"
#include "time/civil_time.h"

namespace drovanexis::sandbox {

// Statuses of a cancellation request (EstatusCancelacion).
inline constexpr std::string_view kRequestInProcess = "En proceso";
inline constexpr std::string_view kRequestExpired = "Plazo vencido";
inline constexpr std::string_view kRequestAccepted = "Cancelado con aceptación";
inline constexpr std::string_view kRequestWithoutAcceptance = "Cancelado sin aceptación";
inline constexpr std::string_view kRequestRejected = "Solicitud rechazada";

// Ledger statuses (Estado).
inline constexpr std::string_view kInForce = "Vigente";
inline constexpr std::string_view kCancelled = "Cancelado";

// How many business days after the day of the request the receiver has to
// accept or reject a cancellation; silence accepts it.
inline constexpr int kAcceptanceBusinessDays = 3;

struct CancellationRecord {
  std::string uuid;
  std::string issuer_rfc;
  std::string requested_at;  // central Mexico time, "yyyy-mm-ddThh:mm:ss"
  std::string status;
  std::string answered_at;        // "" while in process
  std::string motivo;             // "" for requests recorded before Motivos were kept
  std::string folio_sustitucion;  // the replacing UUID, Motivo 01 only
};

// The first moment (central Mexico time) at which a request made at
// `requested_at` counts as accepted by the receiver's silence.
std::optional<LocalDateTime> acceptance_deadline(std::string_view requested_at);

struct AcknowledgementRecord {
  std::string uuid;
  std::string issuer_rfc;
  std::string issued_at;
  std::string status_code;  // EstatusUUID, "201"
  std::string xml;          // the Acuse, unsigned: it is signed when handed out
};

// The most recent cancellation request for the UUID.
std::optional<CancellationRecord> latest_cancellation_request(SqliteDb& db, std::string_view uuid);

void record_cancellation_request(SqliteDb& db, const CancellationRecord& request);

// Marks the ledger entry cancelled.
void mark_cancelled(SqliteDb& db, std::string_view uuid);

// A request still in process whose acceptance period ended by `now` was
// accepted by the receiver's silence: the request becomes "Plazo vencido"
// and the document cancelled. Returns true when it settled one.
bool settle_expired_request(SqliteDb& db, std::string_view uuid,
                            std::chrono::system_clock::time_point now);

// The receiver's answer to the request in process for the UUID, at `now`:
// accepted cancels the document ("Cancelado con aceptación"), rejected
// leaves it in force ("Solicitud rechazada"). Throws std::runtime_error,
// with the reason and nothing changed, when the UUID has no request in
// process (none, already answered, or its period ended by `now`) or
// `receiver_rfc` is not the document's receiver.
CancellationRecord answer_cancellation_request(SqliteDb& db, std::string_view uuid,
                                               std::string_view receiver_rfc, bool accept,
                                               std::chrono::system_clock::time_point now);

void record_acknowledgement(SqliteDb& db, const AcknowledgementRecord& acknowledgement);

// The latest acknowledgement of the UUID issued to that RFC.
std::optional<AcknowledgementRecord> find_acknowledgement(SqliteDb& db, std::string_view uuid,
                                                          std::string_view issuer_rfc);

// UUIDs of the documents in force, other than this one, whose stamped XML
// names the UUID (as a related CFDI or a paid document) otherwise than as
// the document it replaces: while they stand, the document cannot be
// cancelled.
std::vector<std::string> standing_documents_relating_to(SqliteDb& db, std::string_view uuid);

}  // namespace drovanexis::sandbox
