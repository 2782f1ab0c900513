#include "xml/xml_writer.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "document/namespaces.h"
#include "document/output_rules.h"

namespace drovanexis {
namespace {

bool is_declaration(std::string_view attribute) {
  return attribute == "xmlns" || attribute.starts_with("xmlns:");
}

void append_escaped(std::string& out, std::string_view value, bool in_attribute) {
  for (const char c : value) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += in_attribute ? "&quot;" : "\""; break;
      case '\t': out += in_attribute ? "&#9;" : "\t"; break;
      case '\n': out += in_attribute ? "&#10;" : "\n"; break;
      case '\r': out += "&#13;"; break;
      default: out += c;
    }
  }
}

void append_attribute(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  append_escaped(out, value, true);
  out += '"';
}

class Writer {
 public:
  // A built tree is a CFDI root without declarations. A tree read from a
  // text whose root is in a namespace always carries that declaration (the
  // reader refuses undeclared prefixes), and one whose root is in none is
  // written as read, without the CFDI's declarations or omissions.
  explicit Writer(const Element& root)
      : root_(root),
        built_(!root.prefix().empty() && !carries_declarations(root)),
        version_(version_of(root)) {}

  std::string write() {
    out_.reserve(4096);
    out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    write_element(root_, 0, true);
    out_ += '\n';
    return std::move(out_);
  }

 private:
  // The version whose namespaces the writer declares where the tree lacks
  // them. A root that is not a CFDI of a known version is written with 3.3's,
  // the vocabulary of the trees the entries build.
  static CfdiVersion version_of(const Element& root) {
    try {
      return cfdi_version(root);
    } catch (const CfdiVersionError&) {
      return CfdiVersion::k33;
    }
  }

  // The namespace a canonical prefix stands for: the document version's, or
  // else the other version's (a complement of the other version placed in
  // the tree is still declared, so that what is written is well-formed and
  // the schema stage, not the parser, says it does not belong).
  const KnownNamespace* known(std::string_view prefix) const {
    if (const KnownNamespace* found = namespace_by_prefix(version_, prefix)) return found;
    const auto other = version_ == CfdiVersion::k40 ? CfdiVersion::k33 : CfdiVersion::k40;
    return namespace_by_prefix(other, prefix);
  }

  static bool carries_declarations(const Element& root) {
    return std::any_of(root.attributes().begin(), root.attributes().end(),
                       [](const Attribute& a) { return is_declaration(a.name); });
  }

  bool declared(std::string_view prefix) const {
    return prefix.empty() || prefix == "xml" ||
           std::find(in_scope_.begin(), in_scope_.end(), prefix) != in_scope_.end();
  }

  // The complements of a built tree, in the order they first occur.
  void collect_complement_prefixes(const Element& element, std::vector<std::string_view>& found) {
    const auto prefix = prefix_of(element.name());
    if (prefix != "cfdi" && prefix != "tfd" && known(prefix) != nullptr &&
        std::find(found.begin(), found.end(), prefix) == found.end()) {
      found.push_back(prefix);
    }
    for (const auto& child : element.children()) collect_complement_prefixes(*child, found);
  }

  void declare(std::string_view prefix, std::string_view uri) {
    append_attribute(out_, "xmlns:" + std::string(prefix), uri);
    in_scope_.push_back(prefix);
  }

  // Root of a built tree: cfdi, the complements present, xsi, and the schema
  // locations of cfdi and those complements.
  void declare_built_root(const Element& root) {
    std::vector<std::string_view> prefixes{prefix_of(root.name())};
    collect_complement_prefixes(root, prefixes);
    std::string locations;
    for (const auto prefix : prefixes) {
      const KnownNamespace* found = known(prefix);
      if (found == nullptr) continue;
      declare(found->prefix, found->uri);
      if (!locations.empty()) locations += ' ';
      locations.append(found->uri).append(1, ' ').append(found->schema_location);
    }
    declare("xsi", known("xsi")->uri);
    if (!locations.empty()) append_attribute(out_, "xsi:schemaLocation", locations);
  }

  // Declares, on this element, the known prefixes it uses that no enclosing
  // element declared. A stamp whose namespace is declared here also gets its
  // schema location, as stamping services write it.
  void declare_missing(const Element& element) {
    std::vector<std::string_view> used{prefix_of(element.name())};
    for (const auto& a : element.attributes()) {
      if (!is_declaration(a.name)) used.push_back(prefix_of(a.name));
    }
    bool stamp_declared = false;
    for (const auto prefix : used) {
      if (declared(prefix)) continue;
      const KnownNamespace* found = known(prefix);
      if (found == nullptr) continue;
      declare(found->prefix, found->uri);
      stamp_declared = stamp_declared || found->prefix == "tfd";
    }
    if (stamp_declared && element.attribute("xsi:schemaLocation") == nullptr) {
      if (!declared("xsi")) declare("xsi", known("xsi")->uri);
      const KnownNamespace* tfd = known("tfd");
      append_attribute(out_, "xsi:schemaLocation",
                       std::string(tfd->uri) + " " + std::string(tfd->schema_location));
    }
  }

  bool left_out(const Element& element, const Attribute& attribute, bool is_root) const {
    if (built_ && attribute.value.empty()) return true;
    return is_root && attribute.name == "Descuento" && descuento_carries_no_value(element);
  }

  // The declarations an element read from a text carries itself.
  void enter_own_declarations(const Element& element) {
    for (const auto& a : element.attributes()) {
      if (!is_declaration(a.name)) continue;
      const auto colon = a.name.find(':');
      in_scope_.push_back(colon == std::string::npos ? std::string_view{}
                                                     : std::string_view(a.name).substr(colon + 1));
    }
  }

  void write_attributes(const Element& element, bool is_root) {
    for (const auto& a : element.attributes()) {
      if (!left_out(element, a, is_root)) append_attribute(out_, a.name, a.value);
    }
  }

  void indent(int depth) { out_.append(static_cast<std::size_t>(depth) * 2, ' '); }

  void write_element(const Element& element, int depth, bool pretty) {
    const auto scope_size = in_scope_.size();
    if (pretty) indent(depth);
    out_ += '<';
    out_ += element.name();
    if (built_ && depth == 0) declare_built_root(element);
    enter_own_declarations(element);
    declare_missing(element);
    write_attributes(element, depth == 0);
    if (element.children().empty() && element.text().empty()) {
      out_ += "/>";
    } else {
      out_ += '>';
      // Character content is kept exactly: no indentation is added inside.
      const bool pretty_children = pretty && element.text().empty();
      append_escaped(out_, element.text(), false);
      for (const auto& child : element.children()) {
        if (pretty_children) out_ += '\n';
        write_element(*child, depth + 1, pretty_children);
      }
      if (pretty_children) {
        out_ += '\n';
        indent(depth);
      }
      out_ += "</";
      out_ += element.name();
      out_ += '>';
    }
    in_scope_.resize(scope_size);
  }

  const Element& root_;
  const bool built_;
  const CfdiVersion version_;
  std::string out_;
  std::vector<std::string_view> in_scope_;
};

}  // namespace

std::string write_xml(const Element& root) { return Writer(root).write(); }

}  // namespace drovanexis
