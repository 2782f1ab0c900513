#include "validate/tax_summary_checks.h"

#include "validate/catalogs.h"

namespace drovanexis::rules {

void check_no_summary(Failures& failures, std::string_view code, const Element* impuestos,
                      const std::string& node, std::string_view tipo) {
  if (impuestos == nullptr) return;
  add(failures, std::string(code), node, "",
      "Un comprobante de tipo " + std::string(tipo) + " no debe llevar el nodo Impuestos.");
}

void check_summary_total(Failures& failures, std::string_view code, const Element& impuestos,
                         const std::string& node, std::string_view total_attribute,
                         std::string_view kind, const Decimal& summary_sum,
                         std::optional<int> currency_decimals) {
  const auto total = number(impuestos, total_attribute);
  if (!total || agrees_with_sum(*total, summary_sum, currency_decimals)) return;
  add(failures, std::string(code), node, std::string(total_attribute),
      "El " + std::string(total_attribute) + " " + total->to_string() +
          " no es igual a la suma de los " + std::string(kind) +
          " del resumen = " + shown(summary_sum, currency_decimals) + ".");
}

void check_summary_rate(Failures& failures, std::string_view code, const Element& item,
                        const std::string& node, std::optional<int> day, std::string_view table) {
  if (!has(item, "TasaOCuota") ||
      catalogs::tasa_o_cuota_allowed(attr(item, "Impuesto"), attr(item, "TipoFactor"), false,
                                     attr(item, "TasaOCuota"), day, table))
    return;
  add(failures, std::string(code), node, "TasaOCuota",
      "La TasaOCuota " + quoted(attr(item, "TasaOCuota")) +
          " del resumen de traslados no está en el catálogo c_TasaOCuota para el impuesto " +
          quoted(attr(item, "Impuesto")) + " con factor " + quoted(attr(item, "TipoFactor")) + ".");
}

}  // namespace drovanexis::rules
