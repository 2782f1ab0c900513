#include "services/document_file.h"

#include <map>
#include <utility>

#include "crypto/base64.h"
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
  return document;
}

}  // namespace drovanexis::services
