#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "document/element.h"

namespace cli {

// A file that cannot be read at all (missing, a folder, no permission).
class UnreadableFile : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The whole file; throws UnreadableFile naming it and the reason.
std::string read_whole_file(const std::filesystem::path& file);

// The file parsed as XML. Throws UnreadableFile, or drovanexis::XmlParseError
// for a text that is not well-formed.
drovanexis::Element read_xml_file(const std::filesystem::path& file);

// The stamp of a document (cfdi:Complemento/tfd:TimbreFiscalDigital), if any.
const drovanexis::Element* find_stamp(const drovanexis::Element& comprobante);

// "FILE:LINE:COLUMN: reason" for a parse error.
std::string describe_parse_error(const std::filesystem::path& file, const std::exception& error);

}  // namespace cli
