#include "document/schema_order.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "validate/schema_facts.h"

namespace drovanexis {
namespace {

std::size_t rank_in(const std::vector<std::string_view>& names, std::string_view name) {
  const auto it = std::find(names.begin(), names.end(), name);
  return it == names.end() ? names.size() : static_cast<std::size_t>(it - names.begin());
}

// Adds the names of `more` missing from `into`, each right after the name that
// precedes it in `more`, so that two declarations of the same element in the
// same place (the Traslado of a line and of the summary) give one order that
// keeps the schema order of both.
void merge_in_order(std::vector<std::string_view>& into,
                    const std::vector<std::string_view>& more) {
  std::size_t position = 0;
  for (std::string_view name : more) {
    const auto it = std::find(into.begin(), into.end(), name);
    if (it != into.end()) {
      position = static_cast<std::size_t>(it - into.begin()) + 1;
    } else {
      into.insert(into.begin() + static_cast<std::ptrdiff_t>(position), name);
      ++position;
    }
  }
}

// Calls `visit` with each element declaration of a content model, depth first.
template <typename Visit>
void for_each_element(const schema::Facts& facts, std::int32_t particle, Visit&& visit) {
  if (particle == schema::kNone) return;
  const schema::Particle& p = facts.particles[static_cast<std::size_t>(particle)];
  if (p.kind == schema::ParticleKind::kElement) {
    visit(facts.elements[p.first]);
    return;
  }
  for (std::uint32_t i = 0; i < p.count; ++i) {
    for_each_element(facts, static_cast<std::int32_t>(facts.particle_children[p.first + i]), visit);
  }
}

ElementOrder order_of(const schema::Facts& facts, std::string_view parent,
                      const schema::ElementDecl& element) {
  ElementOrder order{parent, element.name, {}, {}};
  const schema::ComplexType& type = facts.complex_types[element.type];
  for (std::uint32_t i = 0; i < type.attribute_count; ++i) {
    order.attributes.push_back(facts.attributes[type.first_attribute + i].name);
  }
  for_each_element(facts, type.content, [&](const schema::ElementDecl& child) {
    if (rank_in(order.children, child.name) == order.children.size()) {
      order.children.push_back(child.name);
    }
  });
  return order;
}

std::string key_of(std::string_view parent, std::string_view name) {
  std::string key(parent);
  key += '\n';
  key += name;
  return key;
}

// Every element of the schemas under every parent that declares it; global
// elements (the document and the complement roots) under parent "".
const std::unordered_map<std::string, ElementOrder>& order_index() {
  static const auto index = [] {
    const schema::Facts& facts = schema::facts();
    std::unordered_map<std::string, ElementOrder> map;
    const auto add = [&](std::string_view parent, const schema::ElementDecl& element) {
      ElementOrder order = order_of(facts, parent, element);
      auto [it, inserted] = map.try_emplace(key_of(parent, element.name), order);
      if (!inserted) {
        merge_in_order(it->second.attributes, order.attributes);
        merge_in_order(it->second.children, order.children);
      }
    };
    // 3.3's declarations come first, so a 4.0 declaration of the same place
    // only adds what 4.0 added (merge_in_order never moves a name): the
    // order of a 3.3 element is the 3.3 schema's.
    for (const CfdiVersion version : {CfdiVersion::k33, CfdiVersion::k40}) {
      for (std::uint32_t global : schema::global_elements(version)) {
        add("", facts.elements[global]);
      }
    }
    for (const schema::ElementDecl& parent : facts.elements) {
      for_each_element(facts, facts.complex_types[parent.type].content,
                       [&](const schema::ElementDecl& child) { add(parent.name, child); });
    }
    return map;
  }();
  return index;
}

const ElementOrder* find_order(std::string_view parent, std::string_view name) {
  const auto& index = order_index();
  const auto it = index.find(key_of(parent, name));
  return it == index.end() ? nullptr : &it->second;
}

}  // namespace

std::size_t ElementOrder::attribute_rank(std::string_view attribute) const {
  return rank_in(attributes, attribute);
}

std::size_t ElementOrder::child_rank(std::string_view child) const {
  return rank_in(children, child);
}

const ElementOrder& element_order(std::string_view parent, std::string_view name) {
  static const ElementOrder unknown{};
  if (const auto* order = find_order(parent, name)) return *order;
  // Complement roots are declared as top-level elements of their own schemas.
  if (parent == "cfdi:Complemento" || parent == "cfdi:ComplementoConcepto") {
    if (const auto* order = find_order("", name)) return *order;
  }
  return unknown;
}

}  // namespace drovanexis
