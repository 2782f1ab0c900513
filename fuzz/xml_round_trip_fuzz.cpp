// What the reader accepts, the writer writes back as a text that the reader
// accepts again and that gives the same tree: same names, attributes in the
// same order with the same values, same text, same children. The one change
// the writer makes on purpose is leaving out a zero Descuento on a transfer or
// payment receipt.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/output_rules.h"
#include "fuzz_check.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

namespace {

using drovanexis::Element;

// Where the two trees first differ, or "" when they are the same.
std::string difference(const Element& read, const Element& again, bool is_root) {
  if (read.name() != again.name()) return "name " + read.name() + " / " + again.name();
  if (read.text() != again.text()) return "text of " + read.name();
  const bool drop_descuento = is_root && drovanexis::descuento_carries_no_value(read);
  std::size_t j = 0;
  for (const auto& attribute : read.attributes()) {
    if (drop_descuento && attribute.name == "Descuento") continue;
    if (j >= again.attributes().size()) return "attribute lost: " + attribute.name;
    const auto& other = again.attributes()[j++];
    if (attribute.name != other.name || attribute.value != other.value) {
      return "attribute " + attribute.name + " / " + other.name + " on " + read.name();
    }
  }
  if (j != again.attributes().size()) return "attribute added on " + read.name();
  if (read.children().size() != again.children().size()) return "children of " + read.name();
  for (std::size_t i = 0; i < read.children().size(); ++i) {
    std::string found = difference(*read.children()[i], *again.children()[i], false);
    if (!found.empty()) return found;
  }
  return "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Element read("");
  try {
    read = drovanexis::parse_xml(text);
  } catch (const drovanexis::XmlParseError&) {
    return 0;
  }
  const std::string written = drovanexis::write_xml(read);
  Element again("");
  try {
    again = drovanexis::parse_xml(written);
  } catch (const drovanexis::XmlParseError& error) {
    FUZZ_CHECK(false, "the written text does not read back: %s\n%s", error.what(), written.c_str());
  }
  const std::string found = difference(read, again, true);
  FUZZ_CHECK(found.empty(), "the tree read back differs: %s\n%s", found.c_str(), written.c_str());
  return 0;
}
