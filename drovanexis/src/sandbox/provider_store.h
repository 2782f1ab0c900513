#pragma once

#include <optional>
#include <string>

#include "sandbox/sqlite_db.h"

namespace drovanexis::sandbox {

// A certificate (DER) with its private key as the key file holds it
// (PKCS#8 EncryptedPrivateKeyInfo, DER) and that key's password.
struct CertificateWithKey {
  std::string certificate_der;
  std::string key_der;
  std::string key_password;
};

struct ProviderRecord {
  std::string rfc;
  std::string name;
  CertificateWithKey credentials;
};

// The test authority that issues every certificate the sandbox accepts. Its
// key is kept for the tools that issue certificates; it may be absent.
void store_authority(SqliteDb& db, const CertificateWithKey& authority);
std::optional<CertificateWithKey> load_authority(SqliteDb& db);

void store_provider(SqliteDb& db, const ProviderRecord& provider);
std::optional<ProviderRecord> load_provider(SqliteDb& db);

}  // namespace drovanexis::sandbox
