#include "validate/comprobante_checks.h"

#include <regex>

#include "time/civil_time.h"
#include "validate/catalogs.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);

void fail(Failures& failures, std::string_view code, std::string_view attribute,
          std::string explanation) {
  add(failures, std::string(code), kRoot, std::string(attribute), std::move(explanation));
}

bool full_match(std::string_view text, const std::regex& pattern) {
  return std::regex_match(text.begin(), text.end(), pattern);
}

Decimal optional_amount(const Element* element, std::string_view attribute) {
  if (element == nullptr) return {};
  return number(*element, attribute).value_or(Decimal{});
}

// A confirmation key is what a provider issues for a Total above the
// ceiling of its type, or a TipoCambio outside the day's band.
void check_confirmacion(const Element& comprobante, const ComprobanteContext& context,
                        const Decimal& total, Failures& failures) {
  const AmountFacts& facts = context.facts;
  const catalogs::Lookup tipo = catalogs::look_up("c_TipoDeComprobante", facts.tipo, facts.day);
  if (tipo.standing != catalogs::Standing::valid) return;
  const auto maximum =
      Decimal::parse(catalogs::catalog("c_TipoDeComprobante").field(*tipo.row, "valor_maximo"));
  if (!maximum) return;
  const bool above = total > *maximum;
  if (!has(comprobante, "Confirmacion")) {
    if (above) {
      fail(failures, context.codes.confirmacion_needed, "Confirmacion",
           "El Total " + total.to_string() + " excede el máximo " + maximum->to_string() +
               " de un comprobante de tipo " + std::string(facts.tipo) +
               "; se requiere una clave de Confirmacion.");
    }
    return;
  }
  // In pesos (TipoCambio 1) or without a currency (XXX) there is no
  // exchange rate that could leave its band, so only the Total can call for
  // the key. Other currencies are not judged: the band needs the day's
  // reference rate, which the library does not have.
  if (!above && (facts.moneda == "MXN" || facts.moneda == "XXX")) {
    fail(failures, context.codes.confirmacion_unneeded, "Confirmacion",
         "El comprobante lleva Confirmacion y ni su Total " + total.to_string() +
             " excede el máximo " + maximum->to_string() + " de su tipo ni su moneda " +
             std::string(facts.moneda) + " tiene tipo de cambio que la requiera.");
  }
}

}  // namespace

void check_fecha(const Element& comprobante, const ComprobanteContext& context,
                 Failures& failures) {
  const std::string_view fecha = attr(comprobante, "Fecha");
  if (has(comprobante, "Fecha") && !parse_fecha(fecha)) {
    fail(failures, context.codes.fecha, "Fecha",
         "La Fecha " + quoted(fecha) +
             " no tiene la forma aaaa-mm-ddThh:mm:ss con una fecha y hora válidas.");
  }
}

void check_subtotal(const Element& comprobante, const ComprobanteContext& context,
                    Failures& failures) {
  const AmountFacts& facts = context.facts;
  const ComprobanteCodes& codes = context.codes;
  check_decimals(failures, std::string(codes.subtotal_decimals), comprobante, kRoot, "SubTotal",
                 facts.currency_decimals, "la moneda " + std::string(facts.moneda));
  const auto subtotal = number(comprobante, "SubTotal");
  if (!subtotal) return;
  if (is_transfer_or_payment(facts.tipo) && !subtotal->is_zero()) {
    fail(failures, codes.subtotal_zero, "SubTotal",
         "El SubTotal es " + subtotal->to_string() + " y en un comprobante de tipo " +
             std::string(facts.tipo) + " debe ser 0.");
  }
  if (!carries_amounts(facts.tipo)) return;
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  if (conceptos == nullptr) return;
  Decimal sum;
  for (const Element* concepto : children(*conceptos, "cfdi:Concepto")) {
    const auto importe = number(*concepto, "Importe");
    if (!importe) return;  // reported by the structure and schema checks
    sum = sum + *importe;
  }
  if (!agrees_with_sum(*subtotal, sum, facts.currency_decimals)) {
    fail(failures, codes.subtotal_sum, "SubTotal",
         "El SubTotal " + subtotal->to_string() +
             " no es igual a la suma de los Importe de los conceptos = " +
             shown(sum, facts.currency_decimals) + ".");
  }
}

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

void check_moneda(const Element& comprobante, const ComprobanteContext& context,
                  Failures& failures) {
  const AmountFacts& facts = context.facts;
  const ComprobanteCodes& codes = context.codes;
  if (!has(comprobante, "Moneda")) return;
  if (!check_catalog_in(failures, std::string(codes.moneda), kRoot, "Moneda", context.moneda_table,
                        "c_Moneda", facts.moneda, facts.day))
    return;
  const bool has_tipo_cambio = has(comprobante, "TipoCambio");
  const auto tipo_cambio = number(comprobante, "TipoCambio");
  const std::string found = quoted(attr(comprobante, "TipoCambio"));
  static const std::regex kTipoCambio("[0-9]{1,18}(\\.[0-9]{1,6})?");
  if (has_tipo_cambio && !full_match(attr(comprobante, "TipoCambio"), kTipoCambio)) {
    fail(failures, codes.tipo_cambio_form, "TipoCambio",
         "El TipoCambio " + found + " no tiene la forma de hasta 18 enteros y hasta 6 decimales.");
  }
  if (facts.moneda == "MXN") {
    if (tipo_cambio && *tipo_cambio != Decimal::from_int(1)) {
      fail(failures, codes.tipo_cambio_mxn, "TipoCambio",
           "Con Moneda MXN el TipoCambio debe omitirse o ser 1; se encontró " + found + ".");
    }
  } else if (facts.moneda == "XXX") {
    if (has_tipo_cambio) {
      fail(failures, codes.tipo_cambio_xxx, "TipoCambio",
           "Con Moneda XXX no debe registrarse TipoCambio; se encontró " + found + ".");
    }
  } else if (!has_tipo_cambio) {
    fail(failures, codes.tipo_cambio_missing, "TipoCambio",
         "Con Moneda " + std::string(facts.moneda) +
             " el TipoCambio es obligatorio y no se registró.");
  }
}

void check_total(const Element& comprobante, const ComprobanteContext& context,
                 Failures& failures) {
  const AmountFacts& facts = context.facts;
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
    fail(failures, context.codes.total, "Total",
         "El Total " + total->to_string() + " tiene más decimales de los que admite la moneda " +
             std::string(facts.moneda) + " (" + std::to_string(*facts.currency_decimals) + ").");
  } else if (!agrees_with_sum(*total, expected, facts.currency_decimals)) {
    fail(failures, context.codes.total, "Total",
         "El Total " + total->to_string() +
             " no es igual a SubTotal - Descuento + Traslados - Retenciones" +
             std::string(locales.empty() ? "" : " + traslados locales - retenciones locales") +
             " = " + shown(expected, facts.currency_decimals) + ".");
  }
  check_confirmacion(comprobante, context, *total, failures);
}

void check_lugar_expedicion(const Element& comprobante, const ComprobanteContext& context,
                            Failures& failures) {
  if (!has(comprobante, "LugarExpedicion")) return;
  static const std::regex kCodigoPostal("[0-9]{5}");
  const std::string_view lugar = attr(comprobante, "LugarExpedicion");
  if (!full_match(lugar, kCodigoPostal)) {
    fail(failures, context.codes.lugar_expedicion, "LugarExpedicion",
         "El LugarExpedicion " + quoted(lugar) +
             " no es un código postal de 5 dígitos (c_CodigoPostal se verifica solo por su "
             "forma).");
  }
}

}  // namespace drovanexis::rules
