// CFDI 3.3 matrix, the rules on each Concepto and its taxes:
//   CFDI33147 I, E, N: ValorUnitario > 0
//   CFDI33149 Importe within the bounds of Cantidad × ValorUnitario
//   CFDI33150 Descuento has no more decimals than the line's Importe
//   CFDI33151 Descuento ≤ Importe
//   CFDI33152 an Impuestos node carries Traslados or Retenciones
//   Transferred tax (Traslado):
//   CFDI33154 Base > 0
//   CFDI33155 Impuesto in c_Impuesto
//   CFDI33156 TipoFactor in c_TipoFactor
//   CFDI33157 Exento carries neither TasaOCuota nor Importe
//   CFDI33158 Tasa or Cuota carry both TasaOCuota and Importe
//   CFDI33159 TasaOCuota in c_TasaOCuota for its tax and factor
//   CFDI33160 Importe within the bounds of Base × TasaOCuota
//   Withheld tax (Retencion):
//   CFDI33163 Base > 0
//   CFDI33164 Impuesto in c_Impuesto
//   CFDI33165 TipoFactor in c_TipoFactor
//   CFDI33166 TipoFactor is not Exento
//   CFDI33167 TasaOCuota in c_TasaOCuota for its tax
//   CFDI33168 Importe within the bounds of Base × TasaOCuota
#include <array>

#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

// The codes that differ between a transferred and a withheld line tax.
struct TaxCodes {
  std::string_view kind;  // "traslado" / "retención", for messages
  std::string_view base;
  std::string_view impuesto;
  std::string_view tipo_factor;
  std::string_view rate;
  std::string_view importe;
};
constexpr TaxCodes kTrasladoCodes{"traslado", "33154", "33155", "33156", "33159", "33160"};
constexpr TaxCodes kRetencionCodes{"retención", "33163", "33164", "33165", "33167", "33168"};

void fail(Failures& failures, std::string_view number, const std::string& node,
          std::string_view attribute, std::string explanation) {
  add(failures, "CFDI" + std::string(number), node, std::string(attribute), std::move(explanation));
}

// The rates of c_TasaOCuota that this system checks: VAT transferred at the
// fixed rates, VAT withheld up to 16 % and income tax withheld up to 35 %.
// IEPS has long lists of fixed rates and quotas that are not checked here.
bool rate_in_catalogue(std::string_view impuesto, std::string_view factor, const Decimal& rate,
                       bool withheld) {
  if (impuesto == "003") return true;
  if (factor != "Tasa") return false;
  if (!withheld) {
    if (impuesto != "002") return false;
    constexpr std::array<std::string_view, 3> kVatRates = {"0.000000", "0.080000", "0.160000"};
    for (const std::string_view allowed : kVatRates) {
      if (rate == *Decimal::parse(allowed)) return true;
    }
    return false;
  }
  const Decimal ceiling = *Decimal::parse(impuesto == "001" ? "0.350000" : "0.160000");
  return !rate.is_negative() && rate <= ceiling;
}

void check_tax_rate_and_amount(const Element& tax, const std::string& node, const TaxCodes& codes,
                               bool withheld, Failures& failures) {
  const std::string_view factor = attr(tax, "TipoFactor");
  const auto base = number(tax, "Base");
  const auto rate = number(tax, "TasaOCuota");
  const auto importe = number(tax, "Importe");
  if (rate && catalogs::is_impuesto(attr(tax, "Impuesto")) &&
      !rate_in_catalogue(attr(tax, "Impuesto"), factor, *rate, withheld)) {
    fail(failures, codes.rate, node, "TasaOCuota",
         "La TasaOCuota " + rate->to_string() + " de " + std::string(codes.kind) +
             " no está en el catálogo "
             "c_TasaOCuota para el impuesto " +
             std::string(attr(tax, "Impuesto")) + " con factor " + std::string(factor) + ".");
  }
  if (!base || !rate || !importe) return;
  const Bounds bounds = tax_bounds(*base, *rate, importe->decimals());
  if (!bounds.contains(*importe)) {
    fail(failures, codes.importe, node, "Importe",
         "El Importe " + importe->to_string() + " de " + std::string(codes.kind) +
             " no es igual a Base " + base->to_string() + " x TasaOCuota " + rate->to_string() +
             "; debe estar entre " + bounds.lower.to_string() + " y " + bounds.upper.to_string() +
             ".");
  }
}

