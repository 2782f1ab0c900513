// CFDI 4.0 matrix, the rules on the Comprobante's own attributes and its
// related documents:
//   CFDI40101 Fecha has the form yyyy-mm-ddThh:mm:ss, a real date and time
//   CFDI40103 T, N, P: no FormaPago
//   CFDI40104 FormaPago in c_FormaPago; I and E carry one
//   CFDI40105 MetodoPago PPD: FormaPago is 99 (por definir)
//   CFDI40107 SubTotal has no more decimals than the currency allows
//   CFDI40108 I, E, N: SubTotal = Σ Concepto Importe
//   CFDI40109 T, P: SubTotal = 0
//   CFDI40110 Descuento ≤ SubTotal
//   CFDI40111 Concepto Descuento only for I, E, N; then Descuento = Σ of them
//   CFDI40112 Descuento has no more decimals than the currency allows
//   CFDI40113 Moneda in c_Moneda
//   CFDI40114 MXN: TipoCambio absent or 1
//   CFDI40115 other currencies than MXN and XXX: TipoCambio required
//   CFDI40116 XXX: no TipoCambio
//   CFDI40117 TipoCambio matches [0-9]{1,18}(.[0-9]{1,6})?
//   CFDI40119 Total = SubTotal − Descuento + transferred − withheld taxes,
//             local taxes (implocal) included; no more decimals than the currency
//   CFDI40120 Total above the maximum of c_TipoDeComprobante needs Confirmacion
//   CFDI40121 TipoDeComprobante in c_TipoDeComprobante
//   CFDI40122 Exportacion 02 needs the Comercio Exterior complement
//   CFDI40123 Exportacion in c_Exportacion
//   CFDI40124 MetodoPago in c_MetodoPago
//   CFDI40125 T, P: no MetodoPago
//   CFDI40126 LugarExpedicion is a postal code (pattern only: c_CodigoPostal
//             is not in the library's data)
//   CFDI40127 Confirmacion only when a limit calls for it: judged where the
//             currency has no exchange rate to leave its band (MXN, XXX)
//   CFDI40137 each CfdiRelacionados TipoRelacion in c_TipoRelacion
// Not checked here, for want of the facts:
//   CFDI40102 is the provider's 302 and CFDI40106 its 303–308 (seal and
//             certificate, see provider_rules.cpp), reported once there
//   CFDI40118 and CFDI40127 for other currencies need the day's reference
//             exchange rate of each currency
//   CFDI40128, CFDI40129 need the confirmation keys a provider has issued
//             and used; the sandbox issues none and keeps no record of them
#include "validate/cfdi40_support.h"
#include "validate/comprobante_checks.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

using cfdi40::Facts;
using cfdi40::fail;

const std::string kRoot(kComprobante);

constexpr ComprobanteCodes kCodes{
    .fecha = "CFDI40101",
    .subtotal_decimals = "CFDI40107",
    .subtotal_zero = "CFDI40109",
    .subtotal_sum = "CFDI40108",
    .moneda = "CFDI40113",
    .tipo_cambio_form = "CFDI40117",
    .tipo_cambio_mxn = "CFDI40114",
    .tipo_cambio_xxx = "CFDI40116",
    .tipo_cambio_missing = "CFDI40115",
    .total = "CFDI40119",
    .confirmacion_needed = "CFDI40120",
    .confirmacion_unneeded = "CFDI40127",
    .lugar_expedicion = "CFDI40126",
};

void check_forma_pago(const Element& comprobante, const Facts& facts, Failures& failures) {
  const std::string_view forma = attr(comprobante, "FormaPago");
  const bool present = has(comprobante, "FormaPago");
  if (attr(comprobante, "MetodoPago") == "PPD" && present && forma != "99") {
    fail(failures, "105", kRoot, "FormaPago",
         "Con MetodoPago PPD (pago en parcialidades o diferido) la FormaPago debe ser 99 (por "
         "definir) y es " +
             quoted(forma) + ".");
  }
  if (!present) {
    if (facts.tipo == "I" || facts.tipo == "E") {
      fail(failures, "104", kRoot, "FormaPago",
           "Un comprobante de tipo " + std::string(facts.tipo) + " debe llevar FormaPago.");
    }
    return;
  }
  if (facts.tipo == "T" || facts.tipo == "N" || facts.tipo == "P") {
    fail(failures, "103", kRoot, "FormaPago",
         "Un comprobante de tipo " + std::string(facts.tipo) +
             " no debe llevar FormaPago (se encontró " + quoted(forma) + ").");
    return;
  }
  cfdi40::check_catalog40(failures, "104", kRoot, "FormaPago", "c_FormaPago", forma, facts.day);
}

