// CFDI 4.0 matrix, the document's tax summary (cfdi:Comprobante/cfdi:Impuestos):
//   CFDI40201 no Impuestos node for T or P
//   CFDI40202 TotalImpuestosRetenidos has no more decimals than the currency
//   CFDI40203 TotalImpuestosRetenidos = Σ Retencion Importe
//   CFDI40204 TotalImpuestosTrasladados has no more decimals than the currency
//   CFDI40205 TotalImpuestosTrasladados = Σ Traslado Importe
//   CFDI40206 Retenciones exactly when TotalImpuestosRetenidos is present
//             (CFDI40209, "a Retencion only with the total", is the same
//             fact and is reported once, as this code)
//   CFDI40207 Retencion Impuesto in c_Impuesto
//   CFDI40208 one Retencion per Impuesto
//   CFDI40210 Retencion Importe has no more decimals than the currency
//   CFDI40211 Retencion Importe = Σ of the lines' withholdings of that
//             Impuesto (also: a tax the lines withhold is missing here)
//   CFDI40212 TotalImpuestosTrasladados present when a line transfers a tax
//             that is not Exento
//   CFDI40213 an Exento Traslado has only Base, Impuesto and TipoFactor
//   CFDI40214 Traslado Base has no more decimals than the currency
//   CFDI40216 Traslado Base = Σ of the lines' transfer Base with the same
//             Impuesto, TipoFactor and TasaOCuota. Most validators group the
//             bases so; CFDI40215 states the same sum in another wording and
//             is reported once, as this code
//   CFDI40217 Traslado Impuesto in c_Impuesto
//   CFDI40218 one Traslado per Impuesto, TipoFactor and TasaOCuota
//   CFDI40219 Traslado TasaOCuota in c_TasaOCuota for its Impuesto and TipoFactor
//   CFDI40220 Traslado Importe has no more decimals than the currency
//   CFDI40221 Traslado Importe = Σ of the lines' transfers of the same group
//             (also: a transfer of the lines is missing here)
#include <map>
#include <set>

#include "validate/cfdi40_support.h"
#include "validate/rule_groups.h"
#include "validate/tax_summary_checks.h"

namespace drovanexis::rules {

namespace {

using cfdi40::Facts;
using cfdi40::fail;

const std::string kImpuestosNode = child_path(kComprobante, "cfdi:Impuestos");

// The grouping of transferred taxes: Impuesto, TipoFactor and the rate at
// six decimals (so that "0.16" and "0.160000" are one group); an exempt
// transfer has no rate, and one written with a rate still joins its group.
std::string transfer_key(const Element& tax) {
  const auto rate = number(tax, "TasaOCuota");
  std::string key = std::string(attr(tax, "Impuesto")) + " " + std::string(attr(tax, "TipoFactor"));
  if (has(tax, "TasaOCuota") && attr(tax, "TipoFactor") != "Exento")
    key += " " + (rate ? rate->round_to(6).to_string() : std::string(attr(tax, "TasaOCuota")));
  return key;
}

struct Sum {
  Decimal base;
  Decimal importe;
};

struct LineSums {
  std::map<std::string, Sum> withheld;     // by Impuesto
  std::map<std::string, Sum> transferred;  // by transfer_key
  bool transfers_not_exempt = false;
};

std::vector<const Element*> line_taxes(const Element& concepto, std::string_view group,
                                       std::string_view item) {
  const Element* parent = descendant(concepto, {"cfdi:Impuestos", group});
  return parent ? children(*parent, item) : std::vector<const Element*>{};
}

LineSums line_sums(const Element& comprobante) {
  LineSums sums;
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  if (conceptos == nullptr) return sums;
  for (const Element* concepto : children(*conceptos, "cfdi:Concepto")) {
    for (const Element* tax : line_taxes(*concepto, "cfdi:Retenciones", "cfdi:Retencion")) {
      Sum& sum = sums.withheld[std::string(attr(*tax, "Impuesto"))];
      sum.importe = sum.importe + number(*tax, "Importe").value_or(Decimal{});
    }
    for (const Element* tax : line_taxes(*concepto, "cfdi:Traslados", "cfdi:Traslado")) {
      if (attr(*tax, "TipoFactor") != "Exento") sums.transfers_not_exempt = true;
      Sum& sum = sums.transferred[transfer_key(*tax)];
      sum.base = sum.base + number(*tax, "Base").value_or(Decimal{});
      sum.importe = sum.importe + number(*tax, "Importe").value_or(Decimal{});
    }
  }
  return sums;
}

void currency_decimals(const Element& element, const std::string& node, std::string_view attribute,
                       std::string_view code, const Facts& facts, Failures& failures) {
  check_decimals(failures, "CFDI40" + std::string(code), element, node, attribute,
                 facts.currency_decimals, "la moneda " + std::string(facts.moneda));
}

// The codes of one side of the summary: withheld or transferred.
struct SideCodes {
  std::string_view group;  // "cfdi:Retenciones"
  std::string_view item;   // "cfdi:Retencion"
  std::string_view total;  // "TotalImpuestosRetenidos"
  std::string_view kind;   // "retenciones"
  std::string_view total_decimals, total_sum, impuesto, duplicate, decimals, line_sum;
};
constexpr SideCodes kWithheld{"cfdi:Retenciones",
                              "cfdi:Retencion",
                              "TotalImpuestosRetenidos",
                              "retenciones",
                              "202",
                              "203",
                              "207",
                              "208",
                              "210",
                              "211"};
constexpr SideCodes kTransferred{"cfdi:Traslados",
                                 "cfdi:Traslado",
                                 "TotalImpuestosTrasladados",
                                 "traslados",
                                 "204",
                                 "205",
                                 "217",
                                 "218",
                                 "220",
                                 "221"};

class SideCheck {
 public:
  SideCheck(const SideCodes& codes, const Facts& facts, std::map<std::string, Sum> line_sums,
            Failures& failures)
      : codes_(codes), facts_(facts), line_sums_(std::move(line_sums)), failures_(failures) {}

