#include "sandbox/cancellation_rules.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "time/central_mexico.h"
#include "time/civil_time.h"
#include "validate/decimal.h"
#include "xml/xml_reader.h"

namespace drovanexis::sandbox {

namespace {

constexpr auto kWindowWithoutAcceptance = std::chrono::hours(72);
constexpr const char* kAmountLimit = "5000";

std::string upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

bool same_text(std::string_view a, std::string_view b) { return upper(a) == upper(b); }

// 8-4-4-4-12 hexadecimal digits.
bool is_uuid(std::string_view text) {
  if (text.size() != 36) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dash_place = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash_place ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) {
      return false;
    }
  }
  return true;
}

Lookup outcome(LookupOutcome kind, std::string explanation,
               std::optional<LedgerEntry> entry = std::nullopt) {
  return Lookup{kind, std::move(entry), std::move(explanation)};
}

// The total in pesos: the document's total, times its TipoCambio when it is
// in another currency. nullopt when that cannot be known.
std::optional<Decimal> total_in_pesos(const LedgerEntry& entry) {
  const auto total = Decimal::parse(entry.total);
  if (!total) return std::nullopt;
  std::string currency = "MXN";
  std::string rate;
  try {
    const Element root = parse_xml(entry.stamped_xml);
    if (const std::string* moneda = root.attribute("Moneda")) currency = *moneda;
    if (const std::string* tipo_cambio = root.attribute("TipoCambio")) rate = *tipo_cambio;
  } catch (const XmlParseError&) {
    // A stored document that cannot be read is taken as in pesos, as its
    // total was recorded.
  }
  if (currency == "MXN") return total;
  const auto exchange_rate = Decimal::parse(rate);
  if (!exchange_rate) return std::nullopt;
  try {
    return *total * *exchange_rate;
  } catch (const std::overflow_error&) {
    return std::nullopt;  // far beyond any limit
  }
}

}  // namespace

Lookup find_described_cfdi(SqliteDb& db, const CfdiDescription& description) {
  if (!is_uuid(description.uuid)) {
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
  const auto pesos = total_in_pesos(entry);
  if (pesos && *pesos <= *Decimal::parse(kAmountLimit)) {
    return {true, "el total (" + entry.total + ") no excede de 5,000.00 MXN"};
  }
  const std::string type = upper(entry.document_type);
  if (type == "N" || type == "E" || type == "T") {
    return {true, "el tipo de comprobante es " + type};
  }
  const std::string receiver = upper(entry.receiver_rfc);
  if (receiver == kGenericReceiver || receiver == kForeignReceiver) {
    return {true, "el receptor es el RFC genérico " + receiver};
  }
  const auto stamped = parse_date_time(entry.fecha_timbrado);
  if (stamped && now <= central_mexico::instant(*stamped) + kWindowWithoutAcceptance) {
    return {true, "no han pasado 72 horas desde el timbrado (" + entry.fecha_timbrado + ")"};
  }
  return {false, "el total (" + entry.total +
                     ") excede de 5,000.00 MXN y pasaron más de 72 horas desde el timbrado (" +
                     entry.fecha_timbrado + "): se requiere la aceptación del receptor"};
}

std::string cancellable_text(const Cancellability& cancellability) {
  return cancellability.without_acceptance ? "Cancelable sin aceptación"
                                           : "Cancelable con aceptación";
}

}  // namespace drovanexis::sandbox
