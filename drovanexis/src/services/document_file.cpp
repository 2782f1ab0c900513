#include "services/document_file.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "crypto/base64.h"
#include "document/namespaces.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

namespace drovanexis::services {

namespace {

constexpr std::string_view kMagic = "DrovanexisDocumento 1";

void add(std::string& out, std::string_view name, std::string_view value) {
  out.append(name).append("=").append(base64_encode(value)).append("\n");
}

std::map<std::string, std::string> read_fields(std::string_view text) {
  std::map<std::string, std::string> fields;
  std::size_t start = 0;
  bool first = true;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (first) {
      if (line != kMagic) throw DocumentFileError("no es un archivo de documento de Drovanexis");
      first = false;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) throw DocumentFileError("línea dañada");
    auto value = base64_decode(line.substr(equals + 1));
    if (!value) throw DocumentFileError("valor dañado en " + std::string(line.substr(0, equals)));
    if (!fields.emplace(std::string(line.substr(0, equals)), std::move(*value)).second) {
      throw DocumentFileError("campo repetido: " + std::string(line.substr(0, equals)));
    }
  }
  if (first) throw DocumentFileError("el archivo está vacío");
  if (!fields.contains("end") || !fields.contains("tree")) {
    throw DocumentFileError("el archivo está incompleto");
  }
  return fields;
}

// The kinds of XmlPart by the names the file gives them.
constexpr std::pair<XmlPart::Kind, std::string_view> kPartKinds[] = {
    {XmlPart::Kind::kComplementXml, "complemento"},
    {XmlPart::Kind::kAddendaXml, "addenda"},
    {XmlPart::Kind::kAddendaText, "addenda_texto"},
};

std::string_view part_kind_name(XmlPart::Kind kind) {
  for (const auto& [known, name] : kPartKinds) {
    if (known == kind) return name;
  }
  return "";
}

XmlPart::Kind part_kind(const std::string& name) {
  for (const auto& [kind, known] : kPartKinds) {
    if (known == name) return kind;
  }
  throw DocumentFileError("clase de parte XML desconocida: " + name);
}

std::string part_field(std::size_t number, std::string_view what) {
  return "part." + std::to_string(number) + "." + std::string(what);
}

// The parts are numbered from 1 without gaps: reading stops at the first
// number without a kind.
std::vector<XmlPart> read_parts(std::map<std::string, std::string>& fields) {
  std::vector<XmlPart> parts;
  for (std::size_t number = 1;; ++number) {
    const auto kind = fields.find(part_field(number, "kind"));
    if (kind == fields.end()) return parts;
    parts.push_back({part_kind(kind->second), fields[part_field(number, "entry")],
                     fields[part_field(number, "path")], fields[part_field(number, "text")]});
  }
}

bool is_declaration(std::string_view attribute) {
  return attribute == "xmlns" || attribute.starts_with("xmlns:");
}

// A tree built through the entries carries no namespace declarations: the
// writer declares them, with their schema locations, on the root of what it
// writes, including those of complements placed later. Such a tree is
// marked in the file.
bool is_built_tree(const Element& root) {
  return std::none_of(root.attributes().begin(), root.attributes().end(),
                      [](const Attribute& a) { return is_declaration(a.name); });
}

// Takes off a built tree read back the declarations and schema locations its
// writing put on the root, so that it is written as built again. A root that
// declares anything but the library's own vocabularies is left as it is; the
// entries build CFDI 3.3, so those are the vocabularies of 3.3.
void restore_built_tree(Element& root) {
  std::vector<std::string> declarations;
  for (const Attribute& a : root.attributes()) {
    if (!is_declaration(a.name)) continue;
    const std::string_view prefix = std::string_view(a.name).substr(a.name.find(':') + 1);
    const KnownNamespace* known =
        a.name == "xmlns" ? nullptr : namespace_by_prefix(CfdiVersion::k33, prefix);
    if (known == nullptr || known->uri != a.value) return;
    declarations.push_back(a.name);
  }
  for (const std::string& name : declarations) root.remove_attribute(name);
  root.remove_attribute("xsi:schemaLocation");
}

}  // namespace

std::string document_file_text(const Document& document) {
  std::string out(kMagic);
  out += "\n";
  add(out, "user", document.service_user);
  add(out, "password", document.service_password);
  add(out, "second_user", document.second_user);
  add(out, "second_password", document.second_password);
  add(out, "log_file", document.log_file);
  for (int index = 1; index <= kResultValueCount; ++index) {
    add(out, "value." + std::to_string(index), document.values[static_cast<std::size_t>(index)]);
  }
  if (document.complete_xml) add(out, "complete_xml", *document.complete_xml);
  for (std::size_t index = 0; index < document.xml_parts.size(); ++index) {
    const XmlPart& part = document.xml_parts[index];
    add(out, part_field(index + 1, "kind"), part_kind_name(part.kind));
    add(out, part_field(index + 1, "entry"), part.entry);
    add(out, part_field(index + 1, "path"), part.path);
    add(out, part_field(index + 1, "text"), part.text);
  }
  if (is_built_tree(document.root)) add(out, "built", "1");
  add(out, "tree", write_xml(document.root));
  add(out, "end", "");
  return out;
}

Document document_from_file_text(std::string_view text) {
  auto fields = read_fields(text);
  Document document("3.3");
  try {
    document.root = parse_xml(fields["tree"]);
  } catch (const XmlParseError& error) {
    throw DocumentFileError(std::string("el árbol del documento está dañado: ") + error.what());
  }
  if (document.root.name() != "cfdi:Comprobante") {
    throw DocumentFileError("el árbol no es un cfdi:Comprobante");
  }
  if (fields.contains("built")) restore_built_tree(document.root);
  document.service_user = fields["user"];
  document.service_password = fields["password"];
  document.second_user = fields["second_user"];
  document.second_password = fields["second_password"];
  document.log_file = fields["log_file"];
  for (int index = 1; index <= kResultValueCount; ++index) {
    document.values[static_cast<std::size_t>(index)] = fields["value." + std::to_string(index)];
  }
  if (auto found = fields.find("complete_xml"); found != fields.end()) {
    document.complete_xml = std::move(found->second);
  }
  document.xml_parts = read_parts(fields);
  return document;
}

}  // namespace drovanexis::services
