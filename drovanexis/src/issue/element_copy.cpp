#include "issue/element_copy.h"

namespace drovanexis::issue {

namespace {

void copy_into(Element& target, const Element& source) {
  for (const auto& attribute : source.attributes()) {
    target.set_attribute(attribute.name, attribute.value);
  }
  target.set_text(source.text());
  for (const auto& child : source.children()) {
    copy_into(target.add_child(child->name()), *child);
  }
}

}  // namespace

Element copy_element(const Element& source) {
  Element copy(source.name());
  copy_into(copy, source);
  return copy;
}

}  // namespace drovanexis::issue
