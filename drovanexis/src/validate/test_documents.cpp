#include "validate/test_documents.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "validate/rule_groups.h"
#include "xml/xml_reader.h"

namespace drovanexis::testing_documents {

const std::filesystem::path kExamples = std::filesystem::path(CFDI_SAT_DIR) / "examples";

const char* const kExampleFiles[5] = {"cfdi33-ingreso.xml", "cfdi33-pagos10.xml",
                                      "cfdi33-nomina12.xml", "cfdi33-cartaporte10.xml",
                                      "cfdi33-cartaporte20.xml"};

Element load_example(const std::string& file) {
  std::ifstream in(kExamples / file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + (kExamples / file).string());
  std::ostringstream text;
  text << in.rdbuf();
  return parse_xml(text.str());
}

// The examples are already stamped; validation sees a document before its
// stamp, so the TimbreFiscalDigital (and a Complemento left empty) go.
void remove_stamp(Element& root) {
  Element* complemento = root.child("cfdi:Complemento");
  if (complemento == nullptr) return;
  if (const Element* timbre = complemento->child("tfd:TimbreFiscalDigital"))
    complemento->remove_child(*timbre);
  if (complemento->children().empty()) root.remove_child(*complemento);
}

// Facts of a sound processing: the issuer's own CSD from the authority,
// valid for a year around Fecha, a verified seal, stamped ten minutes later.
ValidationContext sound_context(const Element& root) {
  const auto fecha = parse_fecha(*root.attribute("Fecha"));
  if (!fecha) throw std::runtime_error("example without a Fecha");
  ValidationContext context;
  context.certificate.rfc = *root.child("cfdi:Emisor")->attribute("Rfc");
  context.certificate.is_csd = true;
  context.certificate.issued_by_authority = true;
  context.certificate.not_before = LocalDateTime{fecha->seconds - 365 * 86400};
  context.certificate.not_after = LocalDateTime{fecha->seconds + 365 * 86400};
  context.seal_verified = true;
  context.now = LocalDateTime{fecha->seconds + 600};
  return context;
}

// Finds an element by a path below the root in the form the failures use:
// "cfdi:Conceptos/cfdi:Concepto[2]/cfdi:Impuestos"; [n] picks the n-th of
// that name (1-based), no index the first.
Element& at(Element& root, std::string_view path) {
  Element* current = &root;
  while (!path.empty()) {
    const auto slash = path.find('/');
    std::string_view step = path.substr(0, slash);
    path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
    std::size_t wanted = 1;
    if (const auto bracket = step.find('['); bracket != std::string_view::npos) {
      wanted = std::stoul(std::string(step.substr(bracket + 1)));
      step = step.substr(0, bracket);
    }
    Element* found = nullptr;
    std::size_t seen = 0;
    for (const auto& child : current->children()) {
      if (child->name() == step && ++seen == wanted) found = child.get();
    }
    if (found == nullptr) throw std::runtime_error("no element " + std::string(step));
    current = found;
  }
  return *current;
}

std::string describe(const std::vector<Failure>& failures) {
  std::string text;
  for (const Failure& f : failures) {
    text += "  " + f.code + " " + f.node + " @" + f.attribute + ": " + f.explanation + "\n";
  }
  return text;
}

std::set<std::string> codes_of(const std::vector<Failure>& failures) {
  std::set<std::string> codes;
  for (const Failure& f : failures) codes.insert(f.code);
  return codes;
}

void set(Element& root, std::string_view path, std::string_view attribute, std::string value) {
  at(root, path).set_attribute(attribute, std::move(value));
}

std::vector<Failure> rule_groups_only(const Element& root, const ValidationContext& context) {
  std::vector<Failure> all = rules::provider_rules(root, context);
  for (const auto group :
       {rules::cfdi33_comprobante_rules, rules::cfdi33_concepto_rules,
        rules::cfdi33_impuestos_rules, rules::pagos10_rules, rules::nomina12_rules,
        rules::cartaporte_rules, rules::cartaporte20_rules, rules::cce11_rules,
        rules::cce11_goods_rules, rules::implocal_rules}) {
    auto found = group(root);
    all.insert(all.end(), found.begin(), found.end());
  }
  return all;
}

}  // namespace drovanexis::testing_documents
