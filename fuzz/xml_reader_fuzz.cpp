// Any text handed to the XML reader either becomes a tree or is refused with
// XmlParseError; nothing else may happen (no crash, no other exception).

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "xml/xml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    drovanexis::parse_xml(text);
  } catch (const drovanexis::XmlParseError&) {
  }
  return 0;
}