  void run(const Element* impuestos) {
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
    if (impuestos != nullptr) check_total(*impuestos, group != nullptr, summary_sum);
  }

 private:
  bool withheld() const { return codes_.item == "cfdi:Retencion"; }
  std::string key_of(const Element& item) const {
    return withheld() ? std::string(attr(item, "Impuesto")) : transfer_key(item);
  }

  void check_rate_and_exemption(const Element& item, const std::string& node) {
    if (attr(item, "TipoFactor") == "Exento") {
      if (has(item, "TasaOCuota") || has(item, "Importe")) {
        fail(failures_, "213", node, has(item, "TasaOCuota") ? "TasaOCuota" : "Importe",
             "Un traslado exento del resumen lleva solo Base, Impuesto y TipoFactor.");
      }
      return;
    }
    check_summary_rate(failures_, "CFDI40219", item, node, facts_.day,
                       cfdi40::catalogue("c_TasaOCuota"));
  }

  void compare(const std::string& node, std::string_view attribute, std::string_view code,
               const Decimal& stated, const Decimal& lines, const std::string& key) {
    if (agrees_with_sum(stated, lines, facts_.currency_decimals)) return;
    fail(failures_, code, node, attribute,
         "El " + std::string(attribute) + " " + stated.to_string() + " de " +
             std::string(codes_.kind) + " de " + key +
             " no es igual a la suma de los conceptos = " + shown(lines, facts_.currency_decimals) +
             ".");
  }

  void check_item(const Element& item, const std::string& node) {
    // A tax outside the catalogue has no rate to judge.
    if (cfdi40::check_catalog40(failures_, codes_.impuesto, node, "Impuesto", "c_Impuesto",
                                attr(item, "Impuesto"), facts_.day) &&
        !withheld())
      check_rate_and_exemption(item, node);
    const std::string key = key_of(item);
    if (!seen_.insert(key).second) {
      fail(failures_, codes_.duplicate, node, "Impuesto",
           "Hay más de un registro de " + std::string(codes_.kind) + " para " + key + ".");
      return;
    }
    const Sum lines = line_sums_.contains(key) ? line_sums_[key] : Sum{};
    if (!withheld()) {
      currency_decimals(item, node, "Base", "214", facts_, failures_);
      if (const auto base = number(item, "Base"))
        compare(node, "Base", "216", *base, lines.base, key);
    }
    currency_decimals(item, node, "Importe", codes_.decimals, facts_, failures_);
    if (const auto importe = number(item, "Importe"))
      compare(node, "Importe", codes_.line_sum, *importe, lines.importe, key);
  }

  void report_lines_missing_from_summary() {
    for (const auto& [key, sum] : line_sums_) {
      if (seen_.contains(key)) continue;
      fail(failures_, codes_.line_sum, kImpuestosNode, "",
           "Los conceptos registran " + std::string(codes_.kind) + " de " + key +
               " que no aparecen en el resumen de impuestos del comprobante.");
    }
  }

  void check_total(const Element& impuestos, bool group_present, const Decimal& summary_sum) {
    if (!has(impuestos, codes_.total)) {
      if (group_present && withheld()) {
        fail(failures_, "206", kImpuestosNode, codes_.total,
             "Hay retenciones en el resumen y falta el atributo TotalImpuestosRetenidos.");
      }
      return;
    }
    if (!group_present && withheld()) {
      fail(failures_, "206", kImpuestosNode, codes_.total,
           "El resumen lleva TotalImpuestosRetenidos y no tiene Retenciones.");
    }
    currency_decimals(impuestos, kImpuestosNode, codes_.total, codes_.total_decimals, facts_,
                      failures_);
    check_summary_total(failures_, "CFDI40" + std::string(codes_.total_sum), impuestos,
                        kImpuestosNode, codes_.total, codes_.kind, summary_sum,
                        facts_.currency_decimals);
  }

  const SideCodes& codes_;
  const Facts& facts_;
  std::map<std::string, Sum> line_sums_;
  Failures& failures_;
  std::set<std::string> seen_;
};

}  // namespace

Failures cfdi40_impuestos_rules(const Element& comprobante) {
  Failures failures;
  const Facts facts = cfdi40::facts_of(comprobante);
  const Element* impuestos = comprobante.child("cfdi:Impuestos");
  if (is_transfer_or_payment(facts.tipo)) {
    check_no_summary(failures, "CFDI40201", impuestos, kImpuestosNode, facts.tipo);
    return failures;
  }
  LineSums sums = line_sums(comprobante);
  if (sums.transfers_not_exempt &&
      (impuestos == nullptr || !has(*impuestos, "TotalImpuestosTrasladados"))) {
    fail(failures, "212", kImpuestosNode, "TotalImpuestosTrasladados",
         "Los conceptos trasladan impuestos no exentos y el comprobante no lleva "
         "TotalImpuestosTrasladados.");
  }
  SideCheck(kWithheld, facts, std::move(sums.withheld), failures).run(impuestos);
  SideCheck(kTransferred, facts, std::move(sums.transferred), failures).run(impuestos);
  return failures;
}

}  // namespace drovanexis::rules
