#include "sandbox/cancellation.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "crypto/certificate.h"
#include "crypto/crypto_error.h"
#include "crypto/private_key.h"
#include "sandbox/accounts.h"
#include "sandbox/acknowledgement.h"
#include "sandbox/cancellation_store.h"
#include "sandbox/provider_store.h"
#include "sandbox/service_files.h"
#include "sandbox/state_file.h"

namespace drovanexis::sandbox {

namespace {

// A failure that makes the request an internal error (-3).
class CancellationFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The answer for the UUID, with the cancellation service's code.
struct Answer {
  int result;
  const char* code;
  const char* description;
};

constexpr Answer kReceivedDirectly{kCancelledDirectly, "201", "UUID cancelado"};
constexpr Answer kReceivedInProcess{kCancellationInProcess, "201",
                                    "Solicitud de cancelación recibida, en espera de la "
                                    "aceptación del receptor"};
constexpr Answer kPreviouslyCancelled{kNotCancellable, "202", "UUID previamente cancelado"};
constexpr Answer kOtherIssuer{kNotCancellable, "203", "UUID no corresponde al RFC del emisor"};
constexpr Answer kNotApplicable{kNotCancellable, "204", "UUID no aplicable para cancelación"};
constexpr Answer kUnknown{kCancellationNotFound, "205", "UUID no existe"};

std::string upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

class Cancellation {
 public:
  Cancellation(const CancellationRequest& request, Clock::time_point now)
      : request_(request),
        now_(now),
        log_("Cancelación de CFDI", format_mexico_time(now), DROVANEXIS_VERSION) {}

  int run(std::string_view result_file) {
    log_request();
    int result = kCancellationInternalError;
    try {
      result = cancel(result_file);
    } catch (const std::exception& error) {
      result = fail(error.what(), result_file);
    }
    log_.result(result, meaning(result));
    return result;
  }

  const ServiceLog& log() const { return log_; }

 private:
  void log_request() {
    log_.section("Solicitud");
    log_.field("Usuario", request_.user);
    log_.field("RfcEmisor", request_.cfdi.issuer_rfc);
    log_.field("RfcReceptor", request_.cfdi.receiver_rfc);
    log_.field("Total", request_.cfdi.total);
    log_.field("UUID", request_.cfdi.uuid);
    log_.field("Certificado", request_.certificate_file);
    log_.field("Llave", request_.key_file);
    ini_ = request_fields();
  }

  ResultIni request_fields() const {
    ResultIni ini;
    ini.set("UUID", request_.cfdi.uuid);
    ini.set("RfcEmisor", request_.cfdi.issuer_rfc);
    ini.set("RfcReceptor", request_.cfdi.receiver_rfc);
    ini.set("Total", request_.cfdi.total);
    return ini;
  }

  int cancel(std::string_view result_file) {
    auto db = open_existing_state(default_state_path());
    log_.step("Archivo de estado abierto: " + db->file().string());
    if (!account_balance(*db, request_.user)) {
      throw CancellationFailure("el usuario \"" + request_.user + "\" no está registrado");
    }
    log_.step("Usuario " + request_.user + " autenticado");
    check_csd(*db);

    Transaction transaction(*db);
    if (settle_expired_request(*db, request_.cfdi.uuid, now_)) {
      log_.step("La solicitud anterior venció sin respuesta del receptor: CFDI cancelado");
    }
    const Answer answer = decide(*db);
    log_.section("Respuesta");
    log_.field("CodigoEstatus", std::string(answer.code) + " - " + answer.description);
    for (const char* key : {"Estado", "EsCancelable", "EstatusCancelacion"}) {
      log_.field(key, ini_.get(key));
    }
    ini_.set("CodigoEstatus", answer.code);
    ini_.set("Descripcion", answer.description);
    ini_.set("Fecha", format_mexico_time(now_));
    ini_.set("Resultado", std::to_string(answer.result));
    ini_.write(result_file);
    transaction.commit();
    log_.step("Resultado escrito en " + std::string(result_file));
    return answer.result;
  }

  // The CSD must open with its password, be a CSD of the sandbox's authority
  // in force now, and belong to the issuer.
  void check_csd(SqliteDb& db) {
    const Certificate certificate = load_certificate();
    log_.step("Certificado leído: " + certificate.number() + " de " + certificate.rfc());
    open_key(certificate);
    log_.step("Llave privada abierta y corresponde al certificado");
    const auto authority = load_authority(db);
    if (!authority) throw CancellationFailure("el archivo de estado no tiene autoridad");
    if (!certificate.is_csd() ||
        !certificate.issued_by(Certificate::from_bytes(authority->certificate_der, "autoridad"))) {
      throw CancellationFailure("el certificado " + request_.certificate_file +
                                " no es un CSD expedido por la autoridad del sandbox");
    }
    const std::time_t now = Clock::to_time_t(now_);
    if (now < certificate.valid_from() || now > certificate.valid_until()) {
      throw CancellationFailure("el certificado " + request_.certificate_file + " no está vigente");
    }
    if (upper(certificate.rfc()) != upper(request_.cfdi.issuer_rfc)) {
      throw CancellationFailure("el certificado es del RFC " + certificate.rfc() +
                                ", no del emisor " + request_.cfdi.issuer_rfc);
    }
    log_.step("Certificado vigente del emisor " + certificate.rfc());
  }

  Certificate load_certificate() const {
    try {
      return Certificate::load(request_.certificate_file);
    } catch (const CryptoError& error) {
      throw CancellationFailure(describe(error, "el certificado", request_.certificate_file));
    }
  }

