#include "sandbox/state_schema.h"

#include <array>
#include <string>

namespace drovanexis::sandbox {

namespace {

// Version 1: every table of the provider, including the cancellation tables
// that only a later release fills.
constexpr const char* kVersion1 = R"sql(
CREATE TABLE authority (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  certificate BLOB NOT NULL,
  private_key BLOB,
  key_password TEXT
);
CREATE TABLE provider (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  rfc TEXT NOT NULL,
  name TEXT NOT NULL,
  certificate BLOB NOT NULL,
  private_key BLOB NOT NULL,
  key_password TEXT NOT NULL
);
CREATE TABLE accounts (
  user TEXT PRIMARY KEY,
  any_password INTEGER NOT NULL DEFAULT 0,
  password_hash TEXT,
  balance INTEGER NOT NULL CHECK (balance >= 0)
);
CREATE TABLE ledger (
  uuid TEXT PRIMARY KEY COLLATE NOCASE,
  operation_number INTEGER NOT NULL UNIQUE,
  account TEXT,
  issuer_rfc TEXT NOT NULL,
  receiver_rfc TEXT NOT NULL,
  total TEXT NOT NULL,
  document_type TEXT NOT NULL,
  fecha TEXT NOT NULL,
  fecha_timbrado TEXT NOT NULL,
  stamped_xml BLOB NOT NULL,
  status TEXT NOT NULL DEFAULT 'Vigente'
);
CREATE INDEX ledger_issuer ON ledger (issuer_rfc);
CREATE TABLE cancellation_requests (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  uuid TEXT NOT NULL REFERENCES ledger (uuid),
  issuer_rfc TEXT NOT NULL,
  requested_at TEXT NOT NULL,
  status TEXT NOT NULL,
  answered_at TEXT
);
CREATE TABLE acknowledgements (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  uuid TEXT NOT NULL REFERENCES ledger (uuid),
  issuer_rfc TEXT NOT NULL,
  issued_at TEXT NOT NULL,
  status_code TEXT NOT NULL,
  acknowledgement_xml BLOB NOT NULL
);
)sql";

// Version 2: the input file each batch stamp came from (name and SHA-256 of
// its bytes), so that a batch run stopped after a commit writes the stamped
// document out instead of stamping the file again.
constexpr const char* kVersion2 = R"sql(
CREATE TABLE stamp_sources (
  uuid TEXT PRIMARY KEY COLLATE NOCASE REFERENCES ledger (uuid),
  input_name TEXT NOT NULL,
  input_sha256 TEXT NOT NULL
);
CREATE INDEX stamp_sources_input ON stamp_sources (input_name, input_sha256);
)sql";

// Version 3: the bulk download requests and the documents of each package,
// fixed when the request is filed so that the package holds what the
// request found, whatever is stamped afterwards.
constexpr const char* kVersion3 = R"sql(
CREATE TABLE download_requests (
  id TEXT PRIMARY KEY,
  rfc TEXT NOT NULL COLLATE NOCASE,
  kind TEXT NOT NULL,
  date_from TEXT NOT NULL,
  date_to TEXT NOT NULL,
  counterpart_rfc TEXT NOT NULL,
  requested_at TEXT NOT NULL,
  state INTEGER NOT NULL,
  document_count INTEGER NOT NULL
);
CREATE TABLE download_documents (
  package_id TEXT NOT NULL,
  request_id TEXT NOT NULL REFERENCES download_requests (id),
  uuid TEXT NOT NULL REFERENCES ledger (uuid),
  PRIMARY KEY (package_id, uuid)
);
)sql";

// Version 4: an account stamps one input once. The source names its
// account, and a unique index makes a second stamp of the same input (name
// and bytes) for the same account impossible, whichever process asks. Files
// written before held duplicates: the latest stamp of each input stays its
// source, as look-ups already chose it; the earlier ones stay in the ledger.
constexpr const char* kVersion4 = R"sql(
CREATE TABLE stamp_sources_once (
  uuid TEXT PRIMARY KEY COLLATE NOCASE REFERENCES ledger (uuid),
  account TEXT NOT NULL,
  input_name TEXT NOT NULL,
  input_sha256 TEXT NOT NULL
);
INSERT INTO stamp_sources_once (uuid, account, input_name, input_sha256)
SELECT s.uuid, COALESCE(l.account, ''), s.input_name, s.input_sha256
FROM stamp_sources s JOIN ledger l ON l.uuid = s.uuid
WHERE l.operation_number = (
  SELECT MAX(l2.operation_number) FROM stamp_sources s2 JOIN ledger l2 ON l2.uuid = s2.uuid
  WHERE s2.input_name = s.input_name AND s2.input_sha256 = s.input_sha256
    AND COALESCE(l2.account, '') = COALESCE(l.account, ''));
DROP TABLE stamp_sources;
ALTER TABLE stamp_sources_once RENAME TO stamp_sources;
CREATE UNIQUE INDEX stamp_sources_input ON stamp_sources (account, input_name, input_sha256);
)sql";

// Version 5: each cancellation request keeps its Motivo and, for Motivo 01,
// the UUID of the replacing document. Requests recorded before carry
// neither (NULL): they are read as made without a Motivo.
constexpr const char* kVersion5 = R"sql(
ALTER TABLE cancellation_requests ADD COLUMN motivo TEXT;
ALTER TABLE cancellation_requests ADD COLUMN folio_sustitucion TEXT;
)sql";

// Index i holds the step from version i to version i + 1.
constexpr std::array<const char*, kStateSchemaVersion> kSteps = {kVersion1, kVersion2, kVersion3,
                                                                 kVersion4, kVersion5};

}  // namespace

int state_schema_version(SqliteDb& db) {
  Statement statement(db, "PRAGMA user_version");
  statement.step();
  return static_cast<int>(statement.integer(0));
}

void migrate_state(SqliteDb& db) { migrate_state_to(db, kStateSchemaVersion); }

void migrate_state_to(SqliteDb& db, int target) {
  if (state_schema_version(db) == target) return;
  Transaction transaction(db);
  const int found = state_schema_version(db);
  if (found > kStateSchemaVersion) {
    throw StateError(db.file().string() + ": the sandbox state file has schema version " +
                     std::to_string(found) + ", newer than this library's " +
                     std::to_string(kStateSchemaVersion));
  }
  for (int version = found; version < target; ++version) {
    db.exec_script(kSteps[static_cast<std::size_t>(version)]);
  }
  db.exec("PRAGMA user_version = " + std::to_string(target));
  transaction.commit();
}

}  // namespace drovanexis::sandbox
