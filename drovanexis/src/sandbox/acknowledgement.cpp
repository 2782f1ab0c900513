#include "sandbox/acknowledgement.h"

#include <chrono>
#include <optional>
#include <stdexcept>

#include "crypto/certificate.h"
#include "crypto/private_key.h"
#include "portable/file_io.h"
#include "sandbox/accounts.h"
#include "sandbox/acknowledgement_signature.h"
#include "sandbox/cancellation_store.h"
#include "sandbox/provider_store.h"
#include "sandbox/service_files.h"
#include "sandbox/state_file.h"

namespace drovanexis::sandbox {

namespace {

// A failure that makes the retrieval an error (-1); the text says why.
class RetrievalFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Signer {
  Certificate certificate;
  PrivateKey key;
  std::string who;
};

// The authority signs acknowledgements. A state file whose authority was
// stored without its key falls back to the provider, whose certificate that
// authority issued, so that acknowledgements can still be verified.
Signer load_signer(SqliteDb& db) {
  const auto authority = load_authority(db);
  if (authority && !authority->key_der.empty()) {
    return {Certificate::from_bytes(authority->certificate_der, "autoridad del sandbox"),
            PrivateKey::from_bytes(authority->key_der, authority->key_password,
                                   "autoridad del sandbox"),
            "la autoridad del sandbox"};
  }
  const auto provider = load_provider(db);
  if (!provider) throw RetrievalFailure("el archivo de estado no tiene proveedor ni autoridad");
  return {
      Certificate::from_bytes(provider->credentials.certificate_der, "proveedor"),
      PrivateKey::from_bytes(provider->credentials.key_der, provider->credentials.key_password,
                             "proveedor"),
      "el proveedor " + provider->rfc + " (la autoridad no tiene llave en el archivo de estado)"};
}

class Retrieval {
 public:
  Retrieval(const AcknowledgementRequest& request, Clock::time_point now)
      : request_(request),
        log_("Recuperación de acuse de cancelación", format_mexico_time(now), DROVANEXIS_VERSION) {}

  int run(std::string_view result_file, std::string_view acuse_file) {
    log_request();
    int result = kAcknowledgementError;
    try {
      result = retrieve(acuse_file);
      ini_.set("Resultado", std::to_string(result));
      ini_.write(result_file);
      log_.step("Resultado escrito en " + std::string(result_file));
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
    log_.field("RFC", request_.issuer_rfc);
    log_.field("UUID", request_.uuid);
  }

  int retrieve(std::string_view acuse_file) {
    auto db = open_existing_state(default_state_path());
    log_.step("Archivo de estado abierto: " + db->file().string());
    if (!account_balance(*db, request_.user)) {
      throw RetrievalFailure("el usuario \"" + request_.user + "\" no está registrado");
    }
    log_.step("Usuario " + request_.user + " autenticado");
    ini_.set("UUID", request_.uuid);
    ini_.set("RfcEmisor", request_.issuer_rfc);
    const auto acknowledgement = find_acknowledgement(*db, request_.uuid, request_.issuer_rfc);
    if (!acknowledgement) return unavailable();
    const Signer signer = load_signer(*db);
    const std::string signed_xml =
        sign_enveloped(acknowledgement->xml, signer.certificate, signer.key);
    log_.step("Acuse firmado por " + signer.who);
    portable::write_file_atomic(acuse_file, signed_xml);
    log_.step("Acuse escrito en " + std::string(acuse_file));
    ini_.set("EstatusUUID", acknowledgement->status_code);
    ini_.set("Fecha", acknowledgement->issued_at);
    ini_.set("Acuse", std::string(acuse_file));
    ini_.set("Descripcion", "Acuse obtenido");
    return kAcknowledgementObtained;
  }

  int unavailable() {
    log_.step("No hay acuse de cancelación del UUID " + request_.uuid + " para el RFC " +
              request_.issuer_rfc);
    ini_.set("Descripcion", "Acuse no disponible");
    return kAcknowledgementUnavailable;
  }

  int fail(const std::string& reason, std::string_view result_file) {
    log_.error(reason);
    ini_.set("Resultado", std::to_string(kAcknowledgementError));
    ini_.set("Descripcion", "Error en la obtención del acuse");
    ini_.set("Error", reason);
    try {
      ini_.write(result_file);
    } catch (const std::exception& error) {
      log_.error(error.what());
    }
    return kAcknowledgementError;
  }

  static std::string meaning(int result) {
    switch (result) {
      case kAcknowledgementObtained: return "Operación exitosa, acuse obtenido";
      case kAcknowledgementUnavailable: return "Operación exitosa, acuse no disponible";
      default: return "Error en la obtención del acuse";
    }
  }

  const AcknowledgementRequest& request_;
  ServiceLog log_;
  ResultIni ini_;
};

}  // namespace

std::string acuse_xml(std::string_view issuer_rfc, std::string_view uuid,
                      std::string_view status_code, std::string_view fecha) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<Acuse xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" Fecha=\"" +
         std::string(fecha) + "\" RfcEmisor=\"" + std::string(issuer_rfc) +
         "\">\n"
         "  <Folios xmlns=\"http://cancelacfd.sat.gob.mx\">\n"
         "    <UUID>" +
         std::string(uuid) +
         "</UUID>\n"
         "    <EstatusUUID>" +
         std::string(status_code) +
         "</EstatusUUID>\n"
         "  </Folios>\n"
         "</Acuse>\n";
}

std::string acuse_time(Clock::time_point when) {
  const auto seconds = std::chrono::floor<std::chrono::seconds>(when);
  const auto ticks =
      std::chrono::duration_cast<std::chrono::nanoseconds>(when - seconds).count() / 100;
  std::string fraction = std::to_string(ticks);
  fraction.insert(0, 7 - fraction.size(), '0');
  return format_mexico_time(seconds) + "." + fraction;
}

int retrieve_acknowledgement(const AcknowledgementRequest& request, std::string_view result_file,
                             std::string_view acuse_file, std::string_view log_file,
                             Clock::time_point now) noexcept {
  try {
    Retrieval retrieval(request, now);
    const int result = retrieval.run(result_file, acuse_file);
    retrieval.log().write(log_file);
    return result;
  } catch (...) {
    return kAcknowledgementError;
  }
}

}  // namespace drovanexis::sandbox
