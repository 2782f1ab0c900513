#pragma once

#include "crypto/certificate.h"
#include "issue/cancellation_services.h"
#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// Carries out a cancellation request against the state file: checks the
// account, then the issuer's CSD (issued by `authority`, in force at the
// request's instant, the issuer's own), the Motivo, finds the CFDI, checks
// the replacing document a Motivo 01 names, and cancels it
// directly or records the request as in process (a request that is accepted
// records an acknowledgement). The ledger changes only when the request's
// deliver accepted the answer. Throws, with the reason, when it cannot
// answer; nothing is recorded then.
CancellationAnswer cancel_cfdi(SqliteDb& db, const Certificate& authority,
                               const CancellationRequest& request);

}  // namespace drovanexis::sandbox
