// CFDI 3.3 matrix, the rules on the Comprobante and its parties:
//   CFDI33101 Fecha has the form yyyy-mm-ddThh:mm:ss (years 2010–2099), a real date
//   CFDI33103 no FormaPago when a Pagos complement exists
//   CFDI33104 FormaPago in c_FormaPago
//   CFDI33106 SubTotal has no more decimals than the currency allows
//   CFDI33107 I, E, N: SubTotal = Σ Concepto Importe
//   CFDI33108 T, P: SubTotal = 0
//   CFDI33109 Descuento ≤ SubTotal
//   CFDI33110 Descuento (document or Concepto) only for I, E, N
//   CFDI33111 Descuento has no more decimals than the currency allows
//   CFDI33112 Moneda in c_Moneda
//   CFDI33113 MXN: TipoCambio absent or 1
//   CFDI33114 other currencies than MXN and XXX: TipoCambio required
//   CFDI33115 XXX: no TipoCambio
//   CFDI33116 TipoCambio matches [0-9]{1,18}(.[0-9]{1,6})?
//   CFDI33118 Total = SubTotal − Descuento + transferred − withheld taxes, local
//             taxes (implocal) included; no more decimals than the currency
//   CFDI33119 Total above the maximum of c_TipoDeComprobante needs Confirmacion
//   CFDI33120 TipoDeComprobante in c_TipoDeComprobante
//   CFDI33121 MetodoPago in c_MetodoPago
//   CFDI33123 no MetodoPago for T or P
//   CFDI33124 no MetodoPago with a Pagos complement
//   CFDI33125 LugarExpedicion is a postal code (pattern only: c_CodigoPostal is
//             not in the library's data)
//   CFDI33126 Confirmacion only when a limit calls for it: judged where the
//             currency has no exchange rate to leave its band (MXN, XXX),
//             so that only a Total above the maximum of its type allows it
//   CFDI33129 TipoRelacion in c_TipoRelacion
//   CFDI33130 Emisor RegimenFiscal in c_RegimenFiscal
//   CFDI33131 RegimenFiscal fit for a company (12-character RFC) or a person (13)
//   CFDI33133 ResidenciaFiscal in c_Pais
//   CFDI33134 no ResidenciaFiscal for a Mexican receiver (any RFC but XEXX010101000)
//   CFDI33135 ResidenciaFiscal is not MEX
//   CFDI33136 NumRegIdTrib requires ResidenciaFiscal
//   CFDI33137 no NumRegIdTrib for a Mexican receiver
//   CFDI33138 with Comercio Exterior, the foreign receiver (XEXX010101000)
//             carries NumRegIdTrib; the converse ("only with Comercio
//             Exterior") is not enforced, as most providers do not: the
//             payment receipts' filling guide asks for the foreign payer's
//             tax id without that complement
//   CFDI33139 NumRegIdTrib matches the tax-id pattern of its country in c_Pais
//   CFDI33140 Receptor UsoCFDI in c_UsoCFDI
//   CFDI33141 UsoCFDI fit for the receiver's kind of taxpayer
// Rules of the standard with no SAT code (this library's codes):
//   SBX-C01   Descuento = Σ Concepto Descuento
//   SBX-C02   T: no FormaPago
//   SBX-C03   MetodoPago PPD: FormaPago is 99 (por definir)
// Not checked here, for want of the facts:
//   CFDI33102, CFDI33105 are the provider's 302 (seal and certificate, see
//             provider_rules.cpp)
//   CFDI33117 needs the day's reference exchange rate of each currency
//   CFDI33126 for other currencies, for the same reason
//   CFDI33127, CFDI33128 need the confirmation keys a provider has issued
//             and used; the sandbox issues none and keeps no record of them
//   CFDI33132 needs the list of registered RFCs (l_RFC), which no library holds
//   CFDI33122 is obsolete: PIP is not in c_MetodoPago, so CFDI33121 answers
//             first
#include "validate/catalogs.h"
#include "validate/comprobante_checks.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);
const std::string kReceptorNode = child_path(kRoot, "cfdi:Receptor");
constexpr std::string_view kForeignRfc = "XEXX010101000";

constexpr ComprobanteCodes kCodes{
    .fecha = "CFDI33101",
    .subtotal_decimals = "CFDI33106",
    .subtotal_zero = "CFDI33108",
    .subtotal_sum = "CFDI33107",
    .moneda = "CFDI33112",
    .tipo_cambio_form = "CFDI33116",
    .tipo_cambio_mxn = "CFDI33113",
    .tipo_cambio_xxx = "CFDI33115",
    .tipo_cambio_missing = "CFDI33114",
    .total = "CFDI33118",
    .confirmacion_needed = "CFDI33119",
    .confirmacion_unneeded = "CFDI33126",
    .lugar_expedicion = "CFDI33125",
};

void fail(Failures& failures, std::string_view number, std::string_view attribute,
          std::string explanation, const std::string& node = kRoot) {
  add(failures, "CFDI" + std::string(number), node, std::string(attribute), std::move(explanation));
}

