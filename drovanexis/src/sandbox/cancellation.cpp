#include "sandbox/cancellation.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <stdexcept>

#include "sandbox/accounts.h"
#include "sandbox/acknowledgement.h"
#include "sandbox/cancellation_rules.h"
#include "sandbox/cancellation_store.h"
#include "time/central_mexico.h"
#include "time/civil_time.h"

namespace drovanexis::sandbox {

namespace {

// A failure that makes the request an internal error.
class CancellationFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The answer for the UUID, with the cancellation service's code.
struct Answer {
  int result;
  std::string code;
  std::string description;
};

// 201 acknowledges the request; whether it cancelled the document at once
// is in the result and in Estado.
const Answer kReceivedDirectly{kCancelledDirectly, "201",
                               "Solicitud de cancelación recibida, CFDI cancelado sin "
                               "aceptación del receptor"};
const Answer kReceivedInProcess{kCancellationInProcess, "201",
                                "Solicitud de cancelación recibida, en espera de la "
                                "aceptación del receptor"};
const Answer kAlreadyCancelled{kNotCancellable, "202", "UUID previamente cancelado"};
const Answer kOtherIssuer{kNotCancellable, "203", "UUID no corresponde al RFC del emisor"};
const Answer kNotApplicable{kNotCancellable, "204", "UUID no aplicable para cancelación"};
const Answer kUnknown{kCancellationNotFound, "205", "UUID no existe"};

std::string upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

class Cancellation {
 public:
  Cancellation(SqliteDb& db, const Certificate& authority, const CancellationRequest& request)
      : db_(db), authority_(authority), request_(request), report_(request.report) {}

  CancellationAnswer run() {
    report_.report_step("Archivo de estado abierto: " + db_.file().string());
    if (!account_balance(db_, request_.user)) {
      throw CancellationFailure("el usuario \"" + request_.user + "\" no está registrado");
    }
    report_.report_step("Usuario " + request_.user + " autenticado");
    report_.report_accepted();
    check_csd();

    Transaction transaction(db_);
    if (settle_expired_request(db_, request_.cfdi.uuid, request_.now)) {
      report_.report_step(
          "La solicitud anterior venció sin respuesta del receptor: CFDI cancelado");
    }
    const Answer decided = decide();
    answer_.result = decided.result;
    answer_.code = decided.code;
    answer_.description = decided.description;
    if (request_.deliver) request_.deliver(answer_);
    transaction.commit();
    return answer_;
  }

 private:
  // The CSD, read by the caller, must be a CSD of the sandbox's authority in
  // force now, and belong to the issuer.
  void check_csd() {
    const IssuerCertificate read = request_.issuer_certificate();
    const Certificate certificate = Certificate::from_bytes(read.der, read.source);
    if (!certificate.is_csd() || !certificate.issued_by(authority_)) {
      throw CancellationFailure("el certificado " + read.source +
                                " no es un CSD expedido por la autoridad del sandbox");
    }
    const std::time_t now = std::chrono::system_clock::to_time_t(request_.now);
    if (now < certificate.valid_from() || now > certificate.valid_until()) {
      throw CancellationFailure("el certificado " + read.source + " no está vigente");
    }
    if (upper(certificate.rfc()) != upper(request_.cfdi.issuer_rfc)) {
      throw CancellationFailure("el certificado es del RFC " + certificate.rfc() +
                                ", no del emisor " + request_.cfdi.issuer_rfc);
    }
    report_.report_step("Certificado vigente del emisor " + certificate.rfc());
  }

