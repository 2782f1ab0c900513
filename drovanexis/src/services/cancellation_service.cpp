#include <stdexcept>

#include "crypto/certificate.h"
#include "crypto/crypto_error.h"
#include "crypto/private_key.h"
#include "services/cancellation.h"
#include "services/provider_call.h"
#include "services/service_files.h"
#include "time/central_mexico.h"

namespace drovanexis::services {

namespace {

// The CSD cannot be used: the request is an internal error.
class CsdFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CancellationService {
 public:
  CancellationService(const CancellationCall& call, std::chrono::system_clock::time_point now)
      : call_(call),
        now_(now),
        log_("Cancelación de CFDI", central_mexico::format(now), DROVANEXIS_VERSION) {}

  int run(std::string_view result_file, const ProviderOpener& open) {
    log_request();
    int result = kCancellationInternalError;
    try {
      result = cancel(result_file, open);
    } catch (const std::exception& error) {
      result = fail(failure_reason(error), result_file);
    }
    log_.result(result, meaning(result));
    return result;
  }

  const ServiceLog& log() const { return log_; }

 private:
  void log_request() {
    log_cfdi_request(log_, call_.user, call_.cfdi);
    log_.field("Certificado", call_.certificate_file);
    log_.field("Llave", call_.key_file);
    log_.field("Motivo", call_.motivo);
    if (!call_.folio_sustitucion.empty()) log_.field("FolioSustitucion", call_.folio_sustitucion);
    ini_ = cfdi_answer_fields(call_.cfdi);
    add_motivo(ini_);
  }

  // The Motivo (and the replacing UUID) the request was made with.
  void add_motivo(ResultIni& ini) const {
    ini.set("Motivo", call_.motivo);
    if (!call_.folio_sustitucion.empty()) ini.set("FolioSustitucion", call_.folio_sustitucion);
  }

  int cancel(std::string_view result_file, const ProviderOpener& open) {
    const std::unique_ptr<Provider> provider = open();
    const CancellationRequest request{
        call_.user,
        call_.cfdi,
        call_.motivo,
        call_.folio_sustitucion,
        [this] { return read_csd(); },
        now_,
        report_to(log_),
        [&](const CancellationAnswer& answer) { deliver(answer, result_file); }};
    const CancellationAnswer answer = provider->cancel(request);
    log_.step("Resultado escrito en " + std::string(result_file));
    return answer.result;
  }

  // The answer goes to the log and the result file while the provider still
  // holds the cancellation open: a result file that cannot be written
  // undoes it.
  void deliver(const CancellationAnswer& answer, std::string_view result_file) {
    log_.section("Respuesta");
    log_.field("CodigoEstatus", answer.code + " - " + answer.description);
    log_.field("Estado", answer.estado.value_or(""));
    log_.field("EsCancelable", answer.cancellable.value_or(""));
    log_.field("EstatusCancelacion", answer.cancellation_status.value_or(""));
    if (answer.estado) ini_.set("Estado", *answer.estado);
    if (answer.cancellable) ini_.set("EsCancelable", *answer.cancellable);
    if (answer.cancellation_status) ini_.set("EstatusCancelacion", *answer.cancellation_status);
    ini_.set("CodigoEstatus", answer.code);
    ini_.set("Descripcion", answer.description);
    ini_.set("Fecha", central_mexico::format(now_));
    ini_.set("Resultado", std::to_string(answer.result));
    ini_.write(result_file);
  }

  // The CSD must exist, its key open with the password and be its pair; the
  // provider judges the certificate itself.
  IssuerCertificate read_csd() {
    const Certificate certificate = load_certificate();
    log_.step("Certificado leído: " + certificate.number() + " de " + certificate.rfc());
    open_key(certificate);
    log_.step("Llave privada abierta y corresponde al certificado");
    return {certificate.der(), call_.certificate_file};
  }

  Certificate load_certificate() const {
    try {
      return Certificate::load(call_.certificate_file);
    } catch (const CryptoError& error) {
      throw CsdFailure(describe(error, "el certificado", call_.certificate_file));
    }
  }

  void open_key(const Certificate& certificate) const {
    try {
      PrivateKey::load(call_.key_file, call_.key_password).require_match(certificate);
    } catch (const CryptoError& error) {
      throw CsdFailure(describe(error, "la llave privada", call_.key_file));
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

  // Nothing was recorded: the answer holds the request and the error only.
  int fail(const std::string& reason, std::string_view result_file) {
    ini_ = failed_cfdi_answer(call_.cfdi, now_, kCancellationInternalError, reason);
    add_motivo(ini_);
    record_failure(log_, ini_, reason, result_file);
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

  const CancellationCall& call_;
  std::chrono::system_clock::time_point now_;
  ServiceLog log_;
  ResultIni ini_;
};

}  // namespace

int cancel_cfdi(const CancellationCall& call, std::string_view result_file,
                std::string_view log_file, std::chrono::system_clock::time_point now,
                const ProviderOpener& open) noexcept {
  try {
    CancellationService service(call, now);
    const int result = service.run(result_file, open);
    service.log().write(log_file);
    return result;
  } catch (...) {
    return kCancellationInternalError;
  }
}

int cancel_uuid(CancellationCall call, std::string_view result_file, std::string_view log_file,
                std::chrono::system_clock::time_point now, const ProviderOpener& open) noexcept {
  try {
    // Only the provider's own record of the document completes the request;
    // an unknown UUID or an unreachable provider is left for cancel_cfdi to
    // answer and log as it answers any request.
    if (const auto recorded = open()->recorded_cfdi(call.cfdi.uuid)) {
      call.cfdi.receiver_rfc = recorded->receiver_rfc;
      call.cfdi.total = recorded->total;
    }
  } catch (const std::exception&) {
  }
  if (call.cfdi.total.empty()) call.cfdi.total.assign(1, '0');
  return cancel_cfdi(call, result_file, log_file, now, open);
}

}  // namespace drovanexis::services
