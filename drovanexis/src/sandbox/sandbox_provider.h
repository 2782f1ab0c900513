#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "crypto/certificate.h"
#include "document/element.h"
#include "sandbox/sqlite_db.h"
#include "sandbox/stamp.h"

namespace drovanexis::sandbox {

// Turns the stamped tree into the bytes of the output file.
using XmlSerializer = std::function<std::string(const Element&)>;

struct StampResult {
  StampFields stamp;
  std::int64_t operation_number = 0;
  std::int64_t balance_left = 0;
  std::string provider_rfc;
  std::string provider_name;
  std::string stamped_xml;
};

// The in-process stamping provider over one state file. Validation is the
// caller's: stamp() trusts that the document passed the provider's rules.
class SandboxProvider {
 public:
  // Opens an existing state file and loads the provider's certificate and
  // key and the test authority's certificate. Throws StateError when the file
  // or its provider is missing, CryptoError when the stored key is damaged.
  static SandboxProvider open(const std::filesystem::path& state_file);

  // The authority that must have issued every CSD (code 308).
  const Certificate& authority() const { return authority_; }
  const ProviderSigner& signer() const { return *signer_; }
  const std::string& provider_name() const { return provider_name_; }
  SqliteDb& db() { return *db_; }

  // Checks the account (codes 701, 702: throws StampRefused), adds the stamp
  // to the tree, and records the stamped XML in the ledger while taking one
  // stamp from the balance, in one transaction. On any failure the stamp is
  // removed from the tree again and neither ledger nor balance changed.
  StampResult stamp(Element& comprobante, const std::string& user, const std::string& password,
                    const XmlSerializer& serialize);

 private:
  SandboxProvider(std::unique_ptr<SqliteDb> db, std::unique_ptr<ProviderSigner> signer,
                  std::string provider_name, Certificate authority);

  StampResult stamp_and_record(Element& comprobante, const std::string& user,
                               const XmlSerializer& serialize);

  std::unique_ptr<SqliteDb> db_;
  std::unique_ptr<ProviderSigner> signer_;
  std::string provider_name_;
  Certificate authority_;
};

}  // namespace drovanexis::sandbox
