#include "validate/validation.h"

#include <exception>
#include <functional>

#include "validate/rule_groups.h"
#include "validate/schema_stage.h"

namespace drovanexis {

namespace {

using Group = std::function<rules::Failures(const Element&, const ValidationContext&)>;

template <rules::Failures (*Rules)(const Element&)>
rules::Failures without_context(const Element& comprobante, const ValidationContext&) {
  return Rules(comprobante);
}

// Runs one group; an amount too large to compute exactly ends that group
// with a failure instead of an exception.
void run_group(const Group& group, const Element& comprobante, const ValidationContext& context,
               std::vector<Failure>& failures) {
  try {
    auto found = group(comprobante, context);
    failures.insert(failures.end(), std::make_move_iterator(found.begin()),
                    std::make_move_iterator(found.end()));
  } catch (const std::exception& error) {
    failures.push_back({"301", std::string(rules::kComprobante), "",
                        std::string("No se pudo verificar el comprobante: ") + error.what() + "."});
  }
}

}  // namespace

std::vector<Failure> validate_document(const Element& document, const ValidationContext& context) {
  // Schema validity first; the rules then read values as the schema reads them.
  SchemaCheck schema = check_schema(document);
  std::vector<Failure> failures = std::move(schema.failures);
  const Element& comprobante = schema.view(document);
  run_group(without_context<rules::structure_rules>, comprobante, context, failures);
  // Without a CFDI 3.3 root no other rule has anything to judge.
  if (comprobante.name() != rules::kComprobante || rules::attr(comprobante, "Version") != "3.3")
    return failures;
  const Group groups[] = {
      rules::provider_rules,
      without_context<rules::cfdi33_comprobante_rules>,
      without_context<rules::cfdi33_concepto_rules>,
      without_context<rules::cfdi33_impuestos_rules>,
      without_context<rules::pagos10_rules>,
      without_context<rules::nomina12_rules>,
      without_context<rules::cartaporte_rules>,
      without_context<rules::cartaporte20_rules>,
      without_context<rules::cce11_rules>,
      without_context<rules::cce11_goods_rules>,
      without_context<rules::implocal_rules>,
  };
  for (const Group& group : groups) run_group(group, comprobante, context, failures);
  return failures;
}

}  // namespace drovanexis
