#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "crypto/certificate.h"
#include "document/element.h"
#include "issue/provider.h"
#include "sandbox/sqlite_db.h"
#include "sandbox/stamp.h"

namespace drovanexis::sandbox {

// The in-process stamping provider over one state file: it validates what it
// is handed with the SAT's rules, and stamps and records it in its ledger.
class SandboxProvider final : public Provider {
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

  // Validates, then stamps as stamp_validated() does; refusals and state
  // errors become ProviderRefusal with their codes.
  StampResult stamp(const StampRequest& request) override;

  std::int64_t balance(const std::string& user, const std::string& password) override;
  std::int64_t stamps_used(const std::string& user) override;

  std::vector<Failure> check_rules(Element comprobante, std::time_t at) override;
  bool stamp_seal_verifies(const Element& timbre) override;

  std::string request_download(const DownloadRequest& request, std::time_t now) override;
  DownloadVerification verify_download(const std::string& rfc,
                                       const std::string& request_id) override;
  DownloadPackage download_package(const std::string& rfc, const std::string& package_id) override;

  CancellationAnswer cancel(const CancellationRequest& request) override;
  StatusAnswer status(const StatusRequest& request) override;
  std::optional<Acknowledgement> acknowledgement(const AcknowledgementRequest& request) override;
  std::optional<CfdiDescription> recorded_cfdi(const std::string& uuid) override;
  std::unique_ptr<StampBatch> open_batch(const std::string& user, const std::string& password,
                                         XmlSerializer serialize) override;

  // Checks the account (codes 701, 702: throws StampRefused), adds the stamp
  // to the tree, and records the stamped XML in the ledger while taking one
  // stamp from the balance, in one transaction. On any failure the stamp is
  // removed from the tree again and neither ledger nor balance changed. The
  // document is taken as valid.
  StampResult stamp_validated(Element& comprobante, const std::string& user,
                              const std::string& password, const XmlSerializer& serialize,
                              const Delivery& deliver = {});

  // Validates a document as it stands now and throws ProviderRefusal with
  // the failures, or when its version's business rules are not checked yet:
  // what stamp() and a batch's prepare() both ask before signing a stamp.
  // Safe to call from several threads at once.
  void check_stampable(const Element& comprobante) const;

  // Adds the signed stamp to a validated document and describes it as the
  // ledger records it, with its bytes; records nothing. `fields` receives the
  // stamp's attributes when given. Safe to call from several threads at once.
  PreparedStamp sign_stamp(Element& comprobante, const XmlSerializer& serialize,
                           StampFields* fields = nullptr) const;

  // The facts validation needs about a sealed document as this provider
  // sees them: its certificate against the test authority, its seal, now.
  // Safe to call from several threads at once.
  ValidationContext validation_context(const Element& comprobante) const;
  // The same, as of the instant `at`.
  ValidationContext validation_context(const Element& comprobante, std::time_t at) const;

 private:
  SandboxProvider(std::unique_ptr<SqliteDb> db, std::unique_ptr<ProviderSigner> signer,
                  std::string provider_name, Certificate authority);

  StampResult stamp_and_record(Element& comprobante, const std::string& user,
                               const XmlSerializer& serialize, const Delivery& deliver);

  std::unique_ptr<SqliteDb> db_;
  std::unique_ptr<ProviderSigner> signer_;
  std::string provider_name_;
  Certificate authority_;
};

}  // namespace drovanexis::sandbox
