#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace drovanexis {

// What the SAT schemas say about one element in one place: the order of its
// attributes and the order of its child elements. The same name can mean
// different things under different parents (cfdi:Impuestos of a Concepto lists
// Traslados first, that of the Comprobante lists Retenciones first), so an
// order is looked up by the parent's name and the element's name.
struct ElementOrder {
  std::string_view parent;
  std::string_view name;
  std::vector<std::string_view> attributes;
  std::vector<std::string_view> children;

  // Rank of an attribute or a child in schema order; names the schema does not
  // list rank after all known ones, so they keep their relative order at the end.
  std::size_t attribute_rank(std::string_view attribute) const;
  std::size_t child_rank(std::string_view child) const;
};

// The order of `name` under `parent` (qualified names with canonical prefixes;
// parent "" for a document root). A complement root is found under
// cfdi:Complemento. Elements the schemas do not describe get an empty order.
const ElementOrder& element_order(std::string_view parent, std::string_view name);

}  // namespace drovanexis
