#include "portable/file_io.h"
#include "services/cancellation.h"
#include "services/provider_call.h"
#include "services/service_files.h"
#include "time/central_mexico.h"

namespace drovanexis::services {

namespace {

class AcknowledgementService {
 public:
  AcknowledgementService(const AcknowledgementCall& call, std::chrono::system_clock::time_point now)
      : call_(call),
        log_("Recuperación de acuse de cancelación", central_mexico::format(now),
             DROVANEXIS_VERSION) {}

  int run(std::string_view result_file, std::string_view acuse_file, const ProviderOpener& open) {
    log_request();
    int result = kAcknowledgementError;
    try {
      result = retrieve(acuse_file, open);
      ini_.set("Resultado", std::to_string(result));
      ini_.write(result_file);
      log_.step("Resultado escrito en " + std::string(result_file));
    } catch (const std::exception& error) {
      result = fail(failure_reason(error), result_file);
    }
    log_.result(result, meaning(result));
    return result;
  }

  const ServiceLog& log() const { return log_; }

 private:
  void log_request() {
    log_.section("Solicitud");
    log_.field("Usuario", call_.user);
    log_.field("RFC", call_.issuer_rfc);
    log_.field("UUID", call_.uuid);
  }

  int retrieve(std::string_view acuse_file, const ProviderOpener& open) {
    const std::unique_ptr<Provider> provider = open();
    ServiceReport report = report_to(log_);
    // The answer names the document once the provider accepted the account.
    report.accepted = [this] {
      ini_.set("UUID", call_.uuid);
      ini_.set("RfcEmisor", call_.issuer_rfc);
    };
    const auto acknowledgement =
        provider->acknowledgement({call_.user, call_.issuer_rfc, call_.uuid, report});
    if (!acknowledgement) return unavailable();
    portable::write_file_atomic(acuse_file, acknowledgement->signed_xml);
    log_.step("Acuse escrito en " + std::string(acuse_file));
    ini_.set("EstatusUUID", acknowledgement->status_code);
    ini_.set("Fecha", acknowledgement->issued_at);
    ini_.set("Acuse", std::string(acuse_file));
    ini_.set("Descripcion", "Acuse obtenido");
    return kAcknowledgementObtained;
  }

  int unavailable() {
    log_.step("No hay acuse de cancelación del UUID " + call_.uuid + " para el RFC " +
              call_.issuer_rfc);
    ini_.set("Descripcion", "Acuse no disponible");
    return kAcknowledgementUnavailable;
  }

  int fail(const std::string& reason, std::string_view result_file) {
    ini_.set("Resultado", std::to_string(kAcknowledgementError));
    ini_.set("Descripcion", "Error en la obtención del acuse");
    ini_.set("Error", reason);
    record_failure(log_, ini_, reason, result_file);
    return kAcknowledgementError;
  }

  static std::string meaning(int result) {
    switch (result) {
      case kAcknowledgementObtained: return "Operación exitosa, acuse obtenido";
      case kAcknowledgementUnavailable: return "Operación exitosa, acuse no disponible";
      default: return "Error en la obtención del acuse";
    }
  }

  const AcknowledgementCall& call_;
  ServiceLog log_;
  ResultIni ini_;
};

}  // namespace

int retrieve_acknowledgement(const AcknowledgementCall& call, std::string_view result_file,
                             std::string_view acuse_file, std::string_view log_file,
                             std::chrono::system_clock::time_point now,
                             const ProviderOpener& open) noexcept {
  try {
    AcknowledgementService service(call, now);
    const int result = service.run(result_file, acuse_file, open);
    service.log().write(log_file);
    return result;
  } catch (...) {
    return kAcknowledgementError;
  }
}

}  // namespace drovanexis::services
