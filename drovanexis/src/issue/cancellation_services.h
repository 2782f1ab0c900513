#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace drovanexis {

// The provider's services for the documents it stamped, as the SAT runs
// them: cancelling one, asking for its status, and retrieving the
// acknowledgement (Acuse) of its cancellation. The provider decides every
// answer from its rules and records; the caller reads the issuer's CSD and
// writes the answer and the log.

// The CFDI a request names: UUID, issuer, receiver and total.
struct CfdiDescription {
  std::string uuid;
  std::string issuer_rfc;
  std::string receiver_rfc;
  std::string total;
};

// Receives the provider's account of a request, one line of text each, for
// the caller's log: what it did, and why it refused or failed. `accepted` is
// called once the provider has accepted the account, before it looks the
// document up. Any of them may be empty.
struct ServiceReport {
  std::function<void(std::string_view)> step = {};
  std::function<void(std::string_view)> error = {};
  std::function<void()> accepted = {};

  void report_step(std::string_view text) const {
    if (step) step(text);
  }
  void report_error(std::string_view text) const {
    if (error) error(text);
  }
  void report_accepted() const {
    if (accepted) accepted();
  }
};

// Results of a cancellation.
inline constexpr int kCancelledDirectly = 0;
inline constexpr int kCancellationInProcess = 1;  // the receiver must accept
inline constexpr int kNotCancellable = -1;        // including already cancelled
inline constexpr int kCancellationNotFound = -2;
inline constexpr int kCancellationInternalError = -3;

// The issuer's CSD certificate (DER), read by the caller, who has checked
// that its key opens with the password and is its pair; `source` names the
// file it came from, for messages.
struct IssuerCertificate {
  std::string der;
  std::string source;
};

// The provider's answer to a cancellation: the result above, the
// cancellation service's code ("201" to "205") and its description, and the
// document's state as far as the provider established it (absent where it
// did not get that far).
struct CancellationAnswer {
  int result = kCancellationInternalError;
  std::string code;
  std::string description;
  std::optional<std::string> estado;               // Estado
  std::optional<std::string> cancellable;          // EsCancelable
  std::optional<std::string> cancellation_status;  // EstatusCancelacion
};

// Why a document is cancelled (c_MotivoCancelacion).
inline constexpr std::string_view kMotivoWithReplacement = "01";     // errors, replaced
inline constexpr std::string_view kMotivoWithoutReplacement = "02";  // errors, not replaced
inline constexpr std::string_view kMotivoNotCarriedOut = "03";       // the operation did not happen
inline constexpr std::string_view kMotivoInGlobalInvoice = "04";     // included in a global invoice

struct CancellationRequest {
  std::string user;
  CfdiDescription cfdi;
  // Motivo "01" to "04"; with "01", and only then, folio_sustitucion is the
  // UUID of the document that replaces this one, which must relate it.
  std::string motivo;
  std::string folio_sustitucion;
  // Called once the account is accepted; throws (with the reason) when the
  // CSD cannot be read or its key does not open or match.
  std::function<IssuerCertificate()> issuer_certificate;
  std::chrono::system_clock::time_point now;
  ServiceReport report = {};
  // Receives the answer while the provider records it, before it commits:
  // a throw undoes the cancellation, so that none is recorded without its
  // answer delivered. May be empty.
  std::function<void(const CancellationAnswer&)> deliver = {};
};

// Results of a status query.
inline constexpr int kInForceCancellable = 2;
inline constexpr int kInForceNotCancellable = 1;
inline constexpr int kCancellationPending = 0;
inline constexpr int kPreviouslyCancelled = -1;
inline constexpr int kStatusNotFound = -2;
inline constexpr int kStatusInternalError = -3;

struct StatusRequest {
  std::string user;
  CfdiDescription cfdi;
  // The SAT's public query: anyone may ask, so no account is checked.
  bool public_query = false;
  std::chrono::system_clock::time_point now;
  ServiceReport report = {};
};

// The status service's answer: the result above and its CodigoEstatus,
// Estado, EsCancelable, EstatusCancelacion and ValidacionEFOS ("200": the
// issuer is not on the list of simulated operations; "" when not found).
struct StatusAnswer {
  int result = kStatusInternalError;
  std::string code;
  std::string estado;
  std::string cancellable;
  std::string cancellation_status;
  std::string efos_validation;
};

// Results of an acknowledgement retrieval.
inline constexpr int kAcknowledgementObtained = 1;
inline constexpr int kAcknowledgementUnavailable = 0;
inline constexpr int kAcknowledgementError = -1;

struct AcknowledgementRequest {
  std::string user;
  std::string issuer_rfc;
  std::string uuid;
  ServiceReport report = {};
};

// An acknowledgement as the provider hands it out, signed.
struct Acknowledgement {
  std::string status_code;  // EstatusUUID
  std::string issued_at;    // Fecha
  std::string signed_xml;   // the Acuse, UTF-8
};

}  // namespace drovanexis
