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

bool full_match(std::string_view text, const std::regex& pattern) {
  return std::regex_match(text.begin(), text.end(), pattern);
}

void check_fecha(const Element& comprobante, Failures& failures) {
  const std::string_view fecha = attr(comprobante, "Fecha");
  if (has(comprobante, "Fecha") && !parse_fecha(fecha)) {
    fail(failures, "101", kRoot, "Fecha",
         "La Fecha " + quoted(fecha) +
             " no tiene la forma aaaa-mm-ddThh:mm:ss con una fecha y hora válidas.");
  }
}

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

void check_subtotal(const Element& comprobante, const Facts& facts, Failures& failures) {
  check_decimals(failures, "CFDI40107", comprobante, kRoot, "SubTotal", facts.currency_decimals,
                 "la moneda " + std::string(facts.moneda));
  const auto subtotal = number(comprobante, "SubTotal");
  if (!subtotal) return;
  if (is_transfer_or_payment(facts.tipo) && !subtotal->is_zero()) {
    fail(failures, "109", kRoot, "SubTotal",
         "El SubTotal es " + subtotal->to_string() + " y en un comprobante de tipo " +
             std::string(facts.tipo) + " debe ser 0.");
  }
  if (!carries_amounts(facts.tipo)) return;
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  if (conceptos == nullptr) return;
  Decimal sum;
  for (const Element* concepto : children(*conceptos, "cfdi:Concepto")) {
    const auto importe = number(*concepto, "Importe");
    if (!importe) return;  // reported by the schema stage
    sum = sum + *importe;
  }
  if (!agrees_with_sum(*subtotal, sum, facts.currency_decimals)) {
    fail(failures, "108", kRoot, "SubTotal",
         "El SubTotal " + subtotal->to_string() +
             " no es igual a la suma de los Importe de los conceptos = " +
             shown(sum, facts.currency_decimals) + ".");
  }
}

