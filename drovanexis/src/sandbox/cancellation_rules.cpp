#include "sandbox/cancellation_rules.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "sandbox/cancellation_store.h"
#include "sandbox/document_facts.h"
#include "sandbox/uuid.h"
#include "time/business_days.h"
#include "time/central_mexico.h"
#include "time/civil_time.h"
#include "validate/decimal.h"

namespace drovanexis::sandbox {

namespace {

constexpr const char* kAmountLimit = "1000";
// Regime of fiscal incorporation (c_RegimenFiscal).
constexpr std::string_view kRifRegime = "621";

std::string upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

bool same_text(std::string_view a, std::string_view b) { return upper(a) == upper(b); }

Lookup outcome(LookupOutcome kind, std::string explanation,
               std::optional<LedgerEntry> entry = std::nullopt) {
  return Lookup{kind, std::move(entry), std::move(explanation)};
}

// The total in pesos: the document's total, times its TipoCambio when it is
// in another currency. nullopt when that cannot be known.
// A stored document that cannot be read is taken as in pesos, as its total
// was recorded.
std::optional<Decimal> total_in_pesos(const LedgerEntry& entry, const DocumentFacts& facts) {
  const auto total = Decimal::parse(entry.total);
  if (!total) return std::nullopt;
  if (facts.currency == "MXN") return total;
  const auto exchange_rate = Decimal::parse(facts.exchange_rate);
  if (!exchange_rate) return std::nullopt;
  try {
    return *total * *exchange_rate;
  } catch (const std::overflow_error&) {
    return std::nullopt;  // far beyond any limit
  }
}

}  // namespace

Lookup find_described_cfdi(SqliteDb& db, const CfdiDescription& description) {
  if (!is_uuid_text(description.uuid)) {
    return outcome(LookupOutcome::kMalformed, "el UUID \"" + description.uuid + "\" no es válido");
  }
  const auto total = Decimal::parse(description.total);
  if (!total) {
    return outcome(LookupOutcome::kMalformed,
                   "el total \"" + description.total + "\" no es un importe válido");
  }
  auto entry = find_ledger_entry(db, description.uuid);
  if (!entry) {
    return outcome(LookupOutcome::kUnknownUuid,
                   "no existe un CFDI timbrado con el UUID " + description.uuid);
  }
  if (!same_text(entry->issuer_rfc, description.issuer_rfc)) {
    std::string explanation =
        "el UUID " + entry->uuid + " no corresponde al RFC emisor " + description.issuer_rfc;
    return outcome(LookupOutcome::kOtherIssuer, std::move(explanation), std::move(entry));
  }
  if (!same_text(entry->receiver_rfc, description.receiver_rfc)) {
    return outcome(LookupOutcome::kDataDiffers, "el RFC receptor " + description.receiver_rfc +
                                                    " no es el del CFDI " + entry->uuid);
  }
  const auto stored_total = Decimal::parse(entry->total);
  if (!stored_total || !(*stored_total == *total)) {
    return outcome(LookupOutcome::kDataDiffers,
                   "el total " + description.total + " no es el del CFDI " + entry->uuid);
  }
  std::string found = "CFDI " + entry->uuid + " encontrado";
  return outcome(LookupOutcome::kFound, std::move(found), std::move(entry));
}

Cancellability assess_cancellability(const LedgerEntry& entry,
                                     std::chrono::system_clock::time_point now) {
  const DocumentFacts facts = read_document_facts(entry.stamped_xml);
  const auto pesos = total_in_pesos(entry, facts);
  if (pesos && *pesos <= *Decimal::parse(kAmountLimit)) {
    return {true, "el total (" + entry.total + ") no excede de 1,000.00 MXN"};
  }
  const std::string type = upper(entry.document_type);
  if (type == "N" || type == "E") return {true, "el tipo de comprobante es " + type};
  if (type == "T" && !facts.fuel_transfer) {
    return {true, "el tipo de comprobante es T y no traslada combustibles"};
  }
  if (type == "I" && facts.receiver_regime == kRifRegime) {
    return {true, "ingreso a un receptor del régimen de incorporación fiscal"};
  }
  const std::string receiver = upper(entry.receiver_rfc);
  if (receiver == kGenericReceiver) return {true, "CFDI global al público en general"};
  if (receiver == kForeignReceiver) return {true, "el receptor es residente en el extranjero"};
  const auto stamped = parse_date_time(entry.fecha_timbrado);
  if (stamped && now < central_mexico::instant(end_of_business_days_after(*stamped, 1))) {
    return {true, "se cancela a más tardar el día hábil siguiente al timbrado (" +
                      entry.fecha_timbrado + ")"};
  }
  return {false, "el total (" + entry.total +
                     ") excede de 1,000.00 MXN y pasó el día hábil siguiente al timbrado (" +
                     entry.fecha_timbrado + "): se requiere la aceptación del receptor"};
}

std::optional<LocalDateTime> cancellation_closes_at(const LedgerEntry& entry) {
  auto issued = parse_date_time(entry.fecha.empty() ? entry.fecha_timbrado : entry.fecha);
  if (!issued) issued = parse_date_time(entry.fecha_timbrado);
  if (!issued) return std::nullopt;
  const int year = std::stoi(format_date_time(*issued).substr(0, 4));
  // The day after the last of March (companies) or April (individuals).
  const unsigned month_after = entry.issuer_rfc.size() == 12 ? 4 : 5;
  return LocalDateTime::from_civil(year + 1, month_after, 1);
}

std::string check_motivo(std::string_view motivo) {
  for (std::string_view known : {kMotivoWithReplacement, kMotivoWithoutReplacement,
                                 kMotivoNotCarriedOut, kMotivoInGlobalInvoice}) {
    if (motivo == known) return {};
  }
  if (motivo.empty()) return "la solicitud no indica el Motivo de la cancelación (01 a 04)";
  return "el Motivo \"" + std::string(motivo) + "\" no es válido: debe ser 01, 02, 03 o 04";
}

std::string check_replacement(SqliteDb& db, const LedgerEntry& cancelled, std::string_view motivo,
                              std::string_view folio_sustitucion) {
  const std::string folio(folio_sustitucion);
  if (motivo != kMotivoWithReplacement) {
    if (folio.empty()) return {};
    return "el FolioSustitucion solo se admite con el Motivo 01, no con el " + std::string(motivo);
  }
  if (folio.empty())
    return "el Motivo 01 requiere el FolioSustitucion (UUID del CFDI que sustituye)";
  if (!is_uuid_text(folio)) return "el FolioSustitucion \"" + folio + "\" no es un UUID";
  if (same_text(folio, cancelled.uuid))
    return "el FolioSustitucion es el mismo CFDI que se cancela";
  const auto replacement = find_ledger_entry(db, folio);
  if (!replacement) return "no existe un CFDI timbrado con el FolioSustitucion " + folio;
  if (!same_text(replacement->issuer_rfc, cancelled.issuer_rfc)) {
    return "el CFDI sustituto " + replacement->uuid + " es del emisor " + replacement->issuer_rfc +
           ", no de " + cancelled.issuer_rfc;
  }
  if (replacement->status != kInForce) {
    return "el CFDI sustituto " + replacement->uuid + " no está vigente";
  }
  if (!read_document_facts(replacement->stamped_xml).replaces_uuid(cancelled.uuid)) {
    return "el CFDI sustituto " + replacement->uuid + " no relaciona al CFDI " + cancelled.uuid +
           " con TipoRelacion 04";
  }
  return {};
}

std::string cancellable_text(const Cancellability& cancellability) {
  return cancellability.without_acceptance ? "Cancelable sin aceptación"
                                           : "Cancelable con aceptación";
}

}  // namespace drovanexis::sandbox
