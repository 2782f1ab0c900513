#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "issue/cancellation_services.h"
#include "sandbox/ledger.h"
#include "sandbox/sqlite_db.h"

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
// acceptance at `now`: total of at most 5,000 MXN (converted with TipoCambio
// for other currencies), type N, E or T, a generic or foreign receiver, or
// within 72 hours of stamping. Otherwise the receiver must accept.
Cancellability assess_cancellability(const LedgerEntry& entry,
                                     std::chrono::system_clock::time_point now);

// The EsCancelable text of an assessment.
std::string cancellable_text(const Cancellability& cancellability);

}  // namespace drovanexis::sandbox
