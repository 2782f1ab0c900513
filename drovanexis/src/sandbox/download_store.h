#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "issue/bulk_download.h"
#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// Files a bulk download request in the state file: finds, in one
// transaction, the ledger's documents of the request (issued by or received
// by the RFC, issue date within the period, optionally with one counterpart)
// and records them as the request's package. Returns the request's id (a
// UUID). Throws DownloadRefusal ("301") for a period or RFC that cannot be
// read, StateError for the state file.
std::string file_download_request(SqliteDb& db, const DownloadRequest& request,
                                  std::chrono::system_clock::time_point now);

// The state of a request of the RFC. Throws DownloadRefusal ("5004"
// unknown request, "300" a request of another RFC).
DownloadVerification verify_download_request(SqliteDb& db, const std::string& rfc,
                                             const std::string& request_id);

// The package as a ZIP: the stamped XML files as "<UUID>.xml", or the
// metadata as one "<package id>.txt" of "~"-separated lines. Throws
// DownloadRefusal ("5007" unknown package, "300" another RFC's package).
DownloadPackage build_download_package(SqliteDb& db, const std::string& rfc,
                                       const std::string& package_id);

}  // namespace drovanexis::sandbox
