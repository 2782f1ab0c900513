#pragma once

#include <string>

#include "document/element.h"

namespace drovanexis {

// Writes a CFDI element tree as UTF-8 XML with its declaration, indented two
// blanks per level, attributes and children in the tree's order (the builders
// keep schema order; a tree read from an external text keeps the order read).
//
// A built tree carries no namespace declarations: the root then gets those of
// cfdi (the namespace of the root's Version, 3.3 or 4.0), of exactly the
// complements present and of xsi, with the matching
// xsi:schemaLocation pairs; a TimbreFiscalDigital declares its own namespace
// and schema location, as stamps do. A tree read from a text keeps its own
// declarations, and any SAT prefix left undeclared is declared where it is
// first used. Empty attributes and, for receipts of type T and P, a Descuento
// of zero are left out. Values are escaped (& < > " and the white-space
// characters that attribute normalisation would otherwise change).
std::string write_xml(const Element& root);

}  // namespace drovanexis
