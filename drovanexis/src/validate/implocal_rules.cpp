// Complemento de impuestos locales 1.0 (implocal:ImpuestosLocales). The SAT
// published no error matrix for it. Its amounts enter the Comprobante's Total
// (CFDI33118, in cfdi33_comprobante_rules.cpp) and never the cfdi:Impuestos
// summary. This library's codes:
//   SBX-IL01 TotaldeTraslados = Σ TrasladosLocales Importe
//   SBX-IL02 TotaldeRetenciones = Σ RetencionesLocales Importe
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

void check_total(const Element& locales, const std::string& node, std::string_view total,
                 std::string_view item, const char* code, Failures& failures) {
  Decimal sum;
  for (const Element* tax : children(locales, item))
    sum = sum + number(*tax, "Importe").value_or(Decimal{});
  const auto stated = number(locales, total);
  if (!stated || *stated == sum) return;
  add(failures, code, node, std::string(total),
      "El " + std::string(total) + " " + stated->to_string() + " no es igual a la suma de los " +
          "Importe de " + std::string(item.substr(item.find(':') + 1)) + " = " + shown(sum, 2) +
          ".");
}

}  // namespace

Failures implocal_rules(const Element& comprobante) {
  Failures failures;
  const Element* complemento = comprobante.child("cfdi:Complemento");
  if (complemento == nullptr) return failures;
  const auto all = children(*complemento, "implocal:ImpuestosLocales");
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string node = child_path(child_path(kComprobante, "cfdi:Complemento"),
                                        "implocal:ImpuestosLocales", all.size() > 1 ? i + 1 : 0);
    check_total(*all[i], node, "TotaldeTraslados", "implocal:TrasladosLocales", "SBX-IL01",
                failures);
    check_total(*all[i], node, "TotaldeRetenciones", "implocal:RetencionesLocales", "SBX-IL02",
                failures);
  }
  return failures;
}

}  // namespace drovanexis::rules
