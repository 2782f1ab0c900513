#include <chrono>
#include <optional>

#include "crypto/base64.h"
#include "crypto/certificate.h"
#include "crypto/crypto_error.h"
#include "crypto/private_key.h"
#include "issue/provider.h"
#include "portable/file_io.h"
#include "services/further_services.h"
#include "services/output_guard.h"
#include "services/service_files.h"
#include "time/central_mexico.h"

// The key and certificate check, a file's Base64 and the account's balance.
namespace drovanexis::services {

namespace {

int certificate_code(CryptoErrorCode code) {
  return code == CryptoErrorCode::kFileNotFound ? kPairCertificateMissing : kPairCertificateDamaged;
}

int key_code(CryptoErrorCode code) {
  switch (code) {
    case CryptoErrorCode::kFileNotFound: return kPairKeyMissing;
    case CryptoErrorCode::kWrongPassword: return kPairWrongPassword;
    default: return kPairKeyDamaged;
  }
}

}  // namespace

int cer_key_match(std::string_view certificate_file, std::string_view key_file,
                  std::string_view password, std::string_view log_file) {
  ServiceLog log("Certificado y llave", central_mexico::format(std::chrono::system_clock::now()),
                 DROVANEXIS_VERSION);
  log.field("Certificado", certificate_file);
  log.field("Llave", key_file);
  int result = kPairDiffers;
  std::optional<Certificate> certificate;
  try {
    certificate.emplace(Certificate::load(certificate_file));
    log.step("Certificado leído: No. " + certificate->number() + ", RFC " + certificate->rfc());
    const PrivateKey key = PrivateKey::load(key_file, password);
    log.step("Llave privada abierta con la contraseña");
    if (key.matches(*certificate)) {
      log.step("La llave es la pareja del certificado");
      result = kPairMatches;
    } else {
      log.error("La llave no es la pareja del certificado");
      result = kPairDiffers;
    }
  } catch (const CryptoError& error) {
    log.error(error.what());
    result = certificate ? key_code(error.code()) : certificate_code(error.code());
  }
  log.result(result, result == kPairMatches ? "corresponden" : "no corresponden");
  log.write(log_file);
  return result;
}

std::string file_to_base64(std::string_view file, std::string_view log_file) {
  const auto bytes = portable::read_file(file);
  if (bytes) return base64_encode(*bytes);
  ServiceLog log("Archivo a Base64", central_mexico::format(std::chrono::system_clock::now()),
                 DROVANEXIS_VERSION);
  log.field("Archivo", file);
  log.error(std::string(file) + ": el archivo no existe o no se puede leer");
  log.result(-1, "sin resultado");
  log.write(log_file);
  return {};
}

int query_balance(const std::string& user, const std::string& password,
                  std::string_view result_file, std::string_view log_file) {
  ServiceLog log("Consulta de saldo", central_mexico::format(std::chrono::system_clock::now()),
                 DROVANEXIS_VERSION);
  log.section("Solicitud");
  log.field("Usuario", user);
  ResultIni ini;
  ini.set("Usuario", user);
  int result = kServiceInternalError;
  try {
    refuse_reserved_output(result_file, {log_file});
    auto provider = open_provider();
    const std::int64_t left = provider->balance(user, password);
    const std::int64_t used = provider->stamps_used(user);
    ini.set("TimbresDisponibles", std::to_string(left));
    ini.set("TimbresUtilizados", std::to_string(used));
    log.section("Respuesta");
    log.field("TimbresDisponibles", std::to_string(left));
    log.field("TimbresUtilizados", std::to_string(used));
    result = kServiceDone;
  } catch (const ProviderRefusal& refusal) {
    const Failure& failure = refusal.failures().front();
    log.error(failure.code + ": " + failure.explanation);
    ini.set("Error", failure.code + ": " + failure.explanation);
    result = failure.code == "701" ? kServiceCredentials : kServiceInternalError;
  } catch (const std::exception& error) {
    log.error(error.what());
    ini.set("Error", error.what());
    result = kServiceBadArgument;
  }
  ini.set("Resultado", std::to_string(result));
  try {
    if (result != kServiceBadArgument) ini.write(result_file);
  } catch (const std::exception& error) {
    log.error(error.what());
    result = kServiceInternalError;
  }
  log.result(result, result == kServiceDone ? "saldo consultado" : "sin saldo");
  log.write(log_file);
  return result;
}

}  // namespace drovanexis::services
