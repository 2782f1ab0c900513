#include "validate/concepto_checks.h"

#include <regex>

#include "validate/catalogs.h"

namespace drovanexis::rules {

namespace {

// Amounts of a line may carry up to six decimals.
constexpr int kLineDecimals = 6;
constexpr std::string_view kLineDecimalsWhy = "un importe de concepto";

void fail(Failures& failures, std::string_view code, const std::string& node,
          std::string_view attribute, std::string explanation) {
  add(failures, std::string(code), node, std::string(attribute), std::move(explanation));
}

void line_decimals(Failures& failures, std::string_view code, const Element& element,
                   const std::string& node, std::string_view attribute) {
  if (code.empty()) return;
  check_decimals(failures, std::string(code), element, node, attribute, kLineDecimals,
                 kLineDecimalsWhy);
}

bool is_positive(const Decimal& value) { return !value.is_zero() && !value.is_negative(); }

void check_tax_rate_and_amount(const Element& tax, const std::string& node,
                               const LineTaxCodes& codes, bool withheld,
                               const ConceptoContext& context, Failures& failures) {
  const std::string_view factor = attr(tax, "TipoFactor");
  const auto base = number(tax, "Base");
  const auto rate = number(tax, "TasaOCuota");
  const auto importe = number(tax, "Importe");
  if (rate && !catalogs::tasa_o_cuota_allowed(attr(tax, "Impuesto"), factor, withheld,
                                              attr(tax, "TasaOCuota"), context.facts.day,
                                              context.tables.tasa_o_cuota)) {
    fail(failures, codes.rate, node, "TasaOCuota",
         "La TasaOCuota " + rate->to_string() + " de " + std::string(codes.kind) +
             " no está en el catálogo c_TasaOCuota para el impuesto " +
             std::string(attr(tax, "Impuesto")) + " con factor " + std::string(factor) + ".");
  }
  line_decimals(failures, codes.importe_decimals, tax, node, "Importe");
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

void check_tax(const Element& tax, const std::string& node, const LineTaxCodes& codes,
               bool withheld, const ConceptoContext& context, Failures& failures) {
  const std::optional<int> day = context.facts.day;
  line_decimals(failures, codes.base_decimals, tax, node, "Base");
  const auto base = number(tax, "Base");
  if (base && !is_positive(*base)) {
    fail(failures, codes.base, node, "Base",
         "La Base " + base->to_string() + " de " + std::string(codes.kind) +
             " debe ser mayor que cero.");
  }
  const std::string_view impuesto = attr(tax, "Impuesto");
  // A tax that cannot be used this way has no rate to judge either.
  if (has(tax, "Impuesto") &&
      !check_catalog_in(failures, std::string(codes.impuesto), node, "Impuesto",
                        context.tables.impuesto, "c_Impuesto", impuesto, day))
    return;
  const catalogs::Catalog& impuestos = catalogs::catalog(context.tables.impuesto);
  const auto row = impuestos.rows(impuesto);
  if (!row.empty() && impuestos.field(row.front(), withheld ? "retencion" : "traslado") != "1") {
    fail(failures, codes.impuesto, node, "Impuesto",
         "El Impuesto " + quoted(impuesto) + " no admite " + std::string(codes.kind) +
             " según el catálogo c_Impuesto.");
    return;
  }
  const std::string_view factor = attr(tax, "TipoFactor");
  if (has(tax, "TipoFactor") &&
      !check_catalog_in(failures, std::string(codes.tipo_factor), node, "TipoFactor",
                        context.tables.tipo_factor, "c_TipoFactor", factor, day))
    return;
  if (factor == "Exento") {
    if (withheld) {
      fail(failures, codes.exento, node, "TipoFactor",
           "Una retención no puede tener TipoFactor \"Exento\".");
    } else if (has(tax, "TasaOCuota") || has(tax, "Importe")) {
      fail(failures, codes.exento, node, has(tax, "TasaOCuota") ? "TasaOCuota" : "Importe",
           "Un traslado con TipoFactor \"Exento\" no debe llevar TasaOCuota ni Importe.");
    }
    return;
  }
  if (!withheld && (!has(tax, "TasaOCuota") || !has(tax, "Importe"))) {
    fail(failures, codes.incomplete, node, has(tax, "TasaOCuota") ? "Importe" : "TasaOCuota",
         "Un traslado con TipoFactor " + quoted(factor) + " debe llevar TasaOCuota e Importe.");
    return;
  }
  check_tax_rate_and_amount(tax, node, codes, withheld, context, failures);
}

// Cantidad × ValorUnitario = Importe within the rounding of each factor.
void check_product(const Element& line, const std::string& node, std::string_view code,
                   Failures& failures) {
  const auto cantidad = number(line, "Cantidad");
  const auto valor = number(line, "ValorUnitario");
  const auto importe = number(line, "Importe");
  if (!cantidad || !valor || !importe) return;
  const Bounds bounds = importe_bounds(*cantidad, *valor, importe->decimals());
  if (bounds.contains(*importe)) return;
  fail(failures, code, node, "Importe",
       "El Importe " + importe->to_string() + " no es igual a Cantidad " + cantidad->to_string() +
           " x ValorUnitario " + valor->to_string() + "; debe estar entre " +
           bounds.lower.to_string() + " y " + bounds.upper.to_string() + ".");
}

void check_clave_prod_serv(const Element& line, const std::string& node, std::string_view code,
                           Failures& failures) {
  static const std::regex kClave("[0-9]{8}");
  const std::string_view clave = attr(line, "ClaveProdServ");
  if (!has(line, "ClaveProdServ") || std::regex_match(clave.begin(), clave.end(), kClave)) return;
  fail(failures, code, node, "ClaveProdServ",
       "La ClaveProdServ " + quoted(clave) +
           " no es una clave de 8 dígitos (c_ClaveProdServ se verifica solo por su forma).");
}

void check_customs(const Element& line, const std::string& node, std::string_view valid_code,
                   std::string_view cce_code, const ConceptoContext& context, Failures& failures) {
  const auto entries = children(line, "cfdi:InformacionAduanera");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string entry_node =
        child_path(node, "cfdi:InformacionAduanera", entries.size() > 1 ? i + 1 : 0);
    if (context.has_comercio_exterior) {
      fail(failures, cce_code, entry_node, "NumeroPedimento",
           "Con el complemento de comercio exterior el NumeroPedimento no se registra en el "
           "concepto.");
      continue;
    }
    if (!has(*entries[i], "NumeroPedimento")) continue;
    const std::string_view numero = attr(*entries[i], "NumeroPedimento");
    if (const auto problem =
            pedimento_problem(numero, context.facts.day, context.tables.patente_aduanal)) {
      fail(failures, valid_code, entry_node, "NumeroPedimento",
           "El NumeroPedimento " + quoted(numero) + " no es válido: " + *problem + ".");
    }
  }
}

}  // namespace

void check_concepto_amounts(const Element& concepto, const std::string& node,
                            const ConceptoContext& context, Failures& failures) {
  const ConceptoCodes& codes = context.codes;
  const AmountFacts& facts = context.facts;
  check_clave_prod_serv(concepto, node, codes.clave_prod_serv, failures);
  if (has(concepto, "ClaveUnidad")) {
    check_catalog_in(failures, std::string(codes.clave_unidad), node, "ClaveUnidad",
                     context.tables.clave_unidad, "c_ClaveUnidad", attr(concepto, "ClaveUnidad"),
                     facts.day);
  }
  line_decimals(failures, codes.valor_decimals, concepto, node, "ValorUnitario");
  line_decimals(failures, codes.importe_decimals, concepto, node, "Importe");
  const auto valor = number(concepto, "ValorUnitario");
  const auto importe = number(concepto, "Importe");
  if (valor && carries_amounts(facts.tipo) && !is_positive(*valor)) {
    fail(failures, codes.valor, node, "ValorUnitario",
         "El ValorUnitario " + valor->to_string() +
             " debe ser mayor que cero en un comprobante de tipo " + std::string(facts.tipo) + ".");
  }
  check_product(concepto, node, codes.importe, failures);
  const auto descuento = number(concepto, "Descuento");
  if (!descuento || !importe) return;
  if (descuento->decimals() > importe->decimals()) {
    fail(failures, codes.descuento_decimals, node, "Descuento",
         "El Descuento " + descuento->to_string() + " tiene más decimales que el Importe " +
             importe->to_string() + " del concepto.");
  }
  if (*descuento > *importe || descuento->is_negative()) {
    fail(failures, codes.descuento, node, "Descuento",
         "El Descuento " + descuento->to_string() + " debe estar entre 0 y el Importe " +
             importe->to_string() + " del concepto.");
  }
}

void check_concepto_taxes(const Element& concepto, const std::string& node,
                          const ConceptoContext& context, Failures& failures) {
  const Element* impuestos = concepto.child("cfdi:Impuestos");
  if (impuestos == nullptr) return;
  const std::string impuestos_node = child_path(node, "cfdi:Impuestos");
  const Element* traslados = impuestos->child("cfdi:Traslados");
  const Element* retenciones = impuestos->child("cfdi:Retenciones");
  if (traslados == nullptr && retenciones == nullptr) {
    fail(failures, context.codes.impuestos_empty, impuestos_node, "",
         "El nodo Impuestos del concepto no tiene Traslados ni Retenciones.");
  }
  const auto each = [&](const Element* group, std::string_view group_name,
                        std::string_view item_name, const LineTaxCodes& codes, bool withheld) {
    if (group == nullptr) return;
    const auto items = children(*group, item_name);
    const std::string group_node = child_path(impuestos_node, group_name);
    for (std::size_t i = 0; i < items.size(); ++i) {
      check_tax(*items[i], child_path(group_node, item_name, items.size() > 1 ? i + 1 : 0), codes,
                withheld, context, failures);
    }
  };
  each(traslados, "cfdi:Traslados", "cfdi:Traslado", context.codes.traslado, false);
  each(retenciones, "cfdi:Retenciones", "cfdi:Retencion", context.codes.retencion, true);
}

void check_concepto_customs(const Element& concepto, const std::string& node,
                            const ConceptoContext& context, Failures& failures) {
  check_customs(concepto, node, context.codes.pedimento, context.codes.pedimento_with_cce, context,
                failures);
}

void check_concepto_partes(const Element& concepto, const std::string& node,
                           const ConceptoContext& context, Failures& failures) {
  const ConceptoCodes& codes = context.codes;
  const auto partes = children(concepto, "cfdi:Parte");
  for (std::size_t i = 0; i < partes.size(); ++i) {
    const Element& parte = *partes[i];
    const std::string parte_node = child_path(node, "cfdi:Parte", partes.size() > 1 ? i + 1 : 0);
    check_clave_prod_serv(parte, parte_node, codes.parte_clave, failures);
    line_decimals(failures, codes.parte_valor_decimals, parte, parte_node, "ValorUnitario");
    const auto valor = number(parte, "ValorUnitario");
    if (valor && !is_positive(*valor)) {
      fail(failures, codes.parte_valor, parte_node, "ValorUnitario",
           "El ValorUnitario " + valor->to_string() + " de la parte debe ser mayor que cero.");
    }
    line_decimals(failures, codes.parte_importe_decimals, parte, parte_node, "Importe");
    check_product(parte, parte_node, codes.parte_importe, failures);
    check_customs(parte, parte_node, codes.parte_pedimento, codes.parte_pedimento_with_cce, context,
                  failures);
  }
}

}  // namespace drovanexis::rules
