#pragma once

#include <span>
#include <string_view>

#include "document/cfdi_version.h"

namespace drovanexis {

// Where a complement's root element belongs in a CFDI.
enum class ComplementPlace : unsigned char {
  kNone,         // not a complement (the CFDI itself, xsi)
  kComprobante,  // a child of cfdi:Complemento
  kConcepto,     // a child of cfdi:ComplementoConcepto of one Concepto
};

// One vocabulary the library knows: the canonical prefix the document tree
// uses for its elements, its namespace URI, the schema location written in
// xsi:schemaLocation, and, for a complement, its root element and the fixed
// version attribute that root carries.
struct KnownNamespace {
  std::string_view prefix;
  std::string_view uri;
  std::string_view schema_location;  // "" for xsi
  std::string_view root;             // local name of the complement's root, "" otherwise
  std::string_view version_attribute;
  std::string_view version;
  ComplementPlace place;
};

// The namespaces of one CFDI version: the CFDI's own, the stamp's, xsi, and
// the 32 complements that the version's original string covers, in the order
// its stylesheet lists them. A complement both versions take (Nómina 1.2,
// Carta Porte 2.0, ...) is the same entry in both lists; the CFDI namespace
// differs (cfd/3, cfd/4) while its canonical prefix is "cfdi" in both, so
// that code reading the tree matches "cfdi:Emisor" whatever the version.
std::span<const KnownNamespace> known_namespaces(CfdiVersion version);

// The entry of a canonical prefix among the version's namespaces; nullptr
// when the version does not know the prefix.
const KnownNamespace* namespace_by_prefix(CfdiVersion version, std::string_view prefix);

// The entry of a namespace URI known to either version (URIs never repeat
// across versions: cfd/3 and cfd/4 are distinct); nullptr when unknown.
const KnownNamespace* namespace_by_uri(std::string_view uri);

// Whether a prefix is the canonical prefix of a namespace of either version,
// and so may not be bound to any other namespace.
bool is_reserved_prefix(std::string_view prefix);

// The prefix part of a qualified name ("cfdi" of "cfdi:Concepto"; "" when none).
std::string_view prefix_of(std::string_view qualified_name);

}  // namespace drovanexis
