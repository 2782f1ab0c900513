#include "sandbox/provider_store.h"

namespace drovanexis::sandbox {

void store_authority(SqliteDb& db, const CertificateWithKey& authority) {
  Statement statement(db,
                      "INSERT OR REPLACE INTO authority (id, certificate, private_key, "
                      "key_password) VALUES (1, ?, ?, ?)");
  statement.bind_blob(1, authority.certificate_der);
  if (authority.key_der.empty()) {
    statement.bind_null(2).bind_null(3);
  } else {
    statement.bind_blob(2, authority.key_der).bind(3, authority.key_password);
  }
  statement.run();
}

std::optional<CertificateWithKey> load_authority(SqliteDb& db) {
  Statement statement(db, "SELECT certificate, private_key, key_password FROM authority");
  if (!statement.step()) return std::nullopt;
  return CertificateWithKey{statement.text(0), statement.text(1), statement.text(2)};
}

void store_provider(SqliteDb& db, const ProviderRecord& provider) {
  Statement(db,
            "INSERT OR REPLACE INTO provider (id, rfc, name, certificate, private_key, "
            "key_password) VALUES (1, ?, ?, ?, ?, ?)")
      .bind(1, provider.rfc)
      .bind(2, provider.name)
      .bind_blob(3, provider.credentials.certificate_der)
      .bind_blob(4, provider.credentials.key_der)
      .bind(5, provider.credentials.key_password)
      .run();
}

std::optional<ProviderRecord> load_provider(SqliteDb& db) {
  Statement statement(db, "SELECT rfc, name, certificate, private_key, key_password FROM provider");
  if (!statement.step()) return std::nullopt;
  return ProviderRecord{statement.text(0),
                        statement.text(1),
                        {statement.text(2), statement.text(3), statement.text(4)}};
}

}  // namespace drovanexis::sandbox
