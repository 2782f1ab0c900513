// Provider code 301 for what the schema stage cannot judge: the currencies of
// the payment complement, whose schema type only fixes the shape of the code
// ([A-Z]{3}), are checked against the c_Moneda catalogue the library carries.
// Everything else that 301 covers (order, cardinality, attributes, lengths,
// patterns, enumerations, digits, fixed values) is the schema stage's.
#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

constexpr std::string_view kCode = "301";

void check_currency(const Element& element, std::string_view attribute, const std::string& path,
                    Failures& failures) {
  const std::string* value = element.attribute(attribute);
  if (value == nullptr || catalogs::moneda_decimals(*value)) return;
  add(failures, std::string(kCode), path, std::string(attribute),
      "El atributo " + std::string(attribute) + " tiene el valor " + quoted(*value) +
          " y debe ser una clave del catálogo c_Moneda.");
}

}  // namespace

Failures structure_rules(const Element& comprobante) {
  Failures failures;
  const Element* complemento = comprobante.child("cfdi:Complemento");
  if (complemento == nullptr) return failures;
  const std::string complemento_path = child_path(kComprobante, "cfdi:Complemento");
  for (const Element* pagos : children(*complemento, "pago10:Pagos")) {
    const std::string pagos_path = child_path(complemento_path, "pago10:Pagos");
    const auto pagos_list = children(*pagos, "pago10:Pago");
    for (std::size_t i = 0; i < pagos_list.size(); ++i) {
      const std::string pago_path =
          child_path(pagos_path, "pago10:Pago", pagos_list.size() > 1 ? i + 1 : 0);
      check_currency(*pagos_list[i], "MonedaP", pago_path, failures);
      const auto documentos = children(*pagos_list[i], "pago10:DoctoRelacionado");
      for (std::size_t j = 0; j < documentos.size(); ++j) {
        check_currency(
            *documentos[j], "MonedaDR",
            child_path(pago_path, "pago10:DoctoRelacionado", documentos.size() > 1 ? j + 1 : 0),
            failures);
      }
    }
  }
  return failures;
}

}  // namespace drovanexis::rules
