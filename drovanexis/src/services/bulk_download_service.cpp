#include <chrono>
#include <functional>

#include "crypto/certificate.h"
#include "crypto/crypto_error.h"
#include "crypto/private_key.h"
#include "issue/provider.h"
#include "portable/file_io.h"
#include "portable/windows_path.h"
#include "services/further_services.h"
#include "services/output_guard.h"
#include "services/service_files.h"
#include "time/central_mexico.h"

// The bulk download requests: each authenticates the requester with their
// certificate and key, hands the request to the provider and writes the
// answer as key=value lines.
namespace drovanexis::services {

namespace {

class CredentialsRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void authenticate(const Requester& requester, ServiceLog& log) {
  try {
    const Certificate certificate = Certificate::load(requester.certificate_file);
    const PrivateKey key = PrivateKey::load(requester.key_file, requester.key_password);
    key.require_match(certificate);
    if (certificate.rfc() != requester.rfc) {
      throw CredentialsRefused("el certificado es del RFC " + certificate.rfc() + ", no de " +
                               requester.rfc);
    }
    log.step("Solicitante autenticado: RFC " + certificate.rfc() + ", certificado " +
             certificate.number());
  } catch (const CryptoError& error) {
    throw CredentialsRefused(error.what());
  }
}

int code_result(const std::string& code) {
  if (code == "300") return kServiceCredentials;
  if (code == "301") return kServiceBadArgument;
  if (code == "5004" || code == "5007") return kServiceUnknownRequest;
  return kServiceInternalError;
}

// The common frame of the three operations: log heading and request, the
// requester's authentication, the answer written, every failure a code and
// a log line. `operate` fills the answer and returns the result.
int run_download_service(std::string_view title, const Requester& requester,
                         std::string_view result_file, std::string_view log_file,
                         std::initializer_list<std::string_view> inputs,
                         const std::function<int(Provider&, ResultIni&, ServiceLog&)>& operate) {
  ServiceLog log(title, central_mexico::format(std::chrono::system_clock::now()),
                 DROVANEXIS_VERSION);
  log.section("Solicitud");
  log.field("RfcSolicitante", requester.rfc);
  ResultIni ini;
  int result = kServiceInternalError;
  try {
    refuse_reserved_output(result_file, inputs);
    authenticate(requester, log);
    auto provider = open_provider();
    result = operate(*provider, ini, log);
  } catch (const CredentialsRefused& error) {
    log.error(error.what());
    ini.set("CodEstatus", "305");
    ini.set("Mensaje", error.what());
    result = kServiceCredentials;
  } catch (const DownloadRefusal& refusal) {
    log.error(refusal.code() + ": " + refusal.what());
    ini.set("CodEstatus", refusal.code());
    ini.set("Mensaje", refusal.what());
    result = code_result(refusal.code());
  } catch (const ProviderRefusal& refusal) {
    log.error(refusal.failures().front().code + ": " + refusal.failures().front().explanation);
    ini.set("CodEstatus", "404");
    ini.set("Mensaje", refusal.failures().front().explanation);
    result = kServiceInternalError;
  } catch (const std::invalid_argument& error) {
    log.error(error.what());
    log.result(kServiceBadArgument, "archivo de resultado no permitido");
    log.write(log_file);
    return kServiceBadArgument;
  } catch (const std::exception& error) {
    log.error(error.what());
    ini.set("CodEstatus", "404");
    ini.set("Mensaje", error.what());
    result = kServiceInternalError;
  }
  ini.set("Resultado", std::to_string(result));
  try {
    ini.write(result_file);
  } catch (const std::exception& error) {
    log.error(error.what());
    result = kServiceInternalError;
  }
  log.result(result, result >= 0 ? "atendida" : "rechazada");
  log.write(log_file);
  return result;
}

}  // namespace

int request_bulk_download(const Requester& requester, const DownloadRequest& request,
                          std::string_view result_file, std::string_view log_file) {
  return run_download_service("Solicitud de descarga masiva", requester, result_file, log_file,
                              {requester.certificate_file, requester.key_file, log_file},
                              [&](Provider& provider, ResultIni& ini, ServiceLog& log) {
                                log.field("FechaInicial", request.from);
                                log.field("FechaFinal", request.to);
                                const std::string id =
                                    provider.request_download(request, std::time(nullptr));
                                log.step("Solicitud registrada: " + id);
                                ini.set("IdSolicitud", id);
                                ini.set("CodEstatus", "5000");
                                ini.set("Mensaje", "Solicitud Aceptada");
                                return kServiceDone;
                              });
}

int verify_bulk_download(const Requester& requester, const std::string& request_id,
                         std::string_view result_file, std::string_view log_file) {
  return run_download_service(
      "Verificación de descarga masiva", requester, result_file, log_file,
      {requester.certificate_file, requester.key_file, log_file},
      [&](Provider& provider, ResultIni& ini, ServiceLog& log) {
        log.field("IdSolicitud", request_id);
        const DownloadVerification verification =
            provider.verify_download(requester.rfc, request_id);
        ini.set("IdSolicitud", request_id);
        ini.set("EstadoSolicitud", std::to_string(verification.state));
        ini.set("CodigoEstadoSolicitud", verification.status_code);
        ini.set("Mensaje", verification.message);
        ini.set("NumeroCFDIs", std::to_string(verification.document_count));
        ini.set("NumeroPaquetes", std::to_string(verification.packages.size()));
        for (std::size_t i = 0; i < verification.packages.size(); ++i) {
          ini.set("Paquete" + std::to_string(i + 1), verification.packages[i]);
        }
        log.step("Estado " + std::to_string(verification.state) + ": " + verification.message +
                 ", " + std::to_string(verification.document_count) + " CFDI");
        return verification.state;
      });
}

int download_bulk_package(const Requester& requester, const std::string& package_id,
                          std::string_view package_file, std::string_view result_file,
                          std::string_view log_file) {
  return run_download_service(
      "Descarga de paquete", requester, result_file, log_file,
      {requester.certificate_file, requester.key_file, log_file, package_file},
      [&](Provider& provider, ResultIni& ini, ServiceLog& log) {
        log.field("IdPaquete", package_id);
        refuse_reserved_output(package_file,
                               {requester.certificate_file, requester.key_file, log_file});
        const DownloadPackage package = provider.download_package(requester.rfc, package_id);
        portable::write_file_atomic(package_file, package.zip);
        log.step("Paquete escrito: " + portable::resolve_path(package_file).string() + " (" +
                 std::to_string(package.document_count) + " CFDI)");
        ini.set("IdPaquete", package.id);
        ini.set("NumeroCFDIs", std::to_string(package.document_count));
        ini.set("Archivo", std::string(package_file));
        ini.set("CodEstatus", "5000");
        return kServiceDone;
      });
}

}  // namespace drovanexis::services
