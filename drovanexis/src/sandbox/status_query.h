#pragma once

#include "issue/cancellation_services.h"
#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// Answers with the CFDI's status in the state file (Estado, EsCancelable,
// EstatusCancelacion and CodigoEstatus of the SAT's status service) at the
// request's instant. A request whose acceptance period ended is settled
// first. Throws, with the reason, for an unknown account or an unreadable
// state file.
StatusAnswer query_status(SqliteDb& db, const StatusRequest& request);

}  // namespace drovanexis::sandbox
