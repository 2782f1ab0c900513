#include "document/tree_building.h"

#include <charconv>

namespace drovanexis {
namespace {

// Index of the first child that the schema places after a child of `rank`.
std::size_t insertion_point(const Element& parent, const ElementOrder& order, std::size_t rank) {
  const auto& children = parent.children();
  std::size_t position = children.size();
  while (position > 0 && order.child_rank(children[position - 1]->name()) > rank) --position;
  return position;
}

// Splits "a:C[2]" into its name and occurrence number (1 when not given).
std::pair<std::string_view, std::size_t> parse_step(std::string_view step) {
  const auto open = step.find('[');
  if (open == std::string_view::npos || step.back() != ']') return {step, 1};
  std::size_t n = 1;
  const auto digits = step.substr(open + 1, step.size() - open - 2);
  std::from_chars(digits.data(), digits.data() + digits.size(), n);
  return {step.substr(0, open), n == 0 ? 1 : n};
}

// The node a field path names below `target`, created as needed.
Node resolve(Node target, std::string_view path) {
  Node node = target;
  while (!path.empty()) {
    const auto slash = path.find('/');
    const auto step = path.substr(0, slash);
    path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
    const auto [name, occurrence] = parse_step(step);
    node = node.nth_child_or_new(name, occurrence);
  }
  return node;
}

// The node a field path names below `target` if it already exists.
Element* existing(Element& target, std::string_view path) {
  Element* element = &target;
  while (element != nullptr && !path.empty()) {
    const auto slash = path.find('/');
    const auto [name, occurrence] = parse_step(path.substr(0, slash));
    path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
    Element* found = nullptr;
    std::size_t seen = 0;
    for (const auto& child : element->children()) {
      if (child->name() == name && ++seen == occurrence) {
        found = child.get();
        break;
      }
    }
    element = found;
  }
  return element;
}

}  // namespace

Node Node::root(Element& root) { return Node(root, element_order("", root.name())); }

Node Node::wrap(Element& child) const {
  return Node(child, element_order(element_->name(), child.name()));
}

Node Node::child(std::string_view name) const {
  if (Element* found = element_->child(name)) return wrap(*found);
  return add(name);
}

Node Node::last(std::string_view name) const {
  const auto& children = element_->children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if ((*it)->name() == name) return wrap(**it);
  }
  return Node();
}

Node Node::nth_child_or_new(std::string_view name, std::size_t n) const {
  std::size_t seen = 0;
  for (const auto& child : element_->children()) {
    if (child->name() == name && ++seen == n) return wrap(*child);
  }
  return add(name);
}

Node Node::add(std::string_view name) const {
  const auto position = insertion_point(*element_, *order_, order_->child_rank(name));
  return wrap(element_->insert_child(position, std::string(name)));
}

void Node::set(std::string_view attribute, std::string value) const {
  if (value.empty()) {
    element_->remove_attribute(attribute);
    return;
  }
  const auto rank = order_->attribute_rank(attribute);
  const auto& attributes = element_->attributes();
  std::size_t position = attributes.size();
  while (position > 0 && order_->attribute_rank(attributes[position - 1].name) > rank) --position;
  element_->insert_attribute(position, attribute, std::move(value));
}

void fill(Node target, std::span<const Field> fields, const Values& values) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string value = i < values.size() ? values[i] : std::string();
    const auto& field = fields[i];
    if (value.empty()) {
      if (Element* holder = existing(target.element(), field.path))
        holder->remove_attribute(field.attribute);
      continue;
    }
    resolve(target, field.path).set(field.attribute, value);
  }
}

}  // namespace drovanexis
