// CFDI 4.0 matrix, the rules on the parties and the global invoice:
//   CFDI40130 InformacionGlobal only for Receptor XAXX010101000 named
//             PUBLICO EN GENERAL (the node is not required for that
//             receiver: only one validator asks for it)
//   CFDI40131 Periodicidad in c_Periodicidad
//   CFDI40132 Periodicidad 05 (bimonthly) only with issuer regime 621 (not
//             the converse, which only one validator applies)
//   CFDI40133 Meses in c_Meses
//   CFDI40134 Periodicidad other than 05: Meses 01–12
//   CFDI40135 Periodicidad 05: Meses 13–18
//   CFDI40136 Año is the year of Fecha or the one before (the reading most
//             validators take; one accepts five years back)
//   CFDI40140 Emisor RegimenFiscal in c_RegimenFiscal
//   CFDI40141 Emisor RegimenFiscal fit for a company (12-character RFC) or a
//             person (13)
//   CFDI40142 FacAtrAdquirente is a 10-digit operation number
//   CFDI40146 Receptor Nombre PUBLICO EN GENERAL only with XAXX010101000
//   CFDI40149 generic receivers (XAXX010101000, XEXX010101000):
//             DomicilioFiscalReceptor = LugarExpedicion
//   CFDI40150 ResidenciaFiscal in c_Pais
//   CFDI40151 no ResidenciaFiscal for a Mexican receiver (any RFC but
//             XEXX010101000: the registry of RFCs is not at hand, and an RFC
//             other than the foreign one names a Mexican taxpayer)
//   CFDI40152 ResidenciaFiscal is not MEX
//   CFDI40153 NumRegIdTrib requires ResidenciaFiscal
//   CFDI40154 no NumRegIdTrib for a Mexican receiver (as CFDI40151)
//   CFDI40155 with Comercio Exterior, the foreign receiver carries NumRegIdTrib
//   CFDI40156 NumRegIdTrib matches the tax-id pattern of its country in c_Pais
//   CFDI40157 RegimenFiscalReceptor in c_RegimenFiscal
//   CFDI40158 RegimenFiscalReceptor fit for the receiver's kind of taxpayer
//   CFDI40159 generic receivers: RegimenFiscalReceptor 616 (sin obligaciones
//             fiscales), the part of the rule that needs no registry
// Payroll (N) is outside both generic-receiver rules: its own rules let a
// deceased worker's receipt go to XAXX010101000 in regime 605, at the
// worker's address.
//   CFDI40160 UsoCFDI in c_UsoCFDI
//   CFDI40161 UsoCFDI fit for the receiver's kind of taxpayer and allowed for
//             its RegimenFiscalReceptor
// Not checked here, for want of the facts: CFDI40138, CFDI40139, CFDI40143,
// CFDI40144, CFDI40145, CFDI40147, CFDI40148 and the registry part of
// CFDI40159 compare RFCs, names, postal codes and regimes with the SAT's
// registry of taxpayers (l_RFC), which no library holds. "UsoCFDI S01 for a
// foreign receiver" is left out: the one validator that knows it only warns.
#include <regex>

#include "time/civil_time.h"
#include "validate/catalogs.h"
#include "validate/cfdi40_support.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

using cfdi40::Facts;
using cfdi40::fail;

const std::string kRoot(kComprobante);
const std::string kEmisorNode = child_path(kRoot, "cfdi:Emisor");
const std::string kReceptorNode = child_path(kRoot, "cfdi:Receptor");
const std::string kGlobalNode = child_path(kRoot, "cfdi:InformacionGlobal");

bool full_match(std::string_view text, const std::regex& pattern) {
  return std::regex_match(text.begin(), text.end(), pattern);
}

// The code of a catalogue with fitness columns, on a party: in the
// catalogue (`unknown`), and fit for the kind of taxpayer its RFC names (`unfit`).
const catalogs::Row* check_fit(const Element& party, const std::string& node,
                               std::string_view attribute, std::string_view name,
                               std::string_view unknown, std::string_view unfit, const Facts& facts,
                               Failures& failures) {
  if (!has(party, attribute)) return nullptr;
  const std::string_view code = attr(party, attribute);
  if (!cfdi40::check_catalog40(failures, unknown, node, attribute, name, code, facts.day))
    return nullptr;
  const std::string_view table = cfdi40::catalogue(name);
  const catalogs::Lookup found = catalogs::look_up(table, code, facts.day);
  const std::string_view rfc = attr(party, "Rfc");
  const auto kind = catalogs::taxpayer_kind(rfc);
  if (kind && !catalogs::suits(catalogs::fitness(catalogs::catalog(table), *found.row), *kind)) {
    fail(failures, unfit, node, attribute,
         "El " + std::string(attribute) + " " + quoted(code) + " no aplica a una " +
             std::string(catalogs::describe(*kind)) + " (RFC " + quoted(rfc) + ").");
  }
  return found.row;
}

