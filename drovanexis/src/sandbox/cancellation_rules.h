#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "issue/cancellation_services.h"
#include "sandbox/ledger.h"
#include "sandbox/sqlite_db.h"
#include "time/civil_time.h"

namespace drovanexis::sandbox {

enum class LookupOutcome {
  kFound,
  kMalformed,    // the UUID or the total cannot name any CFDI
  kUnknownUuid,  // no document with that UUID
  kOtherIssuer,  // the UUID belongs to another issuer's document
  kDataDiffers,  // receiver or total differ from the stamped document's
};

struct Lookup {
  LookupOutcome outcome = LookupOutcome::kUnknownUuid;
  std::optional<LedgerEntry> entry;  // set for kFound and kOtherIssuer
  std::string explanation;           // Spanish, for the log
};

// Finds the stamped document the description names. RFCs and the UUID are
// compared without regard to letter case, totals by value ("1102.0" is
// "1102.00").
Lookup find_described_cfdi(SqliteDb& db, const CfdiDescription& description);

// Receivers that stand for the general public and for foreigners.
inline constexpr std::string_view kGenericReceiver = "XAXX010101000";
inline constexpr std::string_view kForeignReceiver = "XEXX010101000";

struct Cancellability {
  bool without_acceptance = false;
  std::string reason;  // Spanish, for the log: the rule that applied
};

// Whether the issuer may cancel the document without the receiver's
// acceptance at `now`: a total of at most 1,000.00 MXN (converted with
// TipoCambio for other currencies); payroll (N) or egreso (E); a traslado (T)
// unless it is a Carta Porte that moves fuels; an ingreso to a taxpayer of
// the regime of fiscal incorporation (RegimenFiscalReceptor 621); a receiver
// that is the general public (a global invoice) or a foreigner; or a request
// made by the end of the business day after the day of stamping. Otherwise
// the receiver must accept.
Cancellability assess_cancellability(const LedgerEntry& entry,
                                     std::chrono::system_clock::time_point now);

// The first moment (central Mexico time) at which the document can no longer
// be cancelled: after the month in which the annual return of its year is
// due, March of the next year for a company (an RFC of 12 characters), April
// for an individual (13). nullopt when the document's date cannot be read.
std::optional<LocalDateTime> cancellation_closes_at(const LedgerEntry& entry);

// Checks a request's Motivo and FolioSustitucion against the ledger for the
// document `cancelled`: "" when they are acceptable, otherwise why not
// (Spanish, for the answer and the log). Motivo is 01 to 04; 01 needs the
// UUID of a document in force of the same issuer that relates the cancelled
// one with TipoRelacion 04; any other Motivo takes no FolioSustitucion.
std::string check_motivo(std::string_view motivo);
std::string check_replacement(SqliteDb& db, const LedgerEntry& cancelled, std::string_view motivo,
                              std::string_view folio_sustitucion);

// The EsCancelable text of an assessment.
std::string cancellable_text(const Cancellability& cancellability);

}  // namespace drovanexis::sandbox
