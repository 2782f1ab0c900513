#include "sandbox/document_facts.h"

#include <algorithm>
#include <cctype>

#include "xml/xml_reader.h"

namespace drovanexis::sandbox {

namespace {

// The substitution relation: the document replaces the one it relates.
constexpr std::string_view kReplacementRelation = "04";
// UNSPSC family of fuels (gas, petroleum and their distillates).
constexpr std::string_view kFuelClassPrefix = "1510";

bool same_uuid(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

bool contains_uuid(const std::vector<std::string>& list, std::string_view uuid) {
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& item) { return same_uuid(item, uuid); });
}

// 8-4-4-4-12 hexadecimal digits.
bool looks_like_uuid(std::string_view text) {
  if (text.size() != 36) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dash_place = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash_place ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) {
      return false;
    }
  }
  return true;
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
      if (!looks_like_uuid(attribute.value)) continue;
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