void check_emisor(const Element& comprobante, const Facts& facts, Failures& failures) {
  const Element* emisor = comprobante.child("cfdi:Emisor");
  if (emisor == nullptr) return;
  check_fit(*emisor, kEmisorNode, "RegimenFiscal", "c_RegimenFiscal", "140", "141", facts,
            failures);
  static const std::regex kOperacion("[0-9]{10}");
  if (has(*emisor, "FacAtrAdquirente") &&
      !full_match(attr(*emisor, "FacAtrAdquirente"), kOperacion)) {
    fail(failures, "142", kEmisorNode, "FacAtrAdquirente",
         "El FacAtrAdquirente " + quoted(attr(*emisor, "FacAtrAdquirente")) +
             " no es un número de operación de 10 dígitos.");
  }
}

// Whether c_UsoCFDI allows the use for the receiver's regime (its column
// lists the regimes, comma-separated).
bool use_allows_regime(const catalogs::Row& use, std::string_view regime) {
  const std::string_view list =
      catalogs::catalog(cfdi40::catalogue("c_UsoCFDI")).field(use, "regimenes_fiscales_receptores");
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(',', start), list.size());
    if (list.substr(start, end - start) == regime) return true;
    start = end + 1;
  }
  return false;
}

void check_receptor_regime_and_use(const Element& receptor, const Facts& facts,
                                   Failures& failures) {
  const std::string_view rfc = attr(receptor, "Rfc");
  const std::string_view regime = attr(receptor, "RegimenFiscalReceptor");
  const catalogs::Row* regime_row = check_fit(receptor, kReceptorNode, "RegimenFiscalReceptor",
                                              "c_RegimenFiscal", "157", "158", facts, failures);
  if (regime_row != nullptr && cfdi40::is_generic_rfc(rfc) && facts.tipo != "N" &&
      regime != "616") {
    fail(failures, "159", kReceptorNode, "RegimenFiscalReceptor",
         "El receptor con RFC genérico " + std::string(rfc) +
             " debe tener RegimenFiscalReceptor 616 (sin obligaciones fiscales) y tiene " +
             quoted(regime) + ".");
  }
  const catalogs::Row* use =
      check_fit(receptor, kReceptorNode, "UsoCFDI", "c_UsoCFDI", "160", "161", facts, failures);
  if (use != nullptr && regime_row != nullptr && !use_allows_regime(*use, regime)) {
    fail(failures, "161", kReceptorNode, "UsoCFDI",
         "El UsoCFDI " + quoted(attr(receptor, "UsoCFDI")) +
             " no aplica al RegimenFiscalReceptor " + quoted(regime) + ".");
  }
}

void check_receptor_identity(const Element& comprobante, const Element& receptor,
                             const Facts& facts, Failures& failures) {
  const std::string_view rfc = attr(receptor, "Rfc");
  if (attr(receptor, "Nombre") == cfdi40::kPublicName && rfc != cfdi40::kPublicRfc) {
    fail(failures, "146", kReceptorNode, "Rfc",
         "El receptor se llama " + std::string(cfdi40::kPublicName) + " y su RFC es " +
             quoted(rfc) + " en lugar de " + std::string(cfdi40::kPublicRfc) + ".");
  }
  const std::string_view domicilio = attr(receptor, "DomicilioFiscalReceptor");
  const std::string_view lugar = attr(comprobante, "LugarExpedicion");
  if (cfdi40::is_generic_rfc(rfc) && facts.tipo != "N" &&
      has(receptor, "DomicilioFiscalReceptor") && has(comprobante, "LugarExpedicion") &&
      domicilio != lugar) {
    fail(failures, "149", kReceptorNode, "DomicilioFiscalReceptor",
         "Con el RFC genérico " + std::string(rfc) + " el DomicilioFiscalReceptor " +
             quoted(domicilio) + " debe ser el LugarExpedicion " + quoted(lugar) + ".");
  }
}

