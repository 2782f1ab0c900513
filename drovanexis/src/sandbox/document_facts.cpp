#include "sandbox/document_facts.h"

#include <algorithm>
#include <cctype>

#include "sandbox/uuid.h"
#include "xml/xml_reader.h"

namespace drovanexis::sandbox {

namespace {

// The substitution relation: the document replaces the one it relates.
constexpr std::string_view kReplacementRelation = "04";
// UNSPSC family of fuels (gas, petroleum and their distillates).
constexpr std::string_view kFuelClassPrefix = "1510";

bool contains_uuid(const std::vector<std::string>& list, std::string_view uuid) {
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& item) { return same_uuid(item, uuid); });
}

class FactCollector {
 public:
  explicit FactCollector(DocumentFacts& facts) : facts_(facts) {}

  void visit(const Element& element, bool in_replacement) {
    const std::string_view local = element.local_name();
    if (local == "TimbreFiscalDigital") return;  // its UUID is the document's own
    if (local == "CfdiRelacionados") {
      const std::string* type = element.attribute("TipoRelacion");
      in_replacement = type != nullptr && *type == kReplacementRelation;
    }
    if (local == "Receptor" && element.prefix() == "cfdi") {
      if (const std::string* regime = element.attribute("RegimenFiscalReceptor")) {
        facts_.receiver_regime = *regime;
      }
    }
    if (local == "Mercancia" && element.prefix().starts_with("cartaporte")) {
      const std::string* goods = element.attribute("BienesTransp");
      if (goods != nullptr && goods->starts_with(kFuelClassPrefix)) facts_.fuel_transfer = true;
    }
    for (const Attribute& attribute : element.attributes()) {
      if (!is_uuid_text(attribute.value)) continue;
      const bool replacement = in_replacement && local == "CfdiRelacionado";
      (replacement ? facts_.replaces : facts_.other_references).push_back(attribute.value);
    }
    for (const auto& child : element.children()) visit(*child, in_replacement);
  }

 private:
  DocumentFacts& facts_;
};

}  // namespace

bool DocumentFacts::replaces_uuid(std::string_view uuid) const {
  return contains_uuid(replaces, uuid);
}

bool DocumentFacts::references_uuid(std::string_view uuid) const {
  return contains_uuid(other_references, uuid);
}

DocumentFacts read_document_facts(std::string_view stamped_xml) {
  DocumentFacts facts;
  try {
    const Element root = parse_xml(stamped_xml);
    facts.readable = true;
    if (const std::string* moneda = root.attribute("Moneda")) facts.currency = *moneda;
    if (const std::string* rate = root.attribute("TipoCambio")) facts.exchange_rate = *rate;
    FactCollector(facts).visit(root, false);
  } catch (const XmlParseError&) {
    // Left unreadable: the caller decides what an unreadable record means.
  }
  return facts;
}

}  // namespace drovanexis::sandbox
