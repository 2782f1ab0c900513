#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/element.h"
#include "document/schema_order.h"

namespace drovanexis {

// The values of one building call, UTF-8, one per position after the handle;
// "" marks an absent value (a null pointer arrives as "").
using Values = std::vector<std::string>;

// An element together with the schema order that governs its attributes and
// children. Everything added through a Node lands in schema order, whatever
// order the calls come in. A default Node refers to nothing.
class Node {
 public:
  Node() = default;
  Node(Element& element, const ElementOrder& order) : element_(&element), order_(&order) {}
  static Node root(Element& root);

  explicit operator bool() const { return element_ != nullptr; }
  Element& element() const { return *element_; }

  // The first child of that name, created in schema order when missing.
  Node child(std::string_view name) const;
  // The last child of that name, or a Node that refers to nothing.
  Node last(std::string_view name) const;
  // The n-th child (1-based) of that name when it exists, or a new one.
  Node nth_child_or_new(std::string_view name, std::size_t n) const;
  // A new child of that name, after every sibling that the schema puts
  // before it or beside it (so repeated children keep call order).
  Node add(std::string_view name) const;
  // Sets an attribute in schema order; an empty value removes it instead, as
  // an absent optional value must not appear as "".
  void set(std::string_view attribute, std::string value) const;

 private:
  Node wrap(Element& child) const;

  Element* element_ = nullptr;
  const ElementOrder* order_ = nullptr;
};

// One position of a building entry: the attribute it carries and the path of
// the sub-node that holds it, relative to the entry's element ("" for the
// element itself, "a:B/a:C" for nested nodes, "a:C[2]" for a second sibling).
struct Field {
  std::string_view path;
  std::string_view attribute;
};

// Stores values[i] into fields[i]. Sub-nodes are created only for values that
// are present; missing trailing values count as absent.
void fill(Node target, std::span<const Field> fields, const Values& values);

}  // namespace drovanexis
