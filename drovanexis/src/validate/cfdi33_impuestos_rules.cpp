// CFDI 3.3 matrix, the document's tax summary (cfdi:Comprobante/cfdi:Impuestos):
//   CFDI33179 no Impuestos node for T or P
//   CFDI33180 TotalImpuestosRetenidos has no more decimals than the currency
//   CFDI33181 TotalImpuestosRetenidos = Σ Retencion Importe
//   CFDI33182 TotalImpuestosTrasladados has no more decimals than the currency
//   CFDI33183 TotalImpuestosTrasladados = Σ Traslado Importe (also: the lines
//             transfer taxes and the document has no Impuestos node)
//   CFDI33184 Retenciones require TotalImpuestosRetenidos
//   CFDI33185 Retencion Impuesto in c_Impuesto
//   CFDI33186 one Retencion per Impuesto
//   CFDI33188 Retencion Importe has no more decimals than the currency
//   CFDI33187 the lines withhold taxes and the document has no Impuestos node
//   CFDI33189 Retencion Importe = Σ of the lines' withholdings of that Impuesto
//             (also: a tax the lines withhold is missing from the summary)
//   CFDI33190 Traslados require TotalImpuestosTrasladados
//   CFDI33191 Traslado Impuesto in c_Impuesto
//   CFDI33192 one Traslado per Impuesto, TipoFactor and TasaOCuota
//   CFDI33193 Traslado TasaOCuota in c_TasaOCuota for its Impuesto and TipoFactor
//   CFDI33194 Traslado Importe has no more decimals than the currency
//   CFDI33195 Traslado Importe = Σ of the lines' transfers with the same
//             Impuesto, TipoFactor and TasaOCuota (also: a transfer of the
//             lines is missing from the summary)
#include <map>
#include <set>

#include "validate/rule_groups.h"
#include "validate/tax_summary_checks.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);
const std::string kImpuestosNode = child_path(kRoot, "cfdi:Impuestos");

void fail(Failures& failures, std::string_view number, const std::string& node,
          std::string_view attribute, std::string explanation) {
  add(failures, "CFDI" + std::string(number), node, std::string(attribute), std::move(explanation));
}

// The grouping of transferred taxes: Impuesto, TipoFactor and the rate at
// six decimals (so that "0.16" and "0.160000" are one group).
std::string transfer_key(const Element& tax) {
  const auto rate = number(tax, "TasaOCuota");
  return std::string(attr(tax, "Impuesto")) + " " + std::string(attr(tax, "TipoFactor")) + " " +
         (rate ? rate->round_to(6).to_string() : std::string(attr(tax, "TasaOCuota")));
}

struct LineSums {
  std::map<std::string, Decimal> withheld;     // by Impuesto
  std::map<std::string, Decimal> transferred;  // by transfer_key
};

void add_line_taxes(const Element& concepto, LineSums& sums) {
  const Element* retenciones = descendant(concepto, {"cfdi:Impuestos", "cfdi:Retenciones"});
  for (const Element* tax :
       retenciones ? children(*retenciones, "cfdi:Retencion") : std::vector<const Element*>{}) {
    if (const auto importe = number(*tax, "Importe")) {
      auto& sum = sums.withheld[std::string(attr(*tax, "Impuesto"))];
      sum = sum + *importe;
    }
  }
  const Element* traslados = descendant(concepto, {"cfdi:Impuestos", "cfdi:Traslados"});
  for (const Element* tax :
       traslados ? children(*traslados, "cfdi:Traslado") : std::vector<const Element*>{}) {
    const auto importe = number(*tax, "Importe");
    if (!importe || attr(*tax, "TipoFactor") == "Exento") continue;
    auto& sum = sums.transferred[transfer_key(*tax)];
    sum = sum + *importe;
  }
}

LineSums line_sums(const Element& comprobante) {
  LineSums sums;
  if (const Element* conceptos = comprobante.child("cfdi:Conceptos")) {
    for (const Element* concepto : children(*conceptos, "cfdi:Concepto"))
      add_line_taxes(*concepto, sums);
  }
  return sums;
}

void check_decimals(const Element& element, const std::string& node, std::string_view attribute,
                    std::string_view code, const DocumentFacts& facts, Failures& failures) {
  const auto value = number(element, attribute);
  if (!value || !facts.currency_decimals || value->decimals() <= *facts.currency_decimals) return;
  fail(failures, code, node, attribute,
       "El " + std::string(attribute) + " " + value->to_string() +
           " tiene más decimales de los que admite la "
           "moneda " +
           std::string(facts.moneda) + " (" + std::to_string(*facts.currency_decimals) + ").");
}

// The codes of one side of the summary: withheld or transferred.
struct SideCodes {
  std::string_view group;  // "cfdi:Retenciones"
  std::string_view item;   // "cfdi:Retencion"
  std::string_view total;  // "TotalImpuestosRetenidos"
  std::string_view kind;   // "retenciones"
  std::string_view total_decimals, total_sum, total_missing, impuesto, duplicate, decimals,
      line_sum, no_summary;
};
constexpr SideCodes kWithheld{"cfdi:Retenciones",
                              "cfdi:Retencion",
                              "TotalImpuestosRetenidos",
                              "retenciones",
                              "33180",
                              "33181",
                              "33184",
                              "33185",
                              "33186",
                              "33188",
                              "33189",
                              "33187"};
