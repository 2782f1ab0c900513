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

// Limits that keep a hostile text from exhausting memory or the stack.
inline constexpr std::size_t kMaxXmlBytes = 32u * 1024u * 1024u;
inline constexpr int kMaxXmlDepth = 100;

// Parses an XML document into the element tree. Nothing is fetched from the
// network, no DTD is loaded and a document type declaration is refused, so
// entities cannot be declared, let alone expanded. Element and attribute
// names of the SAT namespaces get their canonical prefixes whatever prefix
// the text used; other namespaces keep their own prefix. Namespace
// declarations and xsi:schemaLocation stay on the elements as attributes so
// that writing the tree again keeps them. Character content is kept only
// where it is more than white space (an Addenda may carry some).
// Throws XmlParseError.
Element parse_xml(std::string_view text);

}  // namespace drovanexis
