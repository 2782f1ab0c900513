#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "issue/cancellation_services.h"
#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// The acknowledgement (Acuse) of a cancellation request for one UUID, as the
// ledger keeps it: Fecha with seven fractional digits and no zone, RfcEmisor,
// and one Folios element with the UUID and its EstatusUUID. Unsigned: the
// authority's signature is added when it is handed out.
std::string acuse_xml(std::string_view issuer_rfc, std::string_view uuid,
                      std::string_view status_code, std::string_view fecha);

// "yyyy-mm-ddThh:mm:ss.fffffff", central Mexico time.
std::string acuse_time(std::chrono::system_clock::time_point when);

// Looks up the acknowledgement of the UUID issued to the RFC in the state
// file and signs it with the sandbox's authority; nullopt when there is none.
// Throws, with the reason, for an unknown account or when it cannot sign.
std::optional<Acknowledgement> retrieve_acknowledgement(SqliteDb& db,
                                                        const AcknowledgementRequest& request);

}  // namespace drovanexis::sandbox
