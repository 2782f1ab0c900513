#include "services/provider_call.h"

#include "issue/provider.h"
#include "time/central_mexico.h"

namespace drovanexis::services {

ServiceReport report_to(ServiceLog& log) {
  return {[&log](std::string_view text) { log.step(text); },
          [&log](std::string_view text) { log.error(text); }};
}

std::string failure_reason(const std::exception& error) {
  if (const auto* unavailable = dynamic_cast<const ProviderUnavailable*>(&error)) {
    return unavailable->reason();
  }
  return error.what();
}

void log_cfdi_request(ServiceLog& log, const std::string& user, const CfdiDescription& cfdi) {
  log.section("Solicitud");
  log.field("Usuario", user);
  log.field("RfcEmisor", cfdi.issuer_rfc);
  log.field("RfcReceptor", cfdi.receiver_rfc);
  log.field("Total", cfdi.total);
  log.field("UUID", cfdi.uuid);
}

ResultIni cfdi_answer_fields(const CfdiDescription& cfdi) {
  ResultIni ini;
  ini.set("UUID", cfdi.uuid);
  ini.set("RfcEmisor", cfdi.issuer_rfc);
  ini.set("RfcReceptor", cfdi.receiver_rfc);
  ini.set("Total", cfdi.total);
  return ini;
}

ResultIni failed_cfdi_answer(const CfdiDescription& cfdi, std::chrono::system_clock::time_point now,
                             int result, const std::string& reason) {
  ResultIni ini = cfdi_answer_fields(cfdi);
  ini.set("Fecha", central_mexico::format(now));
  ini.set("Resultado", std::to_string(result));
  ini.set("Error", reason);
  return ini;
}

void record_failure(ServiceLog& log, const ResultIni& answer, std::string_view reason,
                    std::string_view result_file) {
  log.error(reason);
  try {
    answer.write(result_file);
  } catch (const std::exception& error) {
    log.error(error.what());
  }
}

}  // namespace drovanexis::services
