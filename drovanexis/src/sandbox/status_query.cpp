#include "sandbox/status_query.h"

#include <stdexcept>

#include "sandbox/accounts.h"
#include "sandbox/cancellation_store.h"
#include "sandbox/service_files.h"
#include "sandbox/state_file.h"

namespace drovanexis::sandbox {

namespace {

constexpr const char* kObtained = "S - Comprobante obtenido satisfactoriamente.";
constexpr const char* kInvalidExpression =
    "N - 601: La expresión impresa proporcionada no es válida.";
constexpr const char* kNotFound = "N - 602: Comprobante no encontrado.";

class StatusQuery {
 public:
  StatusQuery(const StatusRequest& request, Clock::time_point now)
      : request_(request),
        now_(now),
        log_("Consulta de estado de CFDI", format_mexico_time(now), DROVANEXIS_VERSION) {}

  int run(std::string_view result_file) {
    log_request();
    int result = kStatusInternalError;
    try {
      result = query();
      write_answer(result, result_file);
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

  int query() {
    auto db = open_existing_state(default_state_path());
    log_.step("Archivo de estado abierto: " + db->file().string());
    if (request_.public_query) {
      log_.step("Consulta pública: no se requiere cuenta");
    } else if (!account_balance(*db, request_.user)) {
      throw std::runtime_error("el usuario \"" + request_.user + "\" no está registrado");
    } else {
      log_.step("Usuario " + request_.user + " autenticado");
    }
    if (settle_expired_request(*db, request_.cfdi.uuid, now_)) {
      log_.step("La solicitud de cancelación venció sin respuesta del receptor: CFDI cancelado");
    }
    const Lookup lookup = find_described_cfdi(*db, request_.cfdi);
    if (lookup.outcome != LookupOutcome::kFound) return not_found(lookup);
    log_.step(lookup.explanation);
    return status_of(*db, *lookup.entry);
  }

  int not_found(const Lookup& lookup) {
    log_.error(lookup.explanation);
    answer(lookup.outcome == LookupOutcome::kMalformed ? kInvalidExpression : kNotFound,
           "No Encontrado", "", "");
    return kStatusNotFound;
  }

  int status_of(SqliteDb& db, const LedgerEntry& entry) {
    const Cancellability cancellability = assess_cancellability(entry, now_);
    const auto request = latest_cancellation_request(db, entry.uuid);
    const std::string request_status = request ? request->status : "";
    if (entry.status == kCancelled) {
      answer(kObtained, kCancelled, cancellable_text(cancellability), request_status);
      return kPreviouslyCancelled;
    }
    if (request_status == kRequestInProcess) {
      log_.step("Solicitud de cancelación en proceso desde " + request->requested_at);
      answer(kObtained, kInForce, cancellable_text(cancellability), request_status);
      return kCancellationPending;
    }
    if (const auto relating = standing_documents_relating_to(db, entry.uuid); !relating.empty()) {
      log_.step("El CFDI " + relating.front() + " vigente lo relaciona");
      answer(kObtained, kInForce, "No cancelable", request_status);
      return kInForceNotCancellable;
    }
    log_.step(cancellable_text(cancellability) + ": " + cancellability.reason);
    answer(kObtained, kInForce, cancellable_text(cancellability), request_status);
    return kInForceCancellable;
  }

  void answer(std::string_view code, std::string_view estado, std::string_view cancellable,
              std::string_view cancellation_status) {
    ini_.set("CodigoEstatus", code);
    ini_.set("Estado", estado);
    ini_.set("EsCancelable", cancellable);
    ini_.set("EstatusCancelacion", cancellation_status);
    log_.section("Respuesta");
    for (const char* key : {"CodigoEstatus", "Estado", "EsCancelable", "EstatusCancelacion"}) {
      log_.field(key, ini_.get(key));
    }
  }

  void write_answer(int result, std::string_view result_file) {
    ini_.set("Fecha", format_mexico_time(now_));
    ini_.set("Resultado", std::to_string(result));
    ini_.write(result_file);
    log_.step("Resultado escrito en " + std::string(result_file));
  }

  int fail(const std::string& reason, std::string_view result_file) {
    log_.error(reason);
    ini_ = request_fields();
    ini_.set("Fecha", format_mexico_time(now_));
    ini_.set("Resultado", std::to_string(kStatusInternalError));
    ini_.set("Error", reason);
    try {
      ini_.write(result_file);
    } catch (const std::exception& error) {
      log_.error(error.what());
    }
    return kStatusInternalError;
  }

  static std::string meaning(int result) {
    switch (result) {
      case kInForceCancellable: return "CFDI vigente y cancelable";
      case kInForceNotCancellable: return "CFDI vigente, no cancelable";
      case kCancellationPending: return "CFDI vigente con cancelación en proceso";
      case kPreviouslyCancelled: return "CFDI previamente cancelado";
      case kStatusNotFound: return "CFDI no encontrado";
      default: return "Error interno de verificación de CFDI";
    }
  }

  const StatusRequest& request_;
  Clock::time_point now_;
  ServiceLog log_;
  ResultIni ini_;
};

}  // namespace

int query_status(const StatusRequest& request, std::string_view result_file,
                 std::string_view log_file, Clock::time_point now) noexcept {
  try {
    StatusQuery status_query(request, now);
    const int result = status_query.run(result_file);
    status_query.log().write(log_file);
    return result;
  } catch (...) {
    return kStatusInternalError;
  }
}

}  // namespace drovanexis::sandbox
