#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "document/document.h"
#include "document/tree_building.h"

namespace drovanexis {

// What a document-building entry does with the node it names.
enum class EntryAction : unsigned char {
  kSet,  // fills the node, created when missing
  kAdd,  // adds a new node in schema order after its like siblings
  // The positions are one list of fields repeated: each repetition adds one
  // node as kAdd does, and the first repetition whose values are all absent
  // ends the list (nothing at all is built when the first one is).
  kAddEach,
  // The one position is a text kept in the document until processing, which
  // checks it and places it at the entry's path (see XmlPart): a complete
  // complement element added in call order, or the content of the node as one
  // XML element or as plain text, replacing what an earlier call set.
  kAddXml,
  kSetXml,
  kSetText,
};

// One document-building entry as the entry table declares it (see
// api/document_entries.inc for the path language).
struct DocumentEntrySpec {
  std::string_view name;
  EntryAction action;
  std::string_view parent;  // path from cfdi:Comprobante
  std::string_view node;    // below the parent; "" is the parent itself
  std::span<const Field> fields;
};

// "sub/path@Name" as the field it names; a text without "@" is an attribute of
// the node itself.
constexpr Field field_of(std::string_view text) {
  const auto at = text.rfind('@');
  if (at == std::string_view::npos) return Field{{}, text};
  return Field{text.substr(0, at), text.substr(at + 1)};
}

template <std::size_t N>
constexpr std::array<Field, N> fields_of(const std::array<std::string_view, N>& texts) {
  std::array<Field, N> fields{};
  for (std::size_t i = 0; i < N; ++i) fields[i] = field_of(texts[i]);
  return fields;
}

// Applies one call of the entry: resolves its parent, sets or adds its node
// and stores values[i] into fields[i]; or, for the XML and text actions,
// keeps the text in document.xml_parts. A parent that names a "[last]" element
// that does not exist makes the call do nothing.
void apply_entry(Document& document, const DocumentEntrySpec& entry, const Values& values);

// The node a parent path names, or a Node that refers to nothing when a
// "[last]" step finds no element. Exposed for the entries that build their
// content themselves.
Node resolve_entry_path(Node from, std::string_view path);

// The number of positions in one repetition of a kAddEach entry's fields: the
// shortest prefix of which the whole list is a repetition.
std::size_t repeated_group_size(std::span<const Field> fields);

}  // namespace drovanexis
