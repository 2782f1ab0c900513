#include "document/document.h"

namespace drovanexis {

Document::Document(std::string version) {
  root.set_attribute("Version", version.empty() ? std::string("3.3") : std::move(version));
}

Node Document::root_node() { return Node::root(root); }

const std::string& Document::value(int index) const {
  static const std::string none;
  if (index < 1 || index > kResultValueCount) return none;
  return values[static_cast<std::size_t>(index)];
}

}  // namespace drovanexis
