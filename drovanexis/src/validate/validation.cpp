#include "validate/validation.h"

#include <exception>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>

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

// The rule groups of each version, in the order they run. The provider's
// own rejections (seal, certificate, date window) are the same for both; a
// document never meets a matrix rule of the other version.
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
  static const Group groups40[] = {
      without_context<rules::structure_rules>,
      rules::provider_rules,
      without_context<rules::cfdi40_comprobante_rules>,
      without_context<rules::cfdi40_parties_rules>,
      without_context<rules::cfdi40_concepto_rules>,
      without_context<rules::cfdi40_impuestos_rules>,
  };
  if (version == CfdiVersion::k40) return groups40;
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

// The rules of the 4.0 core are checked, not yet those of its complements:
// until they are, a 4.0 document is not known to be stampable.
bool checks_business_rules(CfdiVersion version) { return version == CfdiVersion::k33; }

std::vector<std::string> unchecked_complements(const Element& comprobante) {
  // The complements of a 4.0 document whose business rules no group checks.
  static const std::pair<std::string_view, std::string_view> kUnchecked40[] = {
      {"pago20:Pagos", "Pagos 2.0"},
      {"nomina12:Nomina", "Nómina 1.2"},
      {"cartaporte20:CartaPorte", "Carta Porte 2.0"},
      {"cartaporte30:CartaPorte", "Carta Porte 3.0"},
      {"cartaporte31:CartaPorte", "Carta Porte 3.1"},
      {"cce11:ComercioExterior", "Comercio Exterior 1.1"},
      {"cce20:ComercioExterior", "Comercio Exterior 2.0"},
      {"implocal:ImpuestosLocales", "Impuestos Locales"},
  };
  std::vector<std::string> names;
  if (version_of(comprobante) != CfdiVersion::k40) return names;
  for (const auto& [element, name] : kUnchecked40) {
    if (rules::complement(comprobante, element) != nullptr) names.emplace_back(name);
  }
  return names;
}

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
