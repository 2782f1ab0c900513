// CFDI 3.3 matrix, the rules on the Comprobante and its parties:
//   CFDI33101 Fecha has the form yyyy-mm-ddThh:mm:ss (years 2010–2099), a real date
//   CFDI33103 no FormaPago when a Pagos complement exists
//   CFDI33104 FormaPago in c_FormaPago
//   CFDI33106 SubTotal has no more decimals than the currency allows
//   CFDI33107 I, E, N: SubTotal = Σ Concepto Importe
//   CFDI33108 T, P: SubTotal = 0
//   CFDI33109 Descuento ≤ SubTotal
//   CFDI33110 Descuento only for I, E, N
//   CFDI33111 Descuento has no more decimals than the currency allows
//   CFDI33112 Moneda in c_Moneda
//   CFDI33113 MXN: TipoCambio absent or 1
//   CFDI33114 other currencies than MXN and XXX: TipoCambio required
//   CFDI33115 XXX: no TipoCambio
//   CFDI33118 Total = SubTotal − Descuento + transferred − withheld taxes
//   CFDI33120 TipoDeComprobante in c_TipoDeComprobante
//   CFDI33121 MetodoPago in c_MetodoPago
//   CFDI33123 no MetodoPago for T or P
//   CFDI33124 no MetodoPago with a Pagos complement
//   CFDI33129 TipoRelacion in c_TipoRelacion
//   CFDI33130 Emisor RegimenFiscal in c_RegimenFiscal
//   CFDI33131 RegimenFiscal fit for a company (12-character RFC) or a person (13)
//   CFDI33140 Receptor UsoCFDI in c_UsoCFDI
//   CFDI33141 UsoCFDI fit for the receiver's kind of taxpayer
#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);

void fail(Failures& failures, std::string_view number, std::string_view attribute,
          std::string explanation, const std::string& node = kRoot) {
  add(failures, "CFDI" + std::string(number), node, std::string(attribute), std::move(explanation));
}

void check_fecha(const Element& comprobante, Failures& failures) {
  const std::string_view fecha = attr(comprobante, "Fecha");
  if (has(comprobante, "Fecha") && !parse_fecha(fecha)) {
    fail(failures, "33101", "Fecha",
         "La Fecha " + quoted(fecha) +
             " no tiene la forma aaaa-mm-ddThh:mm:ss con una fecha y hora válidas.");
  }
}

void check_forma_pago(const Element& comprobante, const DocumentFacts& facts, Failures& failures) {
  if (!has(comprobante, "FormaPago")) return;
  const std::string_view forma = attr(comprobante, "FormaPago");
  if (facts.has_pagos) {
    fail(failures, "33103", "FormaPago",
         "El comprobante tiene complemento de pagos y no debe llevar FormaPago (se encontró " +
             quoted(forma) + ").");
  } else if (!catalogs::is_forma_pago(forma)) {
    fail(failures, "33104", "FormaPago",
         "La FormaPago " + quoted(forma) + " no está en el catálogo c_FormaPago.");
  }
}

void check_decimals(const Element& comprobante, const DocumentFacts& facts,
                    std::string_view attribute, std::string_view number_code, Failures& failures) {
  const auto value = number(comprobante, attribute);
  if (!value || !facts.currency_decimals || value->decimals() <= *facts.currency_decimals) return;
  fail(failures, number_code, attribute,
       "El " + std::string(attribute) + " " + value->to_string() + " tiene " +
           std::to_string(value->decimals()) + " decimales y la moneda " +
           std::string(facts.moneda) + " admite " + std::to_string(*facts.currency_decimals) + ".");
}

void check_subtotal(const Element& comprobante, const DocumentFacts& facts, Failures& failures) {
  check_decimals(comprobante, facts, "SubTotal", "33106", failures);
  const auto subtotal = number(comprobante, "SubTotal");
  if (!subtotal) return;
  if (is_transfer_or_payment(facts.tipo) && !subtotal->is_zero()) {
    fail(failures, "33108", "SubTotal",
         "El SubTotal es " + subtotal->to_string() + " y en un comprobante de tipo " +
             std::string(facts.tipo) + " debe ser 0.");
  }
  if (!carries_amounts(facts.tipo)) return;
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  if (conceptos == nullptr) return;
  Decimal sum;
  for (const Element* concepto : children(*conceptos, "cfdi:Concepto")) {
    const auto importe = number(*concepto, "Importe");
    if (!importe) return;  // reported by the structure rules
    sum = sum + *importe;
  }
  if (!agrees_with_sum(*subtotal, sum, facts.currency_decimals)) {
    fail(failures, "33107", "SubTotal",
         "El SubTotal " + subtotal->to_string() +
             " no es igual a la suma de los Importe de los conceptos = " +
             shown(sum, facts.currency_decimals) + ".");
  }
}

void check_descuento(const Element& comprobante, const DocumentFacts& facts, Failures& failures) {
  if (!has(comprobante, "Descuento")) return;
  check_decimals(comprobante, facts, "Descuento", "33111", failures);
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
  }
}

