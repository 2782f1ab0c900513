#include "sandbox/sandbox_init.h"

#include <chrono>
#include <string>

#include "sandbox/accounts.h"
#include "sandbox/ledger.h"
#include "sandbox/provider_identity.h"
#include "sandbox/state_file.h"
#include "time/central_mexico.h"

namespace drovanexis::sandbox {

namespace {

using std::chrono::days;
using std::chrono::hours;

// The stored XML of a sample entry: the document's identifying data and its
// stamp, enough for status queries and cancellations to act on. Samples were
// never sealed, so they carry no seals.
std::string sample_xml(const LedgerEntry& entry) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<cfdi:Comprobante xmlns:cfdi=\"http://www.sat.gob.mx/cfd/3\" Version=\"3.3\" Fecha=\"" +
         entry.fecha + "\" SubTotal=\"" + entry.total + "\" Moneda=\"MXN\" Total=\"" + entry.total +
         "\" TipoDeComprobante=\"" + entry.document_type +
         "\" LugarExpedicion=\"06300\">"
         "<cfdi:Emisor Rfc=\"" +
         entry.issuer_rfc +
         "\"/>"
         "<cfdi:Receptor Rfc=\"" +
         entry.receiver_rfc + "\" UsoCFDI=\"" + (entry.document_type == "E" ? "G02" : "G03") +
         "\"/>"
         "<cfdi:Complemento><tfd:TimbreFiscalDigital "
         "xmlns:tfd=\"http://www.sat.gob.mx/TimbreFiscalDigital\" Version=\"1.1\" UUID=\"" +
         entry.uuid + "\" FechaTimbrado=\"" + entry.fecha_timbrado + "\" RfcProvCertif=\"" +
         std::string(kProviderRfc) + "\"/></cfdi:Complemento></cfdi:Comprobante>\n";
}

LedgerEntry sample_entry(std::string_view uuid, std::string issuer, std::string receiver,
                         std::string total, std::chrono::system_clock::time_point stamped) {
  LedgerEntry entry;
  entry.uuid = std::string(uuid);
  entry.issuer_rfc = std::move(issuer);
  entry.receiver_rfc = std::move(receiver);
  entry.total = std::move(total);
  entry.document_type = "I";
  entry.fecha = central_mexico::format(stamped - hours(1));
  entry.fecha_timbrado = central_mexico::format(stamped);
  entry.stamped_xml = sample_xml(entry);
  return entry;
}

// Acknowledgement of the cancelled sample: 201, received and cancelled. The
// authority's signature is added when the acknowledgement is handed out.
std::string sample_acknowledgement(const LedgerEntry& entry, const std::string& issued_at) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<Acuse xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" Fecha=\"" +
         issued_at + ".0000000\" RfcEmisor=\"" + entry.issuer_rfc +
         "\"><Folios xmlns=\"http://cancelacfd.sat.gob.mx\"><UUID>" + entry.uuid +
         "</UUID><EstatusUUID>201</EstatusUUID></Folios></Acuse>\n";
}

void add_samples(SqliteDb& db, std::chrono::system_clock::time_point now) {
  if (!find_ledger_entry(db, kSampleInForceUuid)) {
    // A credit note (egreso): its issuer may cancel it without the
    // receiver's acceptance, so that the demonstration shows a cancellation
    // carried out; the sandbox's accept and reject commands show the rest.
    LedgerEntry in_force =
        sample_entry(kSampleInForceUuid, "CACX7605101P8", "VDN020304QX7", "1102.00", now - days(4));
    in_force.document_type = "E";
    in_force.stamped_xml = sample_xml(in_force);
    insert_ledger_entry(db, in_force);
  }
  if (!find_ledger_entry(db, kSampleCancelledUuid)) {
    LedgerEntry cancelled = sample_entry(kSampleCancelledUuid, "AAA010101AAA", "VDN020304QX7",
                                         "116.00", now - days(10));
    cancelled.status = "Cancelado";
    insert_ledger_entry(db, cancelled);
    const std::string requested = central_mexico::format(now - days(9));
    Statement(db,
              "INSERT INTO cancellation_requests (uuid, issuer_rfc, requested_at, status, "
              "answered_at, motivo) VALUES (?, ?, ?, 'Cancelado sin aceptación', ?, '02')")
        .bind(1, cancelled.uuid)
        .bind(2, cancelled.issuer_rfc)
        .bind(3, requested)
        .bind(4, requested)
        .run();
    Statement(db,
              "INSERT INTO acknowledgements (uuid, issuer_rfc, issued_at, status_code, "
              "acknowledgement_xml) VALUES (?, ?, ?, '201', ?)")
        .bind(1, cancelled.uuid)
        .bind(2, cancelled.issuer_rfc)
        .bind(3, requested)
        .bind_blob(4, sample_acknowledgement(cancelled, requested))
        .run();
  }
}

}  // namespace

void initialise(const std::filesystem::path& db_path, const CertificateWithKey& authority,
                const CertificateWithKey& provider, std::chrono::system_clock::time_point now) {
  auto db = open_state(db_path);
  Transaction transaction(*db);
  store_authority(*db, authority);
  store_provider(*db, {std::string(kProviderRfc), std::string(kProviderName), provider});
  if (!account_balance(*db, kDemoAccount)) {
    store_account(*db, kDemoAccount, std::nullopt, kDemoAccountStamps);
  }
  add_samples(*db, now);
  transaction.commit();
}

}  // namespace drovanexis::sandbox