constexpr SideCodes kTransferred{"cfdi:Traslados", "cfdi:Traslado", "TotalImpuestosTrasladados",
                                 "traslados",      "33182",         "33183",
                                 "33190",          "33191",         "33192",
                                 "33194",          "33195",         "33183"};

class SideCheck {
 public:
  SideCheck(const SideCodes& codes, const DocumentFacts& facts,
            std::map<std::string, Decimal> line_sums, Failures& failures)
      : codes_(codes), facts_(facts), line_sums_(std::move(line_sums)), failures_(failures) {}

  void run(const Element* impuestos) {
    if (impuestos == nullptr) {
      if (!line_sums_.empty()) {
        fail(failures_, codes_.no_summary, kImpuestosNode, "",
             "Los conceptos registran " + std::string(codes_.kind) +
                 " y el comprobante no tiene el nodo Impuestos con su resumen.");
      }
      return;
    }
    const Element* group = impuestos ? impuestos->child(codes_.group) : nullptr;
    const auto items = group ? children(*group, codes_.item) : std::vector<const Element*>{};
    const std::string group_node = child_path(kImpuestosNode, codes_.group);
    Decimal summary_sum;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const std::string node = child_path(group_node, codes_.item, items.size() > 1 ? i + 1 : 0);
      check_item(*items[i], node);
      summary_sum = summary_sum + number(*items[i], "Importe").value_or(Decimal{});
    }
    report_lines_missing_from_summary();
    check_total(*impuestos, group != nullptr, summary_sum);
  }

 private:
  bool withheld() const { return codes_.item == "cfdi:Retencion"; }
  std::string key_of(const Element& item) const {
    return withheld() ? std::string(attr(item, "Impuesto")) : transfer_key(item);
  }

  void check_item(const Element& item, const std::string& node) {
    check_catalog(failures_, "CFDI" + std::string(codes_.impuesto), node, "Impuesto", "c_Impuesto",
                  attr(item, "Impuesto"), facts_.day);
    if (!withheld())
      check_summary_rate(failures_, "CFDI33193", item, node, facts_.day, "c_TasaOCuota");
    const std::string key = key_of(item);
    if (!seen_.insert(key).second) {
      fail(failures_, codes_.duplicate, node, "Impuesto",
           "Hay más de un registro de " + std::string(codes_.kind) + " para " + key + ".");
      return;
    }
    check_decimals(item, node, "Importe", codes_.decimals, facts_, failures_);
    const auto importe = number(item, "Importe");
    if (!importe) return;
    const Decimal lines = line_sums_.contains(key) ? line_sums_[key] : Decimal{};
    if (!agrees_with_sum(*importe, lines, facts_.currency_decimals)) {
      fail(failures_, codes_.line_sum, node, "Importe",
           "El Importe " + importe->to_string() + " de " + std::string(codes_.kind) + " de " + key +
               " no es igual a la suma de los conceptos = " +
               shown(lines, facts_.currency_decimals) + ".");
    }
  }

  void report_lines_missing_from_summary() {
    for (const auto& [key, sum] : line_sums_) {
      if (seen_.contains(key)) continue;
      fail(failures_, codes_.line_sum, kImpuestosNode, "",
           "Los conceptos registran " + std::string(codes_.kind) + " de " + key + " por " +
               shown(sum, facts_.currency_decimals) +
               " que no aparecen en el resumen de impuestos del comprobante.");
    }
  }

  void check_total(const Element& impuestos, bool group_present, const Decimal& summary_sum) {
    if (!has(impuestos, codes_.total)) {
      if (group_present) {
        fail(failures_, codes_.total_missing, kImpuestosNode, codes_.total,
             "Hay " + std::string(codes_.kind) + " en el resumen y falta el atributo " +
                 std::string(codes_.total) + ".");
      }
      return;
    }
    check_decimals(impuestos, kImpuestosNode, codes_.total, codes_.total_decimals, facts_,
                   failures_);
    check_summary_total(failures_, "CFDI" + std::string(codes_.total_sum), impuestos,
                        kImpuestosNode, codes_.total, codes_.kind, summary_sum,
                        facts_.currency_decimals);
  }

  const SideCodes& codes_;
  const DocumentFacts& facts_;
  std::map<std::string, Decimal> line_sums_;
  Failures& failures_;
  std::set<std::string> seen_;
};

}  // namespace

Failures cfdi33_impuestos_rules(const Element& comprobante) {
  Failures failures;
  const DocumentFacts facts = document_facts(comprobante);
  const Element* impuestos = comprobante.child("cfdi:Impuestos");
  if (is_transfer_or_payment(facts.tipo)) {
    check_no_summary(failures, "CFDI33179", impuestos, kImpuestosNode, facts.tipo);
    return failures;
  }
  LineSums sums = line_sums(comprobante);
  SideCheck(kWithheld, facts, std::move(sums.withheld), failures).run(impuestos);
  SideCheck(kTransferred, facts, std::move(sums.transferred), failures).run(impuestos);
  return failures;
}

}  // namespace drovanexis::rules