void check_moneda(const Element& comprobante, const DocumentFacts& facts, Failures& failures) {
  if (!has(comprobante, "Moneda")) return;
  if (!facts.currency_decimals) {
    fail(failures, "33112", "Moneda",
         "La Moneda " + quoted(facts.moneda) + " no está en el catálogo c_Moneda.");
    return;
  }
  const bool has_tipo_cambio = has(comprobante, "TipoCambio");
  const auto tipo_cambio = number(comprobante, "TipoCambio");
  const std::string found = quoted(attr(comprobante, "TipoCambio"));
  if (facts.moneda == "MXN") {
    if (tipo_cambio && *tipo_cambio != Decimal::from_int(1)) {
      fail(failures, "33113", "TipoCambio",
           "Con Moneda MXN el TipoCambio debe omitirse o ser 1; se encontró " + found + ".");
    }
  } else if (facts.moneda == "XXX") {
    if (has_tipo_cambio) {
      fail(failures, "33115", "TipoCambio",
           "Con Moneda XXX no debe registrarse TipoCambio; se encontró " + found + ".");
    }
  } else if (!has_tipo_cambio) {
    fail(failures, "33114", "TipoCambio",
         "Con Moneda " + std::string(facts.moneda) +
             " el TipoCambio es obligatorio y no se registró.");
  }
}

Decimal optional_amount(const Element* element, std::string_view attribute) {
  if (element == nullptr) return {};
  return number(*element, attribute).value_or(Decimal{});
}

void check_total(const Element& comprobante, const DocumentFacts& facts, Failures& failures) {
  const auto total = number(comprobante, "Total");
  const auto subtotal = number(comprobante, "SubTotal");
  if (!total || !subtotal) return;
  const Element* impuestos = comprobante.child("cfdi:Impuestos");
  const Decimal expected = *subtotal - optional_amount(&comprobante, "Descuento") +
                           optional_amount(impuestos, "TotalImpuestosTrasladados") -
                           optional_amount(impuestos, "TotalImpuestosRetenidos");
  if (!agrees_with_sum(*total, expected, facts.currency_decimals)) {
    fail(failures, "33118", "Total",
         "El Total " + total->to_string() +
             " no es igual a SubTotal - Descuento + Traslados - Retenciones = " +
             shown(expected, facts.currency_decimals) + ".");
  }
}

void check_tipo_and_metodo(const Element& comprobante, const DocumentFacts& facts,
                           Failures& failures) {
  if (has(comprobante, "TipoDeComprobante") && !catalogs::is_tipo_de_comprobante(facts.tipo)) {
    fail(failures, "33120", "TipoDeComprobante",
         "El TipoDeComprobante " + quoted(facts.tipo) +
             " no está en el catálogo c_TipoDeComprobante.");
  }
  if (!has(comprobante, "MetodoPago")) return;
  const std::string_view metodo = attr(comprobante, "MetodoPago");
  if (!catalogs::is_metodo_pago(metodo)) {
    fail(failures, "33121", "MetodoPago",
         "El MetodoPago " + quoted(metodo) + " no está en el catálogo c_MetodoPago.");
  }
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

void check_relacionados(const Element& comprobante, Failures& failures) {
  const Element* relacionados = comprobante.child("cfdi:CfdiRelacionados");
  if (relacionados == nullptr || !has(*relacionados, "TipoRelacion")) return;
  const std::string_view tipo = attr(*relacionados, "TipoRelacion");
  if (!catalogs::is_tipo_relacion(tipo)) {
    fail(failures, "33129", "TipoRelacion",
         "El TipoRelacion " + quoted(tipo) + " no está en el catálogo c_TipoRelacion.",
         child_path(kRoot, "cfdi:CfdiRelacionados"));
  }
}

// A code of a catalogue with fitness (RegimenFiscal, UsoCFDI) on a party.
struct FitnessRule {
  std::string_view party;  // "cfdi:Emisor"
  std::string_view attribute;
  std::string_view catalogue;
  std::string_view unknown_code;
  std::string_view unfit_code;
  std::optional<catalogs::Fitness> (*look_up)(std::string_view);
};

void check_fitness(const Element& comprobante, const FitnessRule& rule, Failures& failures) {
  const Element* party = comprobante.child(rule.party);
  if (party == nullptr || !has(*party, rule.attribute)) return;
  const std::string node = child_path(kRoot, rule.party);
  const std::string_view code = attr(*party, rule.attribute);
  const auto fitness = rule.look_up(code);
  if (!fitness) {
    fail(failures, rule.unknown_code, rule.attribute,
         "El " + std::string(rule.attribute) + " " + quoted(code) + " no está en el catálogo " +
             std::string(rule.catalogue) + ".",
         node);
    return;
  }
  const std::string_view rfc = attr(*party, "Rfc");
  const auto kind = catalogs::taxpayer_kind(rfc);
  if (kind && !catalogs::suits(*fitness, *kind)) {
    fail(failures, rule.unfit_code, rule.attribute,
         "El " + std::string(rule.attribute) + " " + quoted(code) + " no aplica a una " +
             std::string(catalogs::describe(*kind)) + " (RFC " + quoted(rfc) + ").",
         node);
  }
}

}  // namespace

Failures cfdi33_comprobante_rules(const Element& comprobante) {
  const DocumentFacts facts = document_facts(comprobante);
  Failures failures;
  check_fecha(comprobante, failures);
  check_forma_pago(comprobante, facts, failures);
  check_subtotal(comprobante, facts, failures);
  check_descuento(comprobante, facts, failures);
  check_moneda(comprobante, facts, failures);
  check_total(comprobante, facts, failures);
  check_tipo_and_metodo(comprobante, facts, failures);
  check_relacionados(comprobante, failures);
  check_fitness(comprobante,
                {"cfdi:Emisor", "RegimenFiscal", "c_RegimenFiscal", "33130", "33131",
                 catalogs::regimen_fiscal},
                failures);
  check_fitness(comprobante,
                {"cfdi:Receptor", "UsoCFDI", "c_UsoCFDI", "33140", "33141", catalogs::uso_cfdi},
                failures);
  return failures;
}

}  // namespace drovanexis::rules
