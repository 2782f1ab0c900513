#include "sandbox/acknowledgement.h"

#include <stdexcept>

#include "crypto/certificate.h"
#include "crypto/private_key.h"
#include "sandbox/accounts.h"
#include "sandbox/acknowledgement_signature.h"
#include "sandbox/cancellation_store.h"
#include "sandbox/provider_store.h"
#include "time/central_mexico.h"

namespace drovanexis::sandbox {

namespace {

// A failure that makes the retrieval an error; the text says why.
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

std::string acuse_time(std::chrono::system_clock::time_point when) {
  const auto seconds = std::chrono::floor<std::chrono::seconds>(when);
  const auto ticks =
      std::chrono::duration_cast<std::chrono::nanoseconds>(when - seconds).count() / 100;
  std::string fraction = std::to_string(ticks);
  fraction.insert(0, 7 - fraction.size(), '0');
  return central_mexico::format(seconds) + "." + fraction;
}

std::optional<Acknowledgement> retrieve_acknowledgement(SqliteDb& db,
                                                        const AcknowledgementRequest& request) {
  const ServiceReport& report = request.report;
  report.report_step("Archivo de estado abierto: " + db.file().string());
  if (!account_balance(db, request.user)) {
    throw RetrievalFailure("el usuario \"" + request.user + "\" no está registrado");
  }
  report.report_step("Usuario " + request.user + " autenticado");
  report.report_accepted();
  const auto acknowledgement = find_acknowledgement(db, request.uuid, request.issuer_rfc);
  if (!acknowledgement) return std::nullopt;
  const Signer signer = load_signer(db);
  Acknowledgement signed_one{acknowledgement->status_code, acknowledgement->issued_at,
                             sign_enveloped(acknowledgement->xml, signer.certificate, signer.key)};
  report.report_step("Acuse firmado por " + signer.who);
  return signed_one;
}

}  // namespace drovanexis::sandbox
