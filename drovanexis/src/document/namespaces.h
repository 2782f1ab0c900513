#pragma once

#include <span>
#include <string_view>

namespace drovanexis {

// Where a complement's root element belongs in a CFDI 3.3.
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

// The CFDI 3.3 namespace, the stamp's, xsi, and the 32 complements that the
// CFDI 3.3 original string covers, in the order its stylesheet lists them.
std::span<const KnownNamespace> known_namespaces();

// Lookups; nullptr when the library does not know the prefix or the URI.
const KnownNamespace* namespace_by_prefix(std::string_view prefix);
const KnownNamespace* namespace_by_uri(std::string_view uri);

// The prefix part of a qualified name ("cfdi" of "cfdi:Concepto"; "" when none).
std::string_view prefix_of(std::string_view qualified_name);

}  // namespace drovanexis