// Σ Concepto Descuento, and whether any Concepto carries one.
std::pair<Decimal, bool> line_discounts(const Element& comprobante) {
  Decimal sum;
  bool any = false;
  if (const Element* conceptos = comprobante.child("cfdi:Conceptos")) {
    for (const Element* concepto : children(*conceptos, "cfdi:Concepto")) {
      if (!has(*concepto, "Descuento")) continue;
      any = true;
      sum = sum + number(*concepto, "Descuento").value_or(Decimal{});
    }
  }
  return {sum, any};
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

void check_moneda(const Element& comprobante, const Facts& facts, Failures& failures) {
  if (!has(comprobante, "Moneda")) return;
  if (!cfdi40::check_catalog40(failures, "113", kRoot, "Moneda", "c_Moneda", facts.moneda,
                               facts.day))
    return;
  const bool has_tipo_cambio = has(comprobante, "TipoCambio");
  const auto tipo_cambio = number(comprobante, "TipoCambio");
  const std::string found = quoted(attr(comprobante, "TipoCambio"));
  static const std::regex kTipoCambio("[0-9]{1,18}(\\.[0-9]{1,6})?");
  if (has_tipo_cambio && !full_match(attr(comprobante, "TipoCambio"), kTipoCambio)) {
    fail(failures, "117", kRoot, "TipoCambio",
         "El TipoCambio " + found + " no tiene la forma de hasta 18 enteros y hasta 6 decimales.");
  }
  if (facts.moneda == "MXN") {
    if (tipo_cambio && *tipo_cambio != Decimal::from_int(1)) {
      fail(failures, "114", kRoot, "TipoCambio",
           "Con Moneda MXN el TipoCambio debe omitirse o ser 1; se encontró " + found + ".");
    }
  } else if (facts.moneda == "XXX") {
    if (has_tipo_cambio) {
      fail(failures, "116", kRoot, "TipoCambio",
           "Con Moneda XXX no debe registrarse TipoCambio; se encontró " + found + ".");
    }
  } else if (!has_tipo_cambio) {
    fail(failures, "115", kRoot, "TipoCambio",
         "Con Moneda " + std::string(facts.moneda) +
             " el TipoCambio es obligatorio y no se registró.");
  }
}

Decimal optional_amount(const Element* element, std::string_view attribute) {
  if (element == nullptr) return {};
  return number(*element, attribute).value_or(Decimal{});
}

void check_confirmacion(const Element& comprobante, const Facts& facts, const Decimal& total,
                        Failures& failures) {
  const catalogs::Lookup tipo = catalogs::look_up("c_TipoDeComprobante", facts.tipo, facts.day);
  if (tipo.standing != catalogs::Standing::valid) return;
  const auto maximum =
      Decimal::parse(catalogs::catalog("c_TipoDeComprobante").field(*tipo.row, "valor_maximo"));
  if (!maximum) return;
  const bool above = total > *maximum;
  if (!has(comprobante, "Confirmacion")) {
    if (above) {
      fail(failures, "120", kRoot, "Confirmacion",
           "El Total " + total.to_string() + " excede el máximo " + maximum->to_string() +
               " de un comprobante de tipo " + std::string(facts.tipo) +
               "; se requiere una clave de Confirmacion.");
    }
    return;
  }
  // Only in pesos or without a currency can the key be judged unneeded: an
  // exchange rate outside its band, which needs the day's reference rate,
  // may call for it in any other currency.
  if (!above && (facts.moneda == "MXN" || facts.moneda == "XXX")) {
    fail(failures, "127", kRoot, "Confirmacion",
         "El comprobante lleva Confirmacion y ni su Total " + total.to_string() +
             " excede el máximo " + maximum->to_string() + " de su tipo ni su moneda " +
             std::string(facts.moneda) + " tiene tipo de cambio que la requiera.");
  }
}

void check_total(const Element& comprobante, const Facts& facts, Failures& failures) {
  const auto total = number(comprobante, "Total");
  const auto subtotal = number(comprobante, "SubTotal");
  if (!total || !subtotal) return;
  const Element* impuestos = comprobante.child("cfdi:Impuestos");
  Decimal expected = *subtotal - optional_amount(&comprobante, "Descuento") +
                     optional_amount(impuestos, "TotalImpuestosTrasladados") -
                     optional_amount(impuestos, "TotalImpuestosRetenidos");
  // Local taxes are outside the tax summary but count in the Total.
  const Element* complemento = comprobante.child("cfdi:Complemento");
  const auto locales = complemento ? children(*complemento, "implocal:ImpuestosLocales")
                                   : std::vector<const Element*>{};
  for (const Element* local : locales) {
    expected = expected + optional_amount(local, "TotaldeTraslados") -
               optional_amount(local, "TotaldeRetenciones");
  }
  if (facts.currency_decimals && total->decimals() > *facts.currency_decimals) {
    fail(failures, "119", kRoot, "Total",
         "El Total " + total->to_string() + " tiene más decimales de los que admite la moneda " +
             std::string(facts.moneda) + " (" + std::to_string(*facts.currency_decimals) + ").");
  } else if (!agrees_with_sum(*total, expected, facts.currency_decimals)) {
    fail(failures, "119", kRoot, "Total",
         "El Total " + total->to_string() +
             " no es igual a SubTotal - Descuento + Traslados - Retenciones" +
             std::string(locales.empty() ? "" : " + traslados locales - retenciones locales") +
             " = " + shown(expected, facts.currency_decimals) + ".");
  }
  check_confirmacion(comprobante, facts, *total, failures);
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

void check_lugar_expedicion(const Element& comprobante, Failures& failures) {
  if (!has(comprobante, "LugarExpedicion")) return;
  static const std::regex kCodigoPostal("[0-9]{5}");
  const std::string_view lugar = attr(comprobante, "LugarExpedicion");
  if (!full_match(lugar, kCodigoPostal)) {
    fail(failures, "126", kRoot, "LugarExpedicion",
         "El LugarExpedicion " + quoted(lugar) +
             " no es un código postal de 5 dígitos (c_CodigoPostal se verifica solo por su "
             "forma).");
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
  Failures failures;
  check_fecha(comprobante, failures);
  check_forma_pago(comprobante, facts, failures);
  check_subtotal(comprobante, facts, failures);
  check_descuento(comprobante, facts, failures);
  check_moneda(comprobante, facts, failures);
  check_total(comprobante, facts, failures);
  check_tipo_and_metodo(comprobante, facts, failures);
  check_exportacion(comprobante, facts, failures);
  check_lugar_expedicion(comprobante, failures);
  check_relacionados(comprobante, facts, failures);
  return failures;
}

}  // namespace drovanexis::rules
