#include "element.h"

#include <algorithm>

namespace drovanexis {

std::string_view Element::prefix() const {
  const auto colon = name_.find(':');
  return colon == std::string::npos ? std::string_view{} : std::string_view(name_).substr(0, colon);
}

std::string_view Element::local_name() const {
  const auto colon = name_.find(':');
  return colon == std::string::npos ? std::string_view(name_)
                                    : std::string_view(name_).substr(colon + 1);
}

const std::string* Element::attribute(std::string_view name) const {
  for (const auto& a : attributes_) {
    if (a.name == name) return &a.value;
  }
  return nullptr;
}

void Element::set_attribute(std::string_view name, std::string value) {
  insert_attribute(attributes_.size(), name, std::move(value));
}

void Element::insert_attribute(std::size_t position, std::string_view name, std::string value) {
  for (auto& a : attributes_) {
    if (a.name == name) {
      a.value = std::move(value);
      return;
    }
  }
  position = std::min(position, attributes_.size());
  attributes_.insert(attributes_.begin() + static_cast<std::ptrdiff_t>(position),
                     Attribute{std::string(name), std::move(value)});
}

bool Element::remove_attribute(std::string_view name) {
  const auto it = std::find_if(attributes_.begin(), attributes_.end(),
                               [&](const Attribute& a) { return a.name == name; });
  if (it == attributes_.end()) return false;
  attributes_.erase(it);
  return true;
}

Element& Element::add_child(std::string qualified_name) {
  return insert_child(children_.size(), std::move(qualified_name));
}

Element& Element::insert_child(std::size_t position, std::string qualified_name) {
  position = std::min(position, children_.size());
  auto it = children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(position),
                             std::make_unique<Element>(std::move(qualified_name)));
  return **it;
}

Element& Element::append_child(Element child) {
  children_.push_back(std::make_unique<Element>(std::move(child)));
  return *children_.back();
}

void Element::clear_content() {
  children_.clear();
  text_.clear();
}

Element* Element::child(std::string_view qualified_name) {
  for (auto& c : children_) {
    if (c->name() == qualified_name) return c.get();
  }
  return nullptr;
}

const Element* Element::child(std::string_view qualified_name) const {
  for (const auto& c : children_) {
    if (c->name() == qualified_name) return c.get();
  }
  return nullptr;
}

bool Element::remove_child(const Element& child) {
  const auto it = std::find_if(children_.begin(), children_.end(),
                               [&](const auto& c) { return c.get() == &child; });
  if (it == children_.end()) return false;
  children_.erase(it);
  return true;
}

}  // namespace drovanexis
