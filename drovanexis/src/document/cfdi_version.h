#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "document/element.h"

namespace drovanexis {

// The CFDI versions the library reads. One document model serves both: the
// tree names CFDI elements "cfdi:..." whichever version they belong to, and
// every version-dependent step (namespaces, schema facts, original-string
// templates, rule groups, catalogues) asks the document's version and picks
// its own tables by it.
enum class CfdiVersion : unsigned char {
  k33,  // namespace http://www.sat.gob.mx/cfd/3, Version="3.3"
  k40,  // namespace http://www.sat.gob.mx/cfd/4, Version="4.0"
};

// "3.3" or "4.0", as the Version attribute writes it.
std::string_view version_text(CfdiVersion version);

// The namespace URI of the CFDI elements of a version.
std::string_view cfdi_namespace(CfdiVersion version);

// A root that is not a CFDI of a version the library reads: not a
// cfdi:Comprobante, a Version the library does not know, or a namespace and
// a Version that disagree. The message says which and with what values.
class CfdiVersionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The version of the CFDI whose root is `comprobante`, from the root's
// namespace and its Version attribute, which must agree. A tree read from a
// text carries the declaration of its root's namespace (xmlns:cfdi); a tree
// built through the entries carries none and is in the namespace of its
// Version. Costs a look at the root's attributes only.
// Throws CfdiVersionError.
CfdiVersion cfdi_version(const Element& comprobante);

}  // namespace drovanexis