void check_tax(const Element& tax, const std::string& node, const TaxCodes& codes, bool withheld,
               Failures& failures) {
  const auto base = number(tax, "Base");
  if (base && (base->is_zero() || base->is_negative())) {
    fail(failures, codes.base, node, "Base",
         "La Base " + base->to_string() + " de " + std::string(codes.kind) +
             " debe ser mayor que cero.");
  }
  const std::string_view impuesto = attr(tax, "Impuesto");
  if (has(tax, "Impuesto") && !catalogs::is_impuesto(impuesto)) {
    fail(failures, codes.impuesto, node, "Impuesto",
         "El Impuesto " + quoted(impuesto) + " no está en el catálogo c_Impuesto.");
  }
  const std::string_view factor = attr(tax, "TipoFactor");
  if (has(tax, "TipoFactor") && !catalogs::is_tipo_factor(factor)) {
    fail(failures, codes.tipo_factor, node, "TipoFactor",
         "El TipoFactor " + quoted(factor) + " no está en el catálogo c_TipoFactor.");
    return;
  }
  if (factor == "Exento") {
    if (withheld) {
      fail(failures, "33166", node, "TipoFactor",
           "Una retención no puede tener TipoFactor \"Exento\".");
    } else if (has(tax, "TasaOCuota") || has(tax, "Importe")) {
      fail(failures, "33157", node, has(tax, "TasaOCuota") ? "TasaOCuota" : "Importe",
           "Un traslado con TipoFactor \"Exento\" no debe llevar TasaOCuota ni Importe.");
    }
    return;
  }
  if (!withheld && (!has(tax, "TasaOCuota") || !has(tax, "Importe"))) {
    fail(failures, "33158", node, has(tax, "TasaOCuota") ? "Importe" : "TasaOCuota",
         "Un traslado con TipoFactor " + quoted(factor) + " debe llevar TasaOCuota e Importe.");
    return;
  }
  check_tax_rate_and_amount(tax, node, codes, withheld, failures);
}

void check_taxes(const Element& concepto, const std::string& node, Failures& failures) {
  const Element* impuestos = concepto.child("cfdi:Impuestos");
  if (impuestos == nullptr) return;
  const std::string impuestos_node = child_path(node, "cfdi:Impuestos");
  const Element* traslados = impuestos->child("cfdi:Traslados");
  const Element* retenciones = impuestos->child("cfdi:Retenciones");
  if (traslados == nullptr && retenciones == nullptr) {
    fail(failures, "33152", impuestos_node, "",
         "El nodo Impuestos del concepto no tiene Traslados ni Retenciones.");
  }
  const auto each = [&](const Element* group, std::string_view group_name,
                        std::string_view item_name, const TaxCodes& codes, bool withheld) {
    if (group == nullptr) return;
    const auto items = children(*group, item_name);
    const std::string group_node = child_path(impuestos_node, group_name);
    for (std::size_t i = 0; i < items.size(); ++i) {
      check_tax(*items[i], child_path(group_node, item_name, items.size() > 1 ? i + 1 : 0), codes,
                withheld, failures);
    }
  };
  each(traslados, "cfdi:Traslados", "cfdi:Traslado", kTrasladoCodes, false);
  each(retenciones, "cfdi:Retenciones", "cfdi:Retencion", kRetencionCodes, true);
}

void check_amounts(const Element& concepto, const std::string& node, const DocumentFacts& facts,
                   Failures& failures) {
  const auto cantidad = number(concepto, "Cantidad");
  const auto valor = number(concepto, "ValorUnitario");
  const auto importe = number(concepto, "Importe");
  if (valor && carries_amounts(facts.tipo) && (valor->is_zero() || valor->is_negative())) {
    fail(failures, "33147", node, "ValorUnitario",
         "El ValorUnitario " + valor->to_string() +
             " debe ser mayor que cero en un comprobante de tipo " + std::string(facts.tipo) + ".");
  }
  if (cantidad && valor && importe) {
    const Bounds bounds = importe_bounds(*cantidad, *valor, importe->decimals());
    if (!bounds.contains(*importe)) {
      fail(failures, "33149", node, "Importe",
           "El Importe " + importe->to_string() + " no es igual a Cantidad " +
               cantidad->to_string() + " x ValorUnitario " + valor->to_string() +
               "; debe estar entre " + bounds.lower.to_string() + " y " + bounds.upper.to_string() +
               ".");
    }
  }
  const auto descuento = number(concepto, "Descuento");
  if (!descuento || !importe) return;
  if (descuento->decimals() > importe->decimals()) {
    fail(failures, "33150", node, "Descuento",
         "El Descuento " + descuento->to_string() + " tiene más decimales que el Importe " +
             importe->to_string() + " del concepto.");
  }
  if (*descuento > *importe) {
    fail(failures, "33151", node, "Descuento",
         "El Descuento " + descuento->to_string() + " es mayor que el Importe " +
             importe->to_string() + " del concepto.");
  }
}

}  // namespace

Failures cfdi33_concepto_rules(const Element& comprobante) {
  Failures failures;
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  if (conceptos == nullptr) return failures;
  const DocumentFacts facts = document_facts(comprobante);
  const auto items = children(*conceptos, "cfdi:Concepto");
  const std::string parent = child_path(kComprobante, "cfdi:Conceptos");
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string node = child_path(parent, "cfdi:Concepto", items.size() > 1 ? i + 1 : 0);
    check_amounts(*items[i], node, facts, failures);
    check_taxes(*items[i], node, failures);
  }
  return failures;
}

}  // namespace drovanexis::rules
