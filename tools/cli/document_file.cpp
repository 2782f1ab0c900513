#include "tools/cli/document_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "xml/xml_reader.h"

namespace cli {

std::string read_whole_file(const std::filesystem::path& file) {
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec)) {
    throw UnreadableFile(file.string() + ": is a folder, not a file");
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    throw UnreadableFile(file.string() + ": cannot open: " + std::strerror(errno));
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw UnreadableFile(file.string() + ": read failed");
  return std::move(bytes).str();
}

drovanexis::Element read_xml_file(const std::filesystem::path& file) {
  return drovanexis::parse_xml(read_whole_file(file));
}

const drovanexis::Element* find_stamp(const drovanexis::Element& comprobante) {
  const drovanexis::Element* complemento = comprobante.child("cfdi:Complemento");
  return complemento ? complemento->child("tfd:TimbreFiscalDigital") : nullptr;
}

std::string describe_parse_error(const std::filesystem::path& file, const std::exception& error) {
  if (const auto* parse = dynamic_cast<const drovanexis::XmlParseError*>(&error)) {
    if (parse->line() > 0) {
      return file.string() + ":" + std::to_string(parse->line()) + ":" +
             std::to_string(parse->column()) +
             ": not a well-formed XML document: " + parse->reason();
    }
    return file.string() + ": not an acceptable XML document: " + parse->reason();
  }
  return file.string() + ": " + error.what();
}

}  // namespace cli
