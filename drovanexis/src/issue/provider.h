#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "document/element.h"
#include "issue/bulk_download.h"
#include "issue/cancellation_services.h"
#include "validate/validation.h"

namespace drovanexis {

// The door between the issuing pipeline and a stamping provider. The pipeline
// reads the credentials, seals and writes the files and the log; the provider
// validates what it is handed and stamps it, keeps the accounts and answers
// for the documents it stamped. The sandbox is the one provider today; a
// provider over the network can take its place behind the same operations.

// Turns the stamped tree into the bytes the provider records and the
// pipeline writes.
using XmlSerializer = std::function<std::string(const Element&)>;

// Receives the provider's steps, one line of text each, for the caller's log.
using StepReport = std::function<void(std::string_view)>;

// The attributes of one TimbreFiscalDigital 1.1 and its original string.
struct StampFields {
  std::string uuid;
  std::string fecha_timbrado;
  std::string rfc_prov_certif;
  std::string sello_cfd;
  std::string no_certificado_sat;
  std::string sello_sat;
  std::string original_string;
};

// What the provider answers for a document it stamped.
struct StampResult {
  StampFields stamp;
  std::int64_t operation_number = 0;
  std::int64_t balance_left = 0;
  std::string provider_rfc;
  std::string provider_name;
  std::string stamped_xml;
};

// Receives the stamped XML while the provider records the stamp, before it
// commits: a throw undoes the stamp, so a document that cannot be delivered
// costs nothing.
using Delivery = std::function<void(std::string_view stamped_xml)>;

// A sealed document handed over for stamping, and the account that pays for
// the stamp.
struct StampRequest {
  Element& comprobante;
  std::string user;
  std::string password;
  XmlSerializer serialize;
  StepReport report;
  Delivery deliver = {};  // may be empty
};

// The provider refused the request: the failures with their codes (the SAT's
// rule codes, or the provider's own 7xx), in the order found; never empty.
class ProviderRefusal : public std::runtime_error {
 public:
  explicit ProviderRefusal(std::vector<Failure> failures);
  // One failure with the provider's code and its description, followed by
  // ": detail" when a detail is given.
  ProviderRefusal(int code, std::string_view detail);

  const std::vector<Failure>& failures() const { return failures_; }

 private:
  std::vector<Failure> failures_;
};

// The provider cannot be reached (code 703); reason() is what stood in the
// way, for a log that names it without the code's description.
class ProviderUnavailable : public ProviderRefusal {
 public:
  explicit ProviderUnavailable(std::string reason);

  const std::string& reason() const { return reason_; }

 private:
  std::string reason_;
};

// The input file a document of a batch was made from: its name (the full
// path, links resolved) and the SHA-256 (hex) of its bytes. An account
// stamps one input once: the provider keeps the stamp it made for it.
struct StampSource {
  std::string input_name;
  std::string input_sha256;
};

// The stamp an account holds for an input.
struct RecordedStamp {
  std::string uuid;
  std::string stamped_xml;
};

// A sealed document of a batch that the provider validated and stamped but
// has not recorded: nothing is spent until a commit records it.
struct PreparedStamp {
  std::string uuid;
  std::string fecha_timbrado;
  std::string stamped_xml;
  // What the provider records of the document besides its bytes.
  std::string issuer_rfc;
  std::string receiver_rfc;
  std::string total;
  std::string document_type;
  std::string fecha;
};

// What became of one document of a committed group.
enum class BatchOutcome : unsigned char {
  kStamped,       // its prepared stamp was recorded and one stamp spent
  kRecovered,     // the account already held a stamp for its input: that one
  kRefused,       // not recorded (code and message say why); nothing spent
  kNotDelivered,  // its document could not be written: not recorded, nothing spent
};

// One document of a group handed to StampBatch::commit.
struct BatchItem {
  StampSource source;
  // Empty when only a stamp already recorded for the input is wanted.
  std::optional<PreparedStamp> prepared;

  // Set by commit.
  BatchOutcome outcome = BatchOutcome::kRefused;
  std::string uuid;         // of the stamp recorded for the input
  std::string stamped_xml;  // the document to deliver: the recorded one
  int code = 0;             // of a refusal
  std::string message;
};

// Where a batch delivers its documents, called by commit inside the
// provider's transaction, so that a stamp is recorded only once its document
// is safely written.
class BatchDelivery {
 public:
  virtual ~BatchDelivery() = default;
  // Writes one item's stamped_xml where it goes, under a name that is not yet
  // its final one, not yet durable; false when it cannot.
  virtual bool write(const BatchItem& item) = 0;
  // Makes every document written so far durable; false when it cannot.
  virtual bool flush() = 0;
};

// A run of many stamps for one account. prepare() does the costly work
// (validation and the stamp's signature) and may run on several threads at
// once; commit() records a group of prepared documents with one transaction
// and one flush of their files.
class StampBatch {
 public:
  virtual ~StampBatch() = default;

