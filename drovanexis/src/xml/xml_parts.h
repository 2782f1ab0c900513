#pragma once

#include <span>
#include <stdexcept>
#include <string>

#include "document/document.h"
#include "document/element.h"

namespace drovanexis {

// A part handed to an entry as text that cannot go into the document; the
// message names the entry and says what is wrong.
class XmlPartError : public std::runtime_error {
 public:
  XmlPartError(const std::string& entry, const std::string& reason)
      : std::runtime_error(entry + ": " + reason), entry_(entry) {}

  const std::string& entry() const { return entry_; }

 private:
  std::string entry_;
};

// Checks every part and then places them all into `root` (the tree being
// processed), so that a bad part leaves `root` as it was:
//  - a complement must be one well-formed element without a DOCTYPE, whose
//    root is in a namespace that is neither the CFDI's nor the stamp's, which
//    is not a concept complement, and which holds no CFDI element; its SAT
//    namespaces get the library's prefixes, and it is appended, in call order,
//    to the node its path names;
//  - an addenda given as XML (one well-formed element, no DOCTYPE) or as text
//    becomes the whole content of its node.
// Throws XmlPartError for the first part that fails.
void place_xml_parts(std::span<const XmlPart> parts, Element& root);

}  // namespace drovanexis
