#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "document/element.h"

namespace drovanexis {

// A text that is not a well-formed (or not an acceptable) XML document.
// line and column are 1-based; both are 0 when the error has no position
// (for instance a text over the size limit).
class XmlParseError : public std::runtime_error {
 public:
  XmlParseError(int line, int column, std::string reason);

  int line() const { return line_; }
  int column() const { return column_; }
  const std::string& reason() const { return reason_; }

 private:
  int line_;
  int column_;
  std::string reason_;
};

// Limits that keep a hostile text from exhausting time, memory or the stack.
// Each is far above what any CFDI needs; a text over one of them is refused
// with an XmlParseError that names the limit. Reading costs time linear in
// the text, and the tree it builds takes at most about 150 bytes per element
// besides the names and values themselves.
inline constexpr std::size_t kMaxXmlBytes = 32u * 1024u * 1024u;
inline constexpr int kMaxXmlDepth = 100;
// Attributes of one element, namespace declarations included.
inline constexpr std::size_t kMaxXmlAttributes = 256;
// Namespace declarations in scope at any element (its own and its ancestors').
inline constexpr std::size_t kMaxXmlNamespacesInScope = 128;
// Elements in the whole document, and so children of any one element.
inline constexpr std::size_t kMaxXmlElements = 1'000'000;
// Bytes of one attribute value or of the character content of one element.
inline constexpr std::size_t kMaxXmlValueBytes = 8u * 1024u * 1024u;
// Distinct element and attribute names (prefix and local name) in the whole
// document: the XML library keeps every name it meets in a dictionary whose
// cost grows faster than the number of names, so a text of millions of
// distinct names would take minutes to read.
inline constexpr std::size_t kMaxXmlDistinctNames = 10'000;

// Parses an XML document into the element tree. Nothing is fetched from the
// network, no DTD is loaded and a document type declaration is refused, so
// entities cannot be declared, let alone expanded. The text must be UTF-8 or
// an ASCII-compatible single-byte encoding named in its declaration (such as
// windows-1252 or ISO-8859-1).
//
// Names follow namespaces, not prefixes: elements and attributes of a
// namespace the library knows get its canonical prefix whatever prefix the
// text used (see document/namespaces.h); other namespaces keep their own
// prefix. The namespaces of both CFDI versions are known: cfd/3 and cfd/4
// both read as "cfdi", so a text that uses both is refused (which version a
// CFDI is, and whether its Version agrees, is document/cfdi_version.h's
// question). A canonical prefix bound to another namespace, and a prefix that
// is not declared, are refused. Namespace declarations (under the canonical
// prefix) and xsi:schemaLocation stay on the elements as attributes so that
// writing the tree again keeps them. Character content is kept only where it
// is more than white space (an Addenda may carry some). Diagnostics of the
// XML library never reach standard error: they become the XmlParseError.
// Throws XmlParseError.
Element parse_xml(std::string_view text);

}  // namespace drovanexis