  // The stamp the account already holds for this input, if any. Safe to
  // call from several threads at once; a look-up before the costly work,
  // which commit() repeats where it counts.
  virtual std::optional<RecordedStamp> recorded(const StampSource& source) = 0;

  // Validates a sealed document as stamp() does and signs its stamp, which
  // the tree then carries; records nothing and spends nothing. Throws
  // ProviderRefusal with the rules that failed. Safe to call from several
  // threads at once.
  virtual PreparedStamp prepare(Element& comprobante) = 0;

  // Records a group in one transaction. For each item, the stamp the account
  // already holds for its source wins (kRecovered, nothing spent); otherwise
  // its prepared stamp takes one stamp from the balance (kStamped), or is
  // refused with 702 when none is left. Every item to be recorded or
  // recovered is written through `delivery` and flushed once before the
  // transaction commits: an item whose write fails is kNotDelivered, and a
  // failed flush leaves every item kNotDelivered with nothing recorded.
  // Throws ProviderUnavailable when the state cannot be written; nothing of
  // the group is recorded then.
  virtual void commit(std::span<BatchItem> group, BatchDelivery& delivery) = 0;

  // The stamps left on the account.
  virtual std::int64_t balance() = 0;
};

class Provider {
 public:
  virtual ~Provider() = default;

  // Validates the sealed document with the provider's rules (the issuer's
  // certificate is the one in its Certificado attribute), then takes one
  // stamp from the account, adds the TimbreFiscalDigital to the tree and
  // records the stamped document. Throws ProviderRefusal with every rule that
  // failed, or with 701/702 for the account and 703 when the provider cannot
  // be reached; the tree carries no stamp after any failure.
  virtual StampResult stamp(const StampRequest& request) = 0;

  // The stamps left on the account. Throws ProviderRefusal (701) for an
  // unknown user or a wrong password.
  virtual std::int64_t balance(const std::string& user, const std::string& password) = 0;

  // The stamps the account has taken so far (documents stamped with it).
  virtual std::int64_t stamps_used(const std::string& user) = 0;

  // Checks a CFDI as the provider checks what it is handed, at the instant
  // `at` (for a stamped document the time it was stamped, so that a receiver
  // can check it later): every rule that fails, in the order found. A stamp
  // the document carries is taken off the copy handed in first, so that the
  // document is judged as it was handed over for stamping.
  virtual std::vector<Failure> check_rules(Element comprobante, std::time_t at) = 0;

  // True when the stamp's SelloSAT verifies over its original string with a
  // certificate of this provider whose number is the stamp's
  // NoCertificadoSAT; false for a stamp this provider did not sign.
  virtual bool stamp_seal_verifies(const Element& timbre) = 0;

  // Bulk download of an RFC's stamped documents (see bulk_download.h):
  // files a request and returns its id; reports a request's state and
  // packages; hands out one package. Each throws DownloadRefusal with the
  // service's code for a request, package or account it cannot serve.
  virtual std::string request_download(const DownloadRequest& request, std::time_t now) = 0;
  virtual DownloadVerification verify_download(const std::string& rfc,
                                               const std::string& request_id) = 0;
  virtual DownloadPackage download_package(const std::string& rfc,
                                           const std::string& package_id) = 0;

  // The services for stamped documents (see cancellation_services.h). Each
  // reports its steps through the request's report and throws (with the
  // reason in what()) when it cannot answer: an unknown account, a CSD that
  // is not the issuer's, an unreadable state; a cancellation that throws
  // records nothing.
  //
  // Cancels the document or records the request as awaiting the receiver's
  // acceptance, by the cancellation rules at the request's instant.
  virtual CancellationAnswer cancel(const CancellationRequest& request) = 0;
  // The document's status at the request's instant; a request whose
  // acceptance period ended by then is settled first.
  virtual StatusAnswer status(const StatusRequest& request) = 0;
  // The acknowledgement of the UUID's cancellation issued to the RFC,
  // signed; nullopt when there is none.
  virtual std::optional<Acknowledgement> acknowledgement(const AcknowledgementRequest& request) = 0;
  // The document with that UUID as the provider recorded it when it stamped
  // it; nullopt when it stamped none.
  virtual std::optional<CfdiDescription> recorded_cfdi(const std::string& uuid) = 0;

  // Opens a batch of stamps for the account, whose stamped documents
  // `serialize` writes. Throws ProviderRefusal (701) for an unknown user or a
  // wrong password, ProviderUnavailable when the provider cannot be reached.
  virtual std::unique_ptr<StampBatch> open_batch(const std::string& user,
                                                 const std::string& password,
                                                 XmlSerializer serialize) = 0;
};

// The provider the pipeline works with: today the sandbox over its state
// file. Throws ProviderUnavailable when it cannot be opened.
std::unique_ptr<Provider> open_provider();

// The folder the provider looks for its state in (Drovanexis_SetDllPath);
// an empty path restores the working folder. Process-wide.
void set_provider_folder(const std::filesystem::path& folder);

// The files that provider keeps its state in (with their journals), which no
// output of the library may replace.
std::vector<std::filesystem::path> provider_kept_files();

}  // namespace drovanexis