// A foreign receiver (XEXX010101000) may state its country of residence and
// its foreign tax id; any other RFC is Mexican and states neither.
void check_foreign_receiver(const Element& receptor, const Facts& facts, Failures& failures) {
  const bool foreign = attr(receptor, "Rfc") == cfdi40::kForeignRfc;
  const std::string_view residencia = attr(receptor, "ResidenciaFiscal");
  const bool has_residencia = has(receptor, "ResidenciaFiscal");
  const bool has_num_reg = has(receptor, "NumRegIdTrib");
  const std::string national =
      "El receptor con RFC " + quoted(attr(receptor, "Rfc")) + " es nacional y no debe llevar ";
  if (has_residencia) {
    cfdi40::check_catalog40(failures, "150", kReceptorNode, "ResidenciaFiscal", "c_Pais",
                            residencia, std::nullopt);
    if (!foreign)
      fail(failures, "151", kReceptorNode, "ResidenciaFiscal", national + "ResidenciaFiscal.");
    if (residencia == "MEX") {
      fail(failures, "152", kReceptorNode, "ResidenciaFiscal",
           "La ResidenciaFiscal no puede ser MEX; es la de un receptor extranjero.");
    }
  }
  if (!has_num_reg && foreign && facts.has_comercio_exterior) {
    fail(failures, "155", kReceptorNode, "NumRegIdTrib",
         "Con el complemento de comercio exterior el receptor extranjero lleva NumRegIdTrib.");
  }
  if (!has_num_reg) return;
  if (!has_residencia) {
    fail(failures, "153", kReceptorNode, "ResidenciaFiscal",
         "El receptor lleva NumRegIdTrib y le falta la ResidenciaFiscal.");
  }
  if (!foreign) fail(failures, "154", kReceptorNode, "NumRegIdTrib", national + "NumRegIdTrib.");
  if (has_residencia && !fits_country_pattern(residencia, "patron_identidad_tributaria",
                                              attr(receptor, "NumRegIdTrib"))) {
    fail(failures, "156", kReceptorNode, "NumRegIdTrib",
         "El NumRegIdTrib " + quoted(attr(receptor, "NumRegIdTrib")) +
             " no tiene la forma del registro tributario de " + std::string(residencia) + ".");
  }
}

int month_of(std::string_view meses) {
  return meses.size() == 2 ? (meses[0] - '0') * 10 + (meses[1] - '0') : 0;
}

void check_informacion_global(const Element& comprobante, const Facts& facts, Failures& failures) {
  const Element* global = comprobante.child("cfdi:InformacionGlobal");
  if (global == nullptr) return;
  const Element* receptor = comprobante.child("cfdi:Receptor");
  if (receptor == nullptr || attr(*receptor, "Rfc") != cfdi40::kPublicRfc ||
      attr(*receptor, "Nombre") != cfdi40::kPublicName) {
    fail(failures, "130", kGlobalNode, "",
         "InformacionGlobal solo corresponde a un receptor con RFC " +
             std::string(cfdi40::kPublicRfc) + " y Nombre " + std::string(cfdi40::kPublicName) +
             ".");
  }
  const std::string_view periodicidad = attr(*global, "Periodicidad");
  const bool periodicidad_known = cfdi40::check_catalog40(
      failures, "131", kGlobalNode, "Periodicidad", "c_Periodicidad", periodicidad, facts.day);
  const Element* emisor = comprobante.child("cfdi:Emisor");
  if (periodicidad == "05" && emisor != nullptr && attr(*emisor, "RegimenFiscal") != "621") {
    fail(failures, "132", kGlobalNode, "Periodicidad",
         "La Periodicidad 05 (bimestral) solo corresponde al RegimenFiscal 621 del emisor, que "
         "es " +
             quoted(attr(*emisor, "RegimenFiscal")) + ".");
  }
  const std::string_view meses = attr(*global, "Meses");
  if (cfdi40::check_catalog40(failures, "133", kGlobalNode, "Meses", "c_Meses", meses, facts.day) &&
      periodicidad_known) {
    const int month = month_of(meses);
    if (periodicidad == "05" && (month < 13 || month > 18)) {
      fail(failures, "135", kGlobalNode, "Meses",
           "Con Periodicidad 05 los Meses son un bimestre, 13 a 18; se encontró " + quoted(meses) +
               ".");
    } else if (periodicidad != "05" && (month < 1 || month > 12)) {
      fail(failures, "134", kGlobalNode, "Meses",
           "Con Periodicidad " + quoted(periodicidad) + " los Meses son 01 a 12; se encontró " +
               quoted(meses) + ".");
    }
  }
  const std::string_view ano = attr(*global, "Año");
  const auto year = Decimal::parse(ano);
  if (facts.day && year) {
    const int fecha_year = *facts.day / 10000;
    if (*year != Decimal::from_int(fecha_year) && *year != Decimal::from_int(fecha_year - 1)) {
      fail(failures, "136", kGlobalNode, "Año",
           "El Año " + quoted(ano) + " no es el de la Fecha (" + std::to_string(fecha_year) +
               ") ni el anterior.");
    }
  }
}

}  // namespace

Failures cfdi40_parties_rules(const Element& comprobante) {
  const Facts facts = cfdi40::facts_of(comprobante);
  Failures failures;
  check_informacion_global(comprobante, facts, failures);
  check_emisor(comprobante, facts, failures);
  if (const Element* receptor = comprobante.child("cfdi:Receptor")) {
    check_receptor_identity(comprobante, *receptor, facts, failures);
    check_foreign_receiver(*receptor, facts, failures);
    check_receptor_regime_and_use(*receptor, facts, failures);
  }
  return failures;
}

}  // namespace drovanexis::rules