  Answer decide() {
    if (const std::string wrong = check_motivo(request_.motivo); !wrong.empty()) {
      return refuse_request(wrong);
    }
    const Lookup lookup = find_described_cfdi(db_, request_.cfdi);
    switch (lookup.outcome) {
      case LookupOutcome::kFound: break;
      case LookupOutcome::kOtherIssuer: return refuse(kOtherIssuer, lookup.explanation);
      default: return not_found(lookup.explanation);
    }
    const LedgerEntry& entry = *lookup.entry;
    report_.report_step(lookup.explanation + " (" + entry.status + ", timbrado " +
                        entry.fecha_timbrado + ")");
    const auto previous = latest_cancellation_request(db_, entry.uuid);
    if (entry.status == kCancelled) {
      answer_.estado = kCancelled;
      answer_.cancellation_status = previous ? previous->status : "";
      return refuse(kAlreadyCancelled, "el CFDI ya estaba cancelado");
    }
    answer_.estado = kInForce;
    if (previous && previous->status == kRequestInProcess) {
      answer_.cancellable = "Cancelable con aceptación";
      answer_.cancellation_status = kRequestInProcess;
      report_.report_step("Ya hay una solicitud en proceso desde " + previous->requested_at +
                          "; no se registra otra");
      return kReceivedInProcess;
    }
    if (const auto relating = standing_documents_relating_to(db_, entry.uuid); !relating.empty()) {
      answer_.cancellable = "No cancelable";
      return refuse(kNotApplicable,
                    "el CFDI " + relating.front() + " vigente lo relaciona; cancele ese primero");
    }
    const auto closes = cancellation_closes_at(entry);
    if (closes && central_mexico::local_time(request_.now) >= *closes) {
      answer_.cancellable = "No cancelable";
      return refuse(kNotApplicable, "el plazo para cancelarlo terminó el " +
                                        format_date_time(*closes) +
                                        " (mes de la declaración anual de su ejercicio)");
    }
    const std::string wrong =
        check_replacement(db_, entry, request_.motivo, request_.folio_sustitucion);
    if (!wrong.empty()) return refuse_request(wrong);
    return accept(entry);
  }

  Answer accept(const LedgerEntry& entry) {
    const Cancellability cancellability = assess_cancellability(entry, request_.now);
    answer_.cancellable = cancellable_text(cancellability);
    report_.report_step(cancellable_text(cancellability) + ": " + cancellability.reason);
    const std::string now_text = central_mexico::format(request_.now);
    CancellationRecord record{entry.uuid,      entry.issuer_rfc,          now_text, "", "",
                              request_.motivo, request_.folio_sustitucion};
    if (cancellability.without_acceptance) {
      record.status = kRequestWithoutAcceptance;
      record.answered_at = now_text;
      mark_cancelled(db_, entry.uuid);
      answer_.estado = kCancelled;
    } else {
      record.status = kRequestInProcess;
    }
    answer_.cancellation_status = record.status;
    record_cancellation_request(db_, record);
    record_acknowledgement(
        db_, {entry.uuid, entry.issuer_rfc, now_text, "201",
              acuse_xml(entry.issuer_rfc, entry.uuid, "201", acuse_time(request_.now))});
    report_.report_step("Solicitud registrada (" + record.status + ", Motivo " + record.motivo +
                        (record.folio_sustitucion.empty()
                             ? std::string()
                             : ", sustituido por " + record.folio_sustitucion) +
                        ") y acuse 201 emitido");
    return cancellability.without_acceptance ? kReceivedDirectly : kReceivedInProcess;
  }

  Answer refuse(const Answer& answer, const std::string& explanation) {
    report_.report_error(answer.code + ": " + explanation);
    return answer;
  }

  // A request whose Motivo or FolioSustitucion does not stand: refused
  // before anything is recorded, with the reason in the answer itself.
  Answer refuse_request(const std::string& reason) {
    Answer answer = kNotApplicable;
    answer.description += ": " + reason;
    return refuse(answer, reason);
  }

  Answer not_found(const std::string& explanation) {
    answer_.estado = "No Encontrado";
    return refuse(kUnknown, explanation);
  }

  SqliteDb& db_;
  const Certificate& authority_;
  const CancellationRequest& request_;
  const ServiceReport& report_;
  CancellationAnswer answer_;
};

}  // namespace

CancellationAnswer cancel_cfdi(SqliteDb& db, const Certificate& authority,
                               const CancellationRequest& request) {
  return Cancellation(db, authority, request).run();
}

}  // namespace drovanexis::sandbox
