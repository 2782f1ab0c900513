#include "validate/validation.h"

#include <exception>
#include <functional>
#include <optional>
#include <span>

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

using Groups = std::span<const Group>;

// The rule groups of each version, in the order they run. CFDI 4.0 has none
// yet: its documents are judged by the 4.0 schemas alone, and never by a
// rule written for 3.3.
Groups rule_groups(CfdiVersion version) {
  static const Group groups33[] = {
      without_context<rules::structure_rules>,
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
  if (version == CfdiVersion::k40) return {};
  return groups33;
}

std::optional<CfdiVersion> version_of(const Element& comprobante) {
  try {
    return cfdi_version(comprobante);
  } catch (const CfdiVersionError&) {
    return std::nullopt;  // the schema stage has said why
  }
}

}  // namespace

bool checks_business_rules(CfdiVersion version) { return !rule_groups(version).empty(); }

std::vector<Failure> validate_document(const Element& document, const ValidationContext& context) {
  // Schema validity first; the rules then read values as the schema reads them.
  SchemaCheck schema = check_schema(document);
  std::vector<Failure> failures = std::move(schema.failures);
  const Element& comprobante = schema.view(document);
  const auto version = version_of(comprobante);
  if (!version) {
    // Without a CFDI of a known version no rule but the structural one has
    // anything to judge.
    run_group(without_context<rules::structure_rules>, comprobante, context, failures);
    return failures;
  }
  for (const Group& group : rule_groups(*version)) {
    run_group(group, comprobante, context, failures);
  }
  return failures;
}

}  // namespace drovanexis
