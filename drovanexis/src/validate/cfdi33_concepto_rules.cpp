// CFDI 3.3 matrix, the rules on each Concepto, its taxes, customs entries
// and parts:
//   CFDI33142 ClaveProdServ is an 8-digit key (pattern only: c_ClaveProdServ
//             is not in the library's data)
//   CFDI33145 ClaveUnidad in c_ClaveUnidad
//   CFDI33146 ValorUnitario has at most 6 decimals
//   CFDI33147 I, E, N: ValorUnitario > 0
//   CFDI33148 Importe has at most 6 decimals
//   CFDI33149 Importe within the bounds of Cantidad × ValorUnitario
//   CFDI33150 Descuento has no more decimals than the line's Importe
//   CFDI33151 Descuento ≤ Importe
//   CFDI33152 an Impuestos node carries Traslados or Retenciones
//   Transferred tax (Traslado):
//   CFDI33153 Base has at most 6 decimals      CFDI33154 Base > 0
//   CFDI33155 Impuesto in c_Impuesto, for transfer
//   CFDI33156 TipoFactor in c_TipoFactor
//   CFDI33157 Exento carries neither TasaOCuota nor Importe
//   CFDI33158 Tasa or Cuota carry both TasaOCuota and Importe
//   CFDI33159 TasaOCuota in c_TasaOCuota for its tax, factor and transfer
//   CFDI33160 Importe has at most 6 decimals
//   CFDI33161 Importe within the bounds of Base × TasaOCuota
//   Withheld tax (Retencion):
//   CFDI33162 Base has at most 6 decimals      CFDI33163 Base > 0
//   CFDI33164 Impuesto in c_Impuesto, for withholding
//   CFDI33165 TipoFactor in c_TipoFactor
//   CFDI33166 TipoFactor is not Exento
//   CFDI33167 TasaOCuota in c_TasaOCuota for its tax, factor and withholding
//   CFDI33168 Importe has at most 6 decimals
//   CFDI33169 Importe within the bounds of Base × TasaOCuota
//   Customs entries and parts:
//   CFDI33170 / CFDI33177 NumeroPedimento of the Concepto / Parte is a valid
//             entry number: "yy  aa  pppp  nnnnnnn", a year of the last ten,
//             the office in c_Aduana, the patent in c_PatenteAduanal, the
//             serial within c_NumPedimentoAduana
//   CFDI33171 / CFDI33178 no NumeroPedimento with Comercio Exterior
//   CFDI33172 Parte ClaveProdServ is an 8-digit key (pattern only)
//   CFDI33173 Parte ValorUnitario has at most 6 decimals
//   CFDI33174 Parte ValorUnitario > 0
//   CFDI33175 Parte Importe has at most 6 decimals
//   CFDI33176 Parte Importe within the bounds of Cantidad × ValorUnitario
// Concept-level amounts may carry up to 6 decimals (the SAT's filling guide
// relaxed the currency's decimals for them); totals keep the currency's.
// Not checked here, for want of the facts:
//   CFDI33143 the complement a ClaveProdServ calls for, and CFDI33144 the
//             IVA or IEPS transfer it calls for, are columns of
//             c_ClaveProdServ, which is not in the library's data
//   CFDI33196 the northern-border IVA stimulus needs the issuer's
//             registration for it (outside the document), the eligible keys
//             of c_ClaveProdServ and the border-zone postal codes of
//             c_CodigoPostal (neither in the data)
#include <regex>

#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

// Amounts of a line may carry up to six decimals.
constexpr int kLineDecimals = 6;
constexpr std::string_view kLineDecimalsWhy = "un importe de concepto";

// The codes that differ between a transferred and a withheld line tax.
struct TaxCodes {
  std::string_view kind;  // "traslado" / "retención", for messages
  std::string_view base_decimals;
  std::string_view base;
  std::string_view impuesto;
  std::string_view tipo_factor;
  std::string_view rate;
  std::string_view importe_decimals;
  std::string_view importe;
};
constexpr TaxCodes kTrasladoCodes{"traslado", "33153", "33154", "33155",
                                  "33156",    "33159", "33160", "33161"};
constexpr TaxCodes kRetencionCodes{"retención", "33162", "33163", "33164",
                                   "33165",     "33167", "33168", "33169"};

void fail(Failures& failures, std::string_view number, const std::string& node,
          std::string_view attribute, std::string explanation) {
  add(failures, "CFDI" + std::string(number), node, std::string(attribute), std::move(explanation));
}

void line_decimals(Failures& failures, std::string_view number, const Element& element,
                   const std::string& node, std::string_view attribute) {
  check_decimals(failures, "CFDI" + std::string(number), element, node, attribute, kLineDecimals,
                 kLineDecimalsWhy);
}

