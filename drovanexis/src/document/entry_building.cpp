#include "document/entry_building.h"

#include <string>
#include <vector>

#include "document/namespaces.h"
#include "document/output_rules.h"

namespace drovanexis {
namespace {

constexpr std::string_view kLast = "[last]";
constexpr std::string_view kLastOrNew = "[last+]";

// A complement's root carries its fixed version from the moment it exists, so
// that an entry naming any part of the complement leaves a valid root. The
// entries build CFDI 3.3 documents, so their complements are 3.3's.
void give_complement_root_its_version(const Node& node) {
  const std::string_view name = node.element().name();
  const KnownNamespace* known = namespace_by_prefix(CfdiVersion::k33, prefix_of(name));
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

bool same_field(const Field& a, const Field& b) {
  return a.path == b.path && a.attribute == b.attribute;
}

// Adds the node below the target, each step of the node's path a new element.
Node add_node(Node target, std::string_view node_path) {
  for_each_step(node_path, [&](std::string_view step) {
    target = target.add(step);
    give_complement_root_its_version(target);
  });
  return target;
}

void add_each(Document& document, const DocumentEntrySpec& entry, const Values& values) {
  const std::size_t size = repeated_group_size(entry.fields);
  std::vector<Values> groups;
  for (std::size_t first = 0; first + size <= entry.fields.size(); first += size) {
    Values group;
    bool any = false;
    for (std::size_t i = first; i < first + size; ++i) {
      group.push_back(i < values.size() ? values[i] : std::string());
      any = any || !group.back().empty();
    }
    if (!any) break;
    groups.push_back(std::move(group));
  }
  if (groups.empty()) return;
  const Node parent = resolve_entry_path(document.root_node(), entry.parent);
  if (!parent) return;
  for (const Values& group : groups) {
    fill(add_node(parent, entry.node), entry.fields.first(size), group);
  }
}

XmlPart::Kind part_kind(EntryAction action) {
  switch (action) {
    case EntryAction::kSetXml: return XmlPart::Kind::kAddendaXml;
    case EntryAction::kSetText: return XmlPart::Kind::kAddendaText;
    default: return XmlPart::Kind::kComplementXml;
  }
}

// An XML or text part waits in the document; a set replaces the part an
// earlier call set, and an empty text only removes it.
void keep_part(Document& document, const DocumentEntrySpec& entry, const Values& values) {
  const XmlPart::Kind kind = part_kind(entry.action);
  auto& parts = document.xml_parts;
  if (entry.action != EntryAction::kAddXml) {
    std::erase_if(parts,
                  [](const XmlPart& part) { return part.kind != XmlPart::Kind::kComplementXml; });
  }
  if (values.empty() || values.front().empty()) return;
  std::string path(entry.parent);
  if (!path.empty() && !entry.node.empty()) path += '/';
  path += entry.node;
  parts.push_back(XmlPart{kind, std::string(entry.name), std::move(path), values.front()});
}

}  // namespace

std::size_t repeated_group_size(std::span<const Field> fields) {
  for (std::size_t size = 1; size < fields.size(); ++size) {
    if (fields.size() % size != 0) continue;
    bool repeats = true;
    for (std::size_t i = size; i < fields.size() && repeats; ++i) {
      repeats = same_field(fields[i], fields[i % size]);
    }
    if (repeats) return size;
  }
  return fields.size();
}

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
  switch (entry.action) {
    case EntryAction::kAddEach: add_each(document, entry, values); return;
    case EntryAction::kAddXml:
    case EntryAction::kSetXml:
    case EntryAction::kSetText: keep_part(document, entry, values); return;
    case EntryAction::kSet:
    case EntryAction::kAdd: break;
  }
  Node target = resolve_entry_path(document.root_node(), entry.parent);
  if (!target) return;
  if (entry.action == EntryAction::kSet) {
    target = resolve_entry_path(target, entry.node);
  } else {
    target = add_node(target, entry.node);
  }
  fill(target, entry.fields, values);
  // The Comprobante's own rules hold after every call that sets it.
  if (entry.parent.empty() && entry.node.empty()) omit_valueless_descuento(document.root);
}

}  // namespace drovanexis
