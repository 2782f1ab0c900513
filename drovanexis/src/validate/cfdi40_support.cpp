#include "validate/cfdi40_support.h"

#include <algorithm>
#include <array>

#include "time/civil_time.h"
#include "validate/catalogs.h"

namespace drovanexis::rules::cfdi40 {

namespace {

// The catalogues whose 4.0 rows differ from 3.3's (codes, columns or
// dates); the others are read from the 3.3 tables, which hold the same data.
constexpr std::array<std::string_view, 14> kOwnTables = {
    "c_Estado",        "c_Exportacion", "c_Impuesto",     "c_Localidad",      "c_Meses",
    "c_Moneda",        "c_Municipio",   "c_ObjetoImp",    "c_PatenteAduanal", "c_Periodicidad",
    "c_RegimenFiscal", "c_TasaOCuota",  "c_TipoRelacion", "c_UsoCFDI"};

}  // namespace

std::string_view catalogue(std::string_view name) {
  static const std::array<std::string, kOwnTables.size()> prefixed = [] {
    std::array<std::string, kOwnTables.size()> names;
    for (std::size_t i = 0; i < kOwnTables.size(); ++i)
      names[i] = "cfdi40." + std::string(kOwnTables[i]);
    return names;
  }();
  const auto found = std::find(kOwnTables.begin(), kOwnTables.end(), name);
  if (found == kOwnTables.end()) return name;
  return prefixed[static_cast<std::size_t>(found - kOwnTables.begin())];
}

Facts facts_of(const Element& comprobante) {
  Facts facts;
  facts.tipo = attr(comprobante, "TipoDeComprobante");
  facts.moneda = attr(comprobante, "Moneda");
  facts.currency_decimals = catalogs::moneda_decimals(facts.moneda, catalogue("c_Moneda"));
  facts.has_comercio_exterior = complement(comprobante, "cce11:ComercioExterior") != nullptr ||
                                complement(comprobante, "cce20:ComercioExterior") != nullptr;
  if (const auto fecha = parse_fecha(attr(comprobante, "Fecha"))) facts.day = day_number(*fecha);
  return facts;
}

void fail(Failures& failures, std::string_view number, const std::string& node,
          std::string_view attribute, std::string explanation) {
  add(failures, "CFDI40" + std::string(number), node, std::string(attribute),
      std::move(explanation));
}

bool check_catalog40(Failures& failures, std::string_view number, const std::string& node,
                     std::string_view attribute, std::string_view name, std::string_view key,
                     std::optional<int> day) {
  // The message names the catalogue as the SAT does, not our table.
  return check_catalog_in(failures, "CFDI40" + std::string(number), node, attribute,
                          catalogue(name), name, key, day);
}

bool is_generic_rfc(std::string_view rfc) { return rfc == kPublicRfc || rfc == kForeignRfc; }

}  // namespace drovanexis::rules::cfdi40