void check_tax_rate_and_amount(const Element& tax, const std::string& node, const TaxCodes& codes,
                               bool withheld, std::optional<int> day, Failures& failures) {
  const std::string_view factor = attr(tax, "TipoFactor");
  const auto base = number(tax, "Base");
  const auto rate = number(tax, "TasaOCuota");
  const auto importe = number(tax, "Importe");
  if (rate && !catalogs::tasa_o_cuota_allowed(attr(tax, "Impuesto"), factor, withheld,
                                              attr(tax, "TasaOCuota"), day)) {
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

void check_tax(const Element& tax, const std::string& node, const TaxCodes& codes, bool withheld,
               std::optional<int> day, Failures& failures) {
  line_decimals(failures, codes.base_decimals, tax, node, "Base");
  const auto base = number(tax, "Base");
  if (base && (base->is_zero() || base->is_negative())) {
    fail(failures, codes.base, node, "Base",
         "La Base " + base->to_string() + " de " + std::string(codes.kind) +
             " debe ser mayor que cero.");
  }
  const std::string_view impuesto = attr(tax, "Impuesto");
  // A tax that cannot be used this way has no rate to judge either.
  if (has(tax, "Impuesto") && !check_catalog(failures, "CFDI" + std::string(codes.impuesto), node,
                                             "Impuesto", "c_Impuesto", impuesto, day))
    return;
  const catalogs::Catalog& impuestos = catalogs::catalog("c_Impuesto");
  const auto row = impuestos.rows(impuesto);
  if (!row.empty() && impuestos.field(row.front(), withheld ? "retencion" : "traslado") != "1") {
    fail(failures, codes.impuesto, node, "Impuesto",
         "El Impuesto " + quoted(impuesto) + " no admite " + std::string(codes.kind) +
             " según el catálogo c_Impuesto.");
    return;
  }
  const std::string_view factor = attr(tax, "TipoFactor");
  if (has(tax, "TipoFactor") && !check_catalog(failures, "CFDI" + std::string(codes.tipo_factor),
                                               node, "TipoFactor", "c_TipoFactor", factor, day))
    return;
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
  check_tax_rate_and_amount(tax, node, codes, withheld, day, failures);
}

void check_taxes(const Element& concepto, const std::string& node, std::optional<int> day,
                 Failures& failures) {
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
                withheld, day, failures);
    }
  };
  each(traslados, "cfdi:Traslados", "cfdi:Traslado", kTrasladoCodes, false);
  each(retenciones, "cfdi:Retenciones", "cfdi:Retencion", kRetencionCodes, true);
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

void check_pedimento(const Element& info, const std::string& node, std::string_view code,
                     const DocumentFacts& facts, Failures& failures) {
  if (!has(info, "NumeroPedimento")) return;
  const std::string_view numero = attr(info, "NumeroPedimento");
  if (const auto problem = pedimento_problem(numero, facts.day)) {
    fail(failures, code, node, "NumeroPedimento",
         "El NumeroPedimento " + quoted(numero) + " no es válido: " + *problem + ".");
  }
}

void check_customs(const Element& line, const std::string& node, std::string_view valid_code,
                   std::string_view cce_code, const DocumentFacts& facts, Failures& failures) {
  const auto entries = children(line, "cfdi:InformacionAduanera");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string entry_node =
        child_path(node, "cfdi:InformacionAduanera", entries.size() > 1 ? i + 1 : 0);
    if (facts.has_comercio_exterior) {
      fail(failures, cce_code, entry_node, "NumeroPedimento",
           "Con el complemento de comercio exterior el NumeroPedimento no se registra en el "
           "concepto.");
      continue;
    }
    check_pedimento(*entries[i], entry_node, valid_code, facts, failures);
  }
}

void check_partes(const Element& concepto, const std::string& node, const DocumentFacts& facts,
                  Failures& failures) {
  const auto partes = children(concepto, "cfdi:Parte");
  for (std::size_t i = 0; i < partes.size(); ++i) {
    const Element& parte = *partes[i];
    const std::string parte_node = child_path(node, "cfdi:Parte", partes.size() > 1 ? i + 1 : 0);
    check_clave_prod_serv(parte, parte_node, "33172", failures);
    line_decimals(failures, "33173", parte, parte_node, "ValorUnitario");
    const auto valor = number(parte, "ValorUnitario");
    if (valor && (valor->is_zero() || valor->is_negative())) {
      fail(failures, "33174", parte_node, "ValorUnitario",
           "El ValorUnitario " + valor->to_string() + " de la parte debe ser mayor que cero.");
    }
    line_decimals(failures, "33175", parte, parte_node, "Importe");
    check_product(parte, parte_node, "33176", failures);
    check_customs(parte, parte_node, "33177", "33178", facts, failures);
  }
}

void check_amounts(const Element& concepto, const std::string& node, const DocumentFacts& facts,
                   Failures& failures) {
  check_clave_prod_serv(concepto, node, "33142", failures);
  if (has(concepto, "ClaveUnidad")) {
    check_catalog(failures, "CFDI33145", node, "ClaveUnidad", "c_ClaveUnidad",
                  attr(concepto, "ClaveUnidad"), facts.day);
  }
  line_decimals(failures, "33146", concepto, node, "ValorUnitario");
  line_decimals(failures, "33148", concepto, node, "Importe");
  const auto valor = number(concepto, "ValorUnitario");
  const auto importe = number(concepto, "Importe");
  if (valor && carries_amounts(facts.tipo) && (valor->is_zero() || valor->is_negative())) {
    fail(failures, "33147", node, "ValorUnitario",
         "El ValorUnitario " + valor->to_string() +
             " debe ser mayor que cero en un comprobante de tipo " + std::string(facts.tipo) + ".");
  }
  check_product(concepto, node, "33149", failures);
  const auto descuento = number(concepto, "Descuento");
  if (!descuento || !importe) return;
  if (descuento->decimals() > importe->decimals()) {
    fail(failures, "33150", node, "Descuento",
         "El Descuento " + descuento->to_string() + " tiene más decimales que el Importe " +
             importe->to_string() + " del concepto.");
  }
  if (*descuento > *importe || descuento->is_negative()) {
    fail(failures, "33151", node, "Descuento",
         "El Descuento " + descuento->to_string() + " debe estar entre 0 y el Importe " +
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
    check_taxes(*items[i], node, facts.day, failures);
    check_customs(*items[i], node, "33170", "33171", facts, failures);
    check_partes(*items[i], node, facts, failures);
  }
  return failures;
}

}  // namespace drovanexis::rules
