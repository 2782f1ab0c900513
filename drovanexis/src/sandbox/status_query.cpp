#include "sandbox/status_query.h"

#include <stdexcept>

#include "sandbox/accounts.h"
#include "sandbox/cancellation_rules.h"
#include "sandbox/cancellation_store.h"
#include "time/central_mexico.h"
#include "time/civil_time.h"

namespace drovanexis::sandbox {

namespace {

constexpr const char* kObtained = "S - Comprobante obtenido satisfactoriamente.";
constexpr const char* kInvalidExpression =
    "N - 601: La expresión impresa proporcionada no es válida.";
constexpr const char* kNotFound = "N - 602: Comprobante no encontrado.";
// The sandbox keeps no list of issuers of simulated operations: every issuer
// it stamped for is off it.
constexpr const char* kNotOnEfosList = "200";

class StatusQuery {
 public:
  StatusQuery(SqliteDb& db, const StatusRequest& request)
      : db_(db), request_(request), report_(request.report) {}

  StatusAnswer run() {
    report_.report_step("Archivo de estado abierto: " + db_.file().string());
    if (request_.public_query) {
      report_.report_step("Consulta pública: no se requiere cuenta");
    } else if (!account_balance(db_, request_.user)) {
      throw std::runtime_error("el usuario \"" + request_.user + "\" no está registrado");
    } else {
      report_.report_step("Usuario " + request_.user + " autenticado");
    }
    report_.report_accepted();
    if (settle_expired_request(db_, request_.cfdi.uuid, request_.now)) {
      report_.report_step(
          "La solicitud de cancelación venció sin respuesta del receptor: CFDI cancelado");
    }
    const Lookup lookup = find_described_cfdi(db_, request_.cfdi);
    if (lookup.outcome != LookupOutcome::kFound) return not_found(lookup);
    report_.report_step(lookup.explanation);
    return status_of(*lookup.entry);
  }

 private:
  StatusAnswer not_found(const Lookup& lookup) {
    report_.report_error(lookup.explanation);
    return {kStatusNotFound,
            lookup.outcome == LookupOutcome::kMalformed ? kInvalidExpression : kNotFound,
            "No Encontrado",
            "",
            "",
            ""};
  }

  StatusAnswer status_of(const LedgerEntry& entry) {
    StatusAnswer answer = status_fields(entry);
    answer.code = kObtained;
    return answer;
  }

  StatusAnswer status_fields(const LedgerEntry& entry) {
    const Cancellability cancellability = assess_cancellability(entry, request_.now);
    const auto request = latest_cancellation_request(db_, entry.uuid);
    const std::string request_status = request ? request->status : "";
    if (entry.status == kCancelled) {
      return {kPreviouslyCancelled,    "",
              std::string(kCancelled), cancellable_text(cancellability),
              request_status,          kNotOnEfosList};
    }
    if (request_status == kRequestInProcess) {
      report_.report_step("Solicitud de cancelación en proceso desde " + request->requested_at);
      return {kCancellationPending,  "",
              std::string(kInForce), "Cancelable con aceptación",
              request_status,        kNotOnEfosList};
    }
    if (const auto relating = standing_documents_relating_to(db_, entry.uuid); !relating.empty()) {
      report_.report_step("El CFDI " + relating.front() + " vigente lo relaciona");
      return {kInForceNotCancellable, "", std::string(kInForce), "No cancelable", request_status,
              kNotOnEfosList};
    }
    const auto closes = cancellation_closes_at(entry);
    if (closes && central_mexico::local_time(request_.now) >= *closes) {
      report_.report_step("El plazo para cancelarlo terminó el " + format_date_time(*closes));
      return {kInForceNotCancellable, "", std::string(kInForce), "No cancelable", request_status,
              kNotOnEfosList};
    }
    report_.report_step(cancellable_text(cancellability) + ": " + cancellability.reason);
    return {kInForceCancellable,   "",
            std::string(kInForce), cancellable_text(cancellability),
            request_status,        kNotOnEfosList};
  }

  SqliteDb& db_;
  const StatusRequest& request_;
  const ServiceReport& report_;
};

}  // namespace

StatusAnswer query_status(SqliteDb& db, const StatusRequest& request) {
  return StatusQuery(db, request).run();
}

}  // namespace drovanexis::sandbox