void check_descuento(const Element& comprobante, const Facts& facts, Failures& failures) {
  const auto [lines, lines_have_discount] = line_discounts(comprobante);
  if (lines_have_discount && !carries_amounts(facts.tipo)) {
    fail(failures, "111", kRoot, "Descuento",
         "Un comprobante de tipo " + quoted(facts.tipo) +
             " no debe llevar Descuento en sus conceptos.");
  } else if (!has(comprobante, "Descuento")) {
    if (lines_have_discount) {
      fail(failures, "111", kRoot, "Descuento",
           "Los conceptos registran descuentos por " + shown(lines, facts.currency_decimals) +
               " y el comprobante no lleva Descuento.");
    }
    return;
  }
  check_decimals(failures, "CFDI40112", comprobante, kRoot, "Descuento", facts.currency_decimals,
                 "la moneda " + std::string(facts.moneda));
  const auto descuento = number(comprobante, "Descuento");
  const auto subtotal = number(comprobante, "SubTotal");
  if (!descuento) return;
  if (subtotal && *descuento > *subtotal) {
    fail(failures, "110", kRoot, "Descuento",
         "El Descuento " + descuento->to_string() + " es mayor que el SubTotal " +
             subtotal->to_string() + ".");
  }
  if (carries_amounts(facts.tipo) && !agrees_with_sum(*descuento, lines, facts.currency_decimals)) {
    fail(failures, "111", kRoot, "Descuento",
         "El Descuento " + descuento->to_string() +
             " no es igual a la suma de los Descuento de los conceptos = " +
             shown(lines, facts.currency_decimals) + ".");
  }
}

void check_tipo_and_metodo(const Element& comprobante, const Facts& facts, Failures& failures) {
  if (has(comprobante, "TipoDeComprobante")) {
    cfdi40::check_catalog40(failures, "121", kRoot, "TipoDeComprobante", "c_TipoDeComprobante",
                            facts.tipo, facts.day);
  }
  if (!has(comprobante, "MetodoPago")) return;
  const std::string_view metodo = attr(comprobante, "MetodoPago");
  cfdi40::check_catalog40(failures, "124", kRoot, "MetodoPago", "c_MetodoPago", metodo, facts.day);
  if (is_transfer_or_payment(facts.tipo)) {
    fail(failures, "125", kRoot, "MetodoPago",
         "Un comprobante de tipo " + std::string(facts.tipo) +
             " no debe llevar MetodoPago (se encontró " + quoted(metodo) + ").");
  }
}

void check_exportacion(const Element& comprobante, const Facts& facts, Failures& failures) {
  if (!has(comprobante, "Exportacion")) return;
  const std::string_view exportacion = attr(comprobante, "Exportacion");
  if (!cfdi40::check_catalog40(failures, "123", kRoot, "Exportacion", "c_Exportacion", exportacion,
                               facts.day))
    return;
  if (exportacion == "02" && !facts.has_comercio_exterior) {
    fail(failures, "122", kRoot, "Exportacion",
         "Con Exportacion 02 (definitiva con clave A1) el comprobante debe llevar el complemento "
         "de comercio exterior.");
  }
}

void check_relacionados(const Element& comprobante, const Facts& facts, Failures& failures) {
  const auto groups = children(comprobante, "cfdi:CfdiRelacionados");
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (!has(*groups[i], "TipoRelacion")) continue;
    cfdi40::check_catalog40(
        failures, "137", child_path(kRoot, "cfdi:CfdiRelacionados", groups.size() > 1 ? i + 1 : 0),
        "TipoRelacion", "c_TipoRelacion", attr(*groups[i], "TipoRelacion"), facts.day);
  }
}

}  // namespace

Failures cfdi40_comprobante_rules(const Element& comprobante) {
  const Facts facts = cfdi40::facts_of(comprobante);
  const ComprobanteContext context{kCodes, facts, cfdi40::catalogue("c_Moneda")};
  Failures failures;
  check_fecha(comprobante, context, failures);
  check_forma_pago(comprobante, facts, failures);
  check_subtotal(comprobante, context, failures);
  check_descuento(comprobante, facts, failures);
  check_moneda(comprobante, context, failures);
  check_total(comprobante, context, failures);
  check_tipo_and_metodo(comprobante, facts, failures);
  check_exportacion(comprobante, facts, failures);
  check_lugar_expedicion(comprobante, context, failures);
  check_relacionados(comprobante, facts, failures);
  return failures;
}

}  // namespace drovanexis::rules
