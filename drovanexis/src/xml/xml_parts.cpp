#include "xml/xml_parts.h"

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "document/entry_building.h"
#include "document/namespaces.h"
#include "document/tree_building.h"
#include "xml/xml_reader.h"

namespace drovanexis {
namespace {

constexpr std::string_view kXmlnsPrefix = "xmlns:";

bool is_declaration(std::string_view name) {
  return name == "xmlns" || name.starts_with(kXmlnsPrefix);
}

std::string_view declared_prefix(std::string_view declaration) {
  return declaration == "xmlns" ? std::string_view{} : declaration.substr(kXmlnsPrefix.size());
}

std::string_view local_part(std::string_view name) {
  const auto colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The namespace declarations in force at one element, innermost last.
class Scope {
 public:
  void enter(const Element& element) {
    for (const auto& a : element.attributes()) {
      if (is_declaration(a.name)) bindings_.emplace_back(declared_prefix(a.name), a.value);
    }
  }
  void leave(std::size_t size) { bindings_.resize(size); }
  std::size_t size() const { return bindings_.size(); }

  // The URI of a prefix ("" the default namespace); nullopt when undeclared.
  std::optional<std::string> uri_of(std::string_view prefix) const {
    if (prefix == "xml") return std::string("http://www.w3.org/XML/1998/namespace");
    for (auto it = bindings_.rbegin(); it != bindings_.rend(); ++it) {
      if (it->first == prefix) return it->second;
    }
    if (prefix.empty()) return std::string();
    return std::nullopt;
  }

 private:
  std::vector<std::pair<std::string, std::string>> bindings_;
};

// Copies a complement, giving the SAT namespaces the prefixes the rest of the
// library matches on (the writer then declares them on the document's root)
// and keeping every other namespace as declared in the text.
class ComplementCopier {
 public:
  explicit ComplementCopier(const std::string& entry) : entry_(entry) {}

  Element copy_root(const Element& from) {
    const auto mark = scope_.size();
    scope_.enter(from);
    const std::string uri = uri_of(from.name());
    if (uri.empty()) {
      fail("el elemento raíz <" + from.name() +
           "> no pertenece a ningún espacio de nombres; un complemento debe tenerlo");
    }
    const KnownNamespace* known = namespace_by_uri(uri);
    if (known != nullptr && known->prefix == "tfd") {
      fail("<" + from.name() + "> es el timbre fiscal digital, que agrega el proveedor");
    }
    if (known != nullptr && known->place == ComplementPlace::kConcepto) {
      fail("<" + from.name() + "> es un complemento de concepto; va en cfdi:ComplementoConcepto");
    }
    Element copy = copy_element(from, uri);
    scope_.leave(mark);
    return copy;
  }

 private:
  [[noreturn]] void fail(const std::string& reason) const { throw XmlPartError(entry_, reason); }

  std::string uri_of(std::string_view qualified_name) const {
    const auto prefix = prefix_of(qualified_name);
    const auto uri = scope_.uri_of(prefix);
    if (!uri) {
      fail("el prefijo \"" + std::string(prefix) + "\" de <" + std::string(qualified_name) +
           "> no está declarado");
    }
    return *uri;
  }

  static std::string canonical_name(std::string_view qualified_name, const std::string& uri) {
    const KnownNamespace* known = namespace_by_uri(uri);
    if (known == nullptr || uri.empty()) return std::string(qualified_name);
    return std::string(known->prefix) + ":" + std::string(local_part(qualified_name));
  }

  // The declarations of the SAT namespaces are dropped: their elements now
  // carry the library's prefixes, which the writer declares.
  static bool keeps_declaration(const Attribute& attribute) {
    return namespace_by_uri(attribute.value) == nullptr;
  }

  Element copy_element(const Element& from, const std::string& uri) {
    if (namespace_by_uri(uri) != nullptr && namespace_by_uri(uri)->prefix == "cfdi") {
      fail("<" + from.name() + "> es un elemento del CFDI, no de un complemento");
    }
    Element to(canonical_name(from.name(), uri));
    for (const auto& a : from.attributes()) {
      if (is_declaration(a.name)) {
        if (keeps_declaration(a)) to.set_attribute(a.name, a.value);
        continue;
      }
      // Unprefixed attributes belong to no namespace.
      const bool prefixed = !prefix_of(a.name).empty();
      to.set_attribute(prefixed ? canonical_name(a.name, uri_of(a.name)) : a.name, a.value);
    }
    to.set_text(from.text());
    for (const auto& child : from.children()) {
      const auto mark = scope_.size();
      scope_.enter(*child);
      to.append_child(copy_element(*child, uri_of(child->name())));
      scope_.leave(mark);
    }
    return to;
  }

  const std::string& entry_;
  Scope scope_;
};

Element parse_part(const XmlPart& part) {
  try {
    return parse_xml(part.text);
  } catch (const XmlParseError& error) {
    const std::string where = error.line() > 0
                                  ? "línea " + std::to_string(error.line()) + ", columna " +
                                        std::to_string(error.column()) + ": "
                                  : std::string();
    throw XmlPartError(part.entry, "no es un XML bien formado (" + where + error.reason() + ")");
  }
}

// What one part puts in its node, once checked.
struct CheckedPart {
  const XmlPart* part;
  std::optional<Element> element;  // absent for plain text
};

CheckedPart check(const XmlPart& part) {
  switch (part.kind) {
    case XmlPart::Kind::kComplementXml:
      return {&part, ComplementCopier(part.entry).copy_root(parse_part(part))};
    case XmlPart::Kind::kAddendaXml: return {&part, parse_part(part)};
    case XmlPart::Kind::kAddendaText: return {&part, std::nullopt};
  }
  return {&part, std::nullopt};
}

}  // namespace

void place_xml_parts(std::span<const XmlPart> parts, Element& root) {
  std::vector<CheckedPart> checked;
  checked.reserve(parts.size());
  for (const XmlPart& part : parts) checked.push_back(check(part));

  for (CheckedPart& item : checked) {
    const Node node = resolve_entry_path(Node::root(root), item.part->path);
    if (!node) throw XmlPartError(item.part->entry, "no existe " + item.part->path);
    Element& target = node.element();
    if (item.part->kind != XmlPart::Kind::kComplementXml) target.clear_content();
    if (item.element) {
      target.append_child(std::move(*item.element));
    } else {
      target.set_text(item.part->text);
    }
  }
}

}  // namespace drovanexis
