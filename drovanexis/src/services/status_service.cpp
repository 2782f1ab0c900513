#include "services/cancellation.h"
#include "services/provider_call.h"
#include "services/service_files.h"
#include "time/central_mexico.h"

namespace drovanexis::services {

namespace {

class StatusService {
 public:
  StatusService(const StatusCall& call, std::chrono::system_clock::time_point now)
      : call_(call),
        now_(now),
        log_("Consulta de estado de CFDI", central_mexico::format(now), DROVANEXIS_VERSION) {}

  int run(std::string_view result_file, const ProviderOpener& open) {
    log_request();
    int result = kStatusInternalError;
    try {
      result = query(open);
      write_answer(result, result_file);
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
    ini_ = cfdi_answer_fields(call_.cfdi);
  }

  int query(const ProviderOpener& open) {
    const std::unique_ptr<Provider> provider = open();
    const StatusAnswer answer =
        provider->status({call_.user, call_.cfdi, call_.public_query, now_, report_to(log_)});
    ini_.set("CodigoEstatus", answer.code);
    ini_.set("Estado", answer.estado);
    ini_.set("EsCancelable", answer.cancellable);
    ini_.set("EstatusCancelacion", answer.cancellation_status);
    ini_.set("ValidacionEFOS", answer.efos_validation);
    log_.section("Respuesta");
    for (const char* key :
         {"CodigoEstatus", "Estado", "EsCancelable", "EstatusCancelacion", "ValidacionEFOS"}) {
      log_.field(key, ini_.get(key));
    }
    return answer.result;
  }

  void write_answer(int result, std::string_view result_file) {
    ini_.set("Fecha", central_mexico::format(now_));
    ini_.set("Resultado", std::to_string(result));
    ini_.write(result_file);
    log_.step("Resultado escrito en " + std::string(result_file));
  }

  int fail(const std::string& reason, std::string_view result_file) {
    ini_ = failed_cfdi_answer(call_.cfdi, now_, kStatusInternalError, reason);
    record_failure(log_, ini_, reason, result_file);
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

  const StatusCall& call_;
  std::chrono::system_clock::time_point now_;
  ServiceLog log_;
  ResultIni ini_;
};

}  // namespace

int query_status(const StatusCall& call, std::string_view result_file, std::string_view log_file,
                 std::chrono::system_clock::time_point now, const ProviderOpener& open) noexcept {
  try {
    StatusService service(call, now);
    const int result = service.run(result_file, open);
    service.log().write(log_file);
    return result;
  } catch (...) {
    return kStatusInternalError;
  }
}

}  // namespace drovanexis::services