  void open_key(const Certificate& certificate) const {
    try {
      PrivateKey::load(request_.key_file, request_.key_password).require_match(certificate);
    } catch (const CryptoError& error) {
      throw CancellationFailure(describe(error, "la llave privada", request_.key_file));
    }
  }

  // The CSD failure in the log's language; where the file itself is at
  // fault, the technical detail follows.
  static std::string describe(const CryptoError& error, const std::string& what,
                              const std::string& file) {
    const std::string where = " (" + file + ")";
    switch (error.code()) {
      case CryptoErrorCode::kFileNotFound:
        // "de" before "el certificado" contracts to "del certificado".
        return "no existe el archivo " + (what.starts_with("el ") ? "d" + what : "de " + what) +
               where;
      case CryptoErrorCode::kWrongPassword: return "la contraseña no abre la llave privada" + where;
      case CryptoErrorCode::kKeyMismatch: return "la llave no corresponde al certificado" + where;
      default: return "no se pudo usar " + what + where + ": " + error.what();
    }
  }

  Answer decide(SqliteDb& db) {
    const Lookup lookup = find_described_cfdi(db, request_.cfdi);
    switch (lookup.outcome) {
      case LookupOutcome::kFound: break;
      case LookupOutcome::kOtherIssuer: return refuse(kOtherIssuer, lookup.explanation);
      default: return not_found(lookup.explanation);
    }
    const LedgerEntry& entry = *lookup.entry;
    log_.step(lookup.explanation + " (" + entry.status + ", timbrado " + entry.fecha_timbrado +
              ")");
    const auto previous = latest_cancellation_request(db, entry.uuid);
    if (entry.status == kCancelled) {
      ini_.set("Estado", kCancelled);
      ini_.set("EstatusCancelacion", previous ? previous->status : "");
      return refuse(kPreviouslyCancelled, "el CFDI ya estaba cancelado");
    }
    ini_.set("Estado", kInForce);
    if (previous && previous->status == kRequestInProcess) {
      ini_.set("EsCancelable", "Cancelable con aceptación");
      ini_.set("EstatusCancelacion", kRequestInProcess);
      log_.step("Ya hay una solicitud en proceso desde " + previous->requested_at +
                "; no se registra otra");
      return kReceivedInProcess;
    }
    if (const auto relating = standing_documents_relating_to(db, entry.uuid); !relating.empty()) {
      ini_.set("EsCancelable", "No cancelable");
      return refuse(kNotApplicable,
                    "el CFDI " + relating.front() + " vigente lo relaciona; cancele ese primero");
    }
    return accept(db, entry);
  }

  Answer accept(SqliteDb& db, const LedgerEntry& entry) {
    const Cancellability cancellability = assess_cancellability(entry, now_);
    ini_.set("EsCancelable", cancellable_text(cancellability));
    log_.step(cancellable_text(cancellability) + ": " + cancellability.reason);
    const std::string now_text = format_mexico_time(now_);
    CancellationRecord record{entry.uuid, entry.issuer_rfc, now_text, "", ""};
    if (cancellability.without_acceptance) {
      record.status = kRequestWithoutAcceptance;
      record.answered_at = now_text;
      mark_cancelled(db, entry.uuid);
      ini_.set("Estado", kCancelled);
    } else {
      record.status = kRequestInProcess;
    }
    ini_.set("EstatusCancelacion", record.status);
    record_cancellation_request(db, record);
    record_acknowledgement(db, {entry.uuid, entry.issuer_rfc, now_text, "201",
                                acuse_xml(entry.issuer_rfc, entry.uuid, "201", acuse_time(now_))});
    log_.step("Solicitud registrada (" + record.status + ") y acuse 201 emitido");
    return cancellability.without_acceptance ? kReceivedDirectly : kReceivedInProcess;
  }

  Answer refuse(const Answer& answer, const std::string& explanation) {
    log_.error(std::string(answer.code) + ": " + explanation);
    return answer;
  }

  Answer not_found(const std::string& explanation) {
    ini_.set("Estado", "No Encontrado");
    return refuse(kUnknown, explanation);
  }

  // Nothing was recorded: the answer holds the request and the error only.
  int fail(const std::string& reason, std::string_view result_file) {
    log_.error(reason);
    ini_ = request_fields();
    ini_.set("Fecha", format_mexico_time(now_));
    ini_.set("Resultado", std::to_string(kCancellationInternalError));
    ini_.set("Error", reason);
    try {
      ini_.write(result_file);
    } catch (const std::exception& error) {
      log_.error(error.what());
    }
    return kCancellationInternalError;
  }

  static std::string meaning(int result) {
    switch (result) {
      case kCancelledDirectly: return "CFDI cancelado directamente";
      case kCancellationInProcess: return "CFDI cancelable con autorización del receptor";
      case kNotCancellable: return "CFDI no cancelable";
      case kCancellationNotFound: return "CFDI no encontrado";
      default: return "Error interno de cancelación";
    }
  }

  const CancellationRequest& request_;
  Clock::time_point now_;
  ServiceLog log_;
  ResultIni ini_;
};

}  // namespace

int cancel_cfdi(const CancellationRequest& request, std::string_view result_file,
                std::string_view log_file, Clock::time_point now) noexcept {
  try {
    Cancellation cancellation(request, now);
    const int result = cancellation.run(result_file);
    cancellation.log().write(log_file);
    return result;
  } catch (...) {
    return kCancellationInternalError;
  }
}

}  // namespace drovanexis::sandbox
