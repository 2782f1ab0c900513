#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

namespace drovanexis {

// Checks a text before the XML library parses it, for what that library
// would take time out of proportion to the text to find out:
// - the size limit (kMaxXmlBytes);
// - the encoding: UTF-8 or an ASCII-compatible single-byte encoding. These
//   keep every markup character a plain ASCII byte, which the scan below
//   relies on; UTF-16, UCS-4 and EBCDIC texts are refused (a CFDI is UTF-8);
// - the attributes of each start tag (kMaxXmlAttributes): the XML library
//   compares every attribute and namespace declaration of a tag with every
//   other, so 200,000 of them on one element would take hours.
// The scan is linear and only counts: everything else about well-formedness
// is left to the parser. Throws XmlParseError.
void guard_xml_input(std::string_view text);

// Counts the distinct element and attribute names of a document as the
// parser reports them, element by element (kMaxXmlDistinctNames).
class DistinctNames {
 public:
  // Adds the names of one start tag (`attributes` in the parser's layout:
  // five pointers per attribute, the local name first and the prefix
  // second); false once the document holds more names than the limit.
  bool add_tag(const unsigned char* local, const unsigned char* prefix, int attribute_count,
               const unsigned char** attributes);

 private:
  bool add(const unsigned char* local, const unsigned char* prefix);
  std::unordered_set<std::string> seen_;
};

}  // namespace drovanexis
