#include "tools/cli/document_file.h"

#include <cstring>

#include "portable/file_io.h"
#include "xml/xml_reader.h"

namespace cli {

std::string read_whole_file(const std::filesystem::path& file) {
  // Every input is bounded the way the library bounds a document: nothing
  // but a regular file is opened for reading (a FIFO would block, a device
  // never end), and a file over the limit is refused from its size.
  portable::BoundedRead read = portable::read_regular_file(file, drovanexis::kMaxXmlBytes);
  if (!read.failure) return std::move(read.bytes);
  const std::string name = file.string();
  switch (*read.failure) {
    case portable::ReadFailure::not_found:
      throw UnreadableFile(name + ": cannot open: " + std::strerror(read.error));
    case portable::ReadFailure::not_regular: {
      std::error_code ec;
      if (std::filesystem::is_directory(file, ec)) {
        throw UnreadableFile(name + ": is a folder, not a file");
      }
      throw UnreadableFile(name + ": not a regular file (a device, FIFO or socket is not read)");
    }
    case portable::ReadFailure::too_large:
      // The same refusal the reader gives a text over its limit.
      throw drovanexis::XmlParseError(0, 0,
                                      "the document is larger than " +
                                          std::to_string(drovanexis::kMaxXmlBytes / (1024 * 1024)) +
                                          " MiB");
    case portable::ReadFailure::unreadable: break;
  }
  throw UnreadableFile(
      name + ": cannot read: " + (read.error != 0 ? std::strerror(read.error) : "read failed"));
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