void check_forma_pago(const Element& comprobante, const DocumentFacts& facts, Failures& failures) {
  const std::string_view forma = attr(comprobante, "FormaPago");
  if (attr(comprobante, "MetodoPago") == "PPD" && has(comprobante, "FormaPago") && forma != "99") {
    add(failures, "SBX-C03", kRoot, "FormaPago",
        "Con MetodoPago PPD (pago en parcialidades o diferido) la FormaPago debe ser 99 (por "
        "definir) y es " +
            quoted(forma) + ".");
  }
  if (!has(comprobante, "FormaPago")) return;
  if (facts.has_pagos) {
    fail(failures, "33103", "FormaPago",
         "El comprobante tiene complemento de pagos y no debe llevar FormaPago (se encontró " +
             quoted(forma) + ").");
    return;
  }
  if (facts.tipo == "T") {
    add(failures, "SBX-C02", kRoot, "FormaPago",
        "Un comprobante de tipo T (traslado) no debe llevar FormaPago (se encontró " +
            quoted(forma) + ").");
  }
  check_catalog(failures, "CFDI33104", kRoot, "FormaPago", "c_FormaPago", forma, facts.day);
}

void check_descuento(const Element& comprobante, const DocumentFacts& facts, Failures& failures) {
  const auto [lines, lines_have_discount] = line_discounts(comprobante);
  if (!has(comprobante, "Descuento")) {
    if (lines_have_discount && !lines.is_zero()) {
      add(failures, "SBX-C01", kRoot, "Descuento",
          "Los conceptos registran descuentos por " + shown(lines, facts.currency_decimals) +
              " y el comprobante no lleva Descuento.");
    }
    if (lines_have_discount && !carries_amounts(facts.tipo)) {
      fail(failures, "33110", "Descuento",
           "Un comprobante de tipo " + quoted(facts.tipo) +
               " no debe llevar Descuento en sus conceptos.");
    }
    return;
  }
  check_decimals(failures, "CFDI33111", comprobante, kRoot, "Descuento", facts.currency_decimals,
                 "la moneda " + std::string(facts.moneda));
  const auto descuento = number(comprobante, "Descuento");
  const auto subtotal = number(comprobante, "SubTotal");
  if (descuento && subtotal && *descuento > *subtotal) {
    fail(failures, "33109", "Descuento",
         "El Descuento " + descuento->to_string() + " es mayor que el SubTotal " +
             subtotal->to_string() + ".");
  }
  if (!carries_amounts(facts.tipo)) {
    fail(failures, "33110", "Descuento",
         "Un comprobante de tipo " + quoted(facts.tipo) +
             " no debe llevar Descuento (se encontró " + quoted(attr(comprobante, "Descuento")) +
             ").");
  } else if (descuento && !agrees_with_sum(*descuento, lines, facts.currency_decimals)) {
    add(failures, "SBX-C01", kRoot, "Descuento",
        "El Descuento " + descuento->to_string() +
            " no es igual a la suma de los Descuento de los conceptos = " +
            shown(lines, facts.currency_decimals) + ".");
  }
}

void check_tipo_and_metodo(const Element& comprobante, const DocumentFacts& facts,
                           Failures& failures) {
  if (has(comprobante, "TipoDeComprobante")) {
    check_catalog(failures, "CFDI33120", kRoot, "TipoDeComprobante", "c_TipoDeComprobante",
                  facts.tipo, facts.day);
  }
  if (!has(comprobante, "MetodoPago")) return;
  const std::string_view metodo = attr(comprobante, "MetodoPago");
  check_catalog(failures, "CFDI33121", kRoot, "MetodoPago", "c_MetodoPago", metodo, facts.day);
  if (is_transfer_or_payment(facts.tipo)) {
    fail(failures, "33123", "MetodoPago",
         "Un comprobante de tipo " + std::string(facts.tipo) +
             " no debe llevar MetodoPago (se encontró " + quoted(metodo) + ").");
  } else if (facts.has_pagos) {
    fail(failures, "33124", "MetodoPago",
         "Un comprobante con complemento de pagos no debe llevar MetodoPago (se encontró " +
             quoted(metodo) + ").");
  }
}

void check_relacionados(const Element& comprobante, const DocumentFacts& facts,
                        Failures& failures) {
  const Element* relacionados = comprobante.child("cfdi:CfdiRelacionados");
  if (relacionados == nullptr || !has(*relacionados, "TipoRelacion")) return;
  check_catalog(failures, "CFDI33129", child_path(kRoot, "cfdi:CfdiRelacionados"), "TipoRelacion",
                "c_TipoRelacion", attr(*relacionados, "TipoRelacion"), facts.day);
}

// A code of a catalogue with fitness (RegimenFiscal, UsoCFDI) on a party.
struct FitnessRule {
  std::string_view party;  // "cfdi:Emisor"
  std::string_view attribute;
  std::string_view catalogue;
  std::string_view unknown_code;
  std::string_view unfit_code;
};

