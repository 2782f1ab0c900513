#include "validate/schema_facts.h"

#include <algorithm>

namespace drovanexis::schema {

const ElementDecl* global_element(CfdiVersion version, std::string_view qualified_name) {
  const Facts& tables = facts();
  const auto globals = global_elements(version);
  const auto it = std::lower_bound(globals.begin(), globals.end(), qualified_name,
                                   [&](std::uint32_t index, std::string_view name) {
                                     return tables.elements[index].name < name;
                                   });
  if (it == globals.end() || tables.elements[*it].name != qualified_name) return nullptr;
  return &tables.elements[*it];
}

}  // namespace drovanexis::schema
