#include "document/entry_building.h"

#include "document/namespaces.h"
#include "document/output_rules.h"

namespace drovanexis {
namespace {

constexpr std::string_view kLast = "[last]";
constexpr std::string_view kLastOrNew = "[last+]";

// A complement's root carries its fixed version from the moment it exists, so
// that an entry naming any part of the complement leaves a valid root.
void give_complement_root_its_version(const Node& node) {
  const std::string_view name = node.element().name();
  const KnownNamespace* known = namespace_by_prefix(prefix_of(name));
  if (known == nullptr || known->place == ComplementPlace::kNone ||
      known->version_attribute.empty()) {
    return;
  }
  if (name.substr(known->prefix.size() + 1) != known->root) return;
  if (node.element().attribute(known->version_attribute) == nullptr) {
    node.set(known->version_attribute, std::string(known->version));
  }
}

Node step_into(const Node& node, std::string_view step) {
  if (step.ends_with(kLast)) return node.last(step.substr(0, step.size() - kLast.size()));
  if (step.ends_with(kLastOrNew)) {
    const auto name = step.substr(0, step.size() - kLastOrNew.size());
    const Node last = node.last(name);
    return last ? last : node.add(name);
  }
  return node.child(step);
}

// Calls fn on each "/"-separated step of a path.
template <typename Fn>
void for_each_step(std::string_view path, Fn&& fn) {
  while (!path.empty()) {
    const auto slash = path.find('/');
    fn(path.substr(0, slash));
    path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
  }
}

// True when every "[last]" step of the path finds its element, looking only at
// what exists: a path that would fail must not leave created nodes behind.
bool path_can_resolve(const Element& from, std::string_view path) {
  const Element* element = &from;
  bool ok = true;
  for_each_step(path, [&](std::string_view step) {
    if (!ok) return;
    const bool last = step.ends_with(kLast);
    if (element == nullptr) {
      ok = !last;  // below a node still to be created nothing exists yet
      return;
    }
    const auto name = last                         ? step.substr(0, step.size() - kLast.size())
                      : step.ends_with(kLastOrNew) ? step.substr(0, step.size() - kLastOrNew.size())
                                                   : step;
    const Element* found = nullptr;
    for (const auto& child : element->children()) {
      if (child->name() == name) {
        found = child.get();
        if (!last && !step.ends_with(kLastOrNew)) break;
      }
    }
    if (last && found == nullptr) ok = false;
    element = found;
  });
  return ok;
}

}  // namespace

Node resolve_entry_path(Node from, std::string_view path) {
  if (!from || !path_can_resolve(from.element(), path)) return Node();
  Node node = from;
  for_each_step(path, [&](std::string_view step) {
    if (!node) return;
    node = step_into(node, step);
    if (node) give_complement_root_its_version(node);
  });
  return node;
}

void apply_entry(Document& document, const DocumentEntrySpec& entry, const Values& values) {
  Node target = resolve_entry_path(document.root_node(), entry.parent);
  if (!target) return;
  if (entry.action == EntryAction::kSet) {
    target = resolve_entry_path(target, entry.node);
  } else {
    for_each_step(entry.node, [&](std::string_view step) {
      target = target.add(step);
      give_complement_root_its_version(target);
    });
  }
  fill(target, entry.fields, values);
  // The Comprobante's own rules hold after every call that sets it.
  if (entry.parent.empty() && entry.node.empty()) omit_valueless_descuento(document.root);
}

}  // namespace drovanexis