void check_fitness(const Element& comprobante, const DocumentFacts& facts, const FitnessRule& rule,
                   Failures& failures) {
  const Element* party = comprobante.child(rule.party);
  if (party == nullptr || !has(*party, rule.attribute)) return;
  const std::string node = child_path(kRoot, rule.party);
  const std::string_view code = attr(*party, rule.attribute);
  if (!check_catalog(failures, "CFDI" + std::string(rule.unknown_code), node, rule.attribute,
                     rule.catalogue, code, facts.day))
    return;
  const catalogs::Catalog& catalogue = catalogs::catalog(rule.catalogue);
  const catalogs::Lookup found = catalogs::look_up(rule.catalogue, code, facts.day);
  const std::string_view rfc = attr(*party, "Rfc");
  const auto kind = catalogs::taxpayer_kind(rfc);
  if (kind && !catalogs::suits(catalogs::fitness(catalogue, *found.row), *kind)) {
    fail(failures, rule.unfit_code, rule.attribute,
         "El " + std::string(rule.attribute) + " " + quoted(code) + " no aplica a una " +
             std::string(catalogs::describe(*kind)) + " (RFC " + quoted(rfc) + ").",
         node);
  }
}

// A foreign receiver (XEXX010101000) may state its country of residence and
// its foreign tax id; any other RFC is Mexican and states neither.
void check_foreign_receiver(const Element& comprobante, const DocumentFacts& facts,
                            Failures& failures) {
  const Element* receptor = comprobante.child("cfdi:Receptor");
  if (receptor == nullptr) return;
  const bool foreign = attr(*receptor, "Rfc") == kForeignRfc;
  const std::string_view residencia = attr(*receptor, "ResidenciaFiscal");
  const bool has_residencia = has(*receptor, "ResidenciaFiscal");
  const bool has_num_reg = has(*receptor, "NumRegIdTrib");
  if (has_residencia) {
    check_catalog(failures, "CFDI33133", kReceptorNode, "ResidenciaFiscal", "c_Pais", residencia,
                  std::nullopt);
    if (!foreign) {
      fail(failures, "33134", "ResidenciaFiscal",
           "El receptor con RFC " + quoted(attr(*receptor, "Rfc")) +
               " es nacional y no debe llevar ResidenciaFiscal.",
           kReceptorNode);
    }
    if (residencia == "MEX") {
      fail(failures, "33135", "ResidenciaFiscal",
           "La ResidenciaFiscal no puede ser MEX; es la de un receptor extranjero.", kReceptorNode);
    }
  }
  // An export names the foreign buyer by its tax id on the CFDI itself.
  if (!has_num_reg && foreign && facts.has_comercio_exterior) {
    fail(failures, "33138", "NumRegIdTrib",
         "Con el complemento de comercio exterior el receptor extranjero lleva NumRegIdTrib.",
         kReceptorNode);
  }
  if (!has_num_reg) return;
  if (!has_residencia) {
    fail(failures, "33136", "ResidenciaFiscal",
         "El receptor lleva NumRegIdTrib y le falta la ResidenciaFiscal.", kReceptorNode);
  }
  if (!foreign) {
    fail(failures, "33137", "NumRegIdTrib",
         "El receptor con RFC " + quoted(attr(*receptor, "Rfc")) +
             " es nacional y no debe llevar NumRegIdTrib.",
         kReceptorNode);
  }
  if (has_residencia && !fits_country_pattern(residencia, "patron_identidad_tributaria",
                                              attr(*receptor, "NumRegIdTrib"))) {
    fail(failures, "33139", "NumRegIdTrib",
         "El NumRegIdTrib " + quoted(attr(*receptor, "NumRegIdTrib")) +
             " no tiene la forma del registro tributario de " + std::string(residencia) + ".",
         kReceptorNode);
  }
}

}  // namespace

Failures cfdi33_comprobante_rules(const Element& comprobante) {
  const DocumentFacts facts = document_facts(comprobante);
  const ComprobanteContext context{kCodes, facts, "c_Moneda"};
  Failures failures;
  check_fecha(comprobante, context, failures);
  check_forma_pago(comprobante, facts, failures);
  check_subtotal(comprobante, context, failures);
  check_descuento(comprobante, facts, failures);
  check_moneda(comprobante, context, failures);
  check_total(comprobante, context, failures);
  check_tipo_and_metodo(comprobante, facts, failures);
  check_lugar_expedicion(comprobante, context, failures);
  check_relacionados(comprobante, facts, failures);
  check_fitness(comprobante, facts,
                {"cfdi:Emisor", "RegimenFiscal", "c_RegimenFiscal", "33130", "33131"}, failures);
  check_fitness(comprobante, facts, {"cfdi:Receptor", "UsoCFDI", "c_UsoCFDI", "33140", "33141"},
                failures);
  check_foreign_receiver(comprobante, facts, failures);
  return failures;
}

}  // namespace drovanexis::rules
