#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "document/element.h"
#include "document/tree_building.h"

namespace drovanexis {

// A text handed to an entry that supplies a whole node at once (a complement
// or an addenda as XML, an addenda as plain text). It is kept exactly as given
// and only checked and placed when processing reads the document, so that a bad
// text fails that processing and never leaves a half-built tree.
struct XmlPart {
  enum class Kind : unsigned char {
    kComplementXml,  // one complete complement element, for cfdi:Complemento
    kAddendaXml,     // one element, the content of cfdi:Addenda
    kAddendaText,    // plain text, the content of cfdi:Addenda
  };
  Kind kind;
  std::string entry;  // the entry that received it, for the log
  std::string path;   // the node it goes into, as a path from cfdi:Comprobante
  // XML as handed in (its declaration names its encoding); plain text in UTF-8.
  std::string text;
};

// Number of result values a document carries (indices 1 to 18 of
// Drovanexis_GetValue).
inline constexpr int kResultValueCount = 18;

// One CFDI document of the registry: the tree the building entries fill, or the
// complete external XML that replaces it, plus what processing needs and yields.
struct Document {
  explicit Document(std::string version);

  Element root{"cfdi:Comprobante"};
  std::string service_user;      // UTF-8
  std::string service_password;  // UTF-8
  // The second stamping account (Drovanexis_SetTolviqueInfo), UTF-8: used
  // when the first is refused for its credentials or its balance.
  std::string second_user;
  std::string second_password;
  // The log file of this document's processing calls; "" for the default.
  std::string log_file;
  // The text of an externally built XML, exactly as handed in (its encoding is
  // the one its own declaration names, so it is not converted).
  std::optional<std::string> complete_xml;
  // The XML parts of the entries that take them, in call order; at most one
  // addenda (the last one set).
  std::vector<XmlPart> xml_parts;
  // Result values 1..18 in UTF-8; index 0 is unused. "" until processing.
  std::array<std::string, kResultValueCount + 1> values;
  // The Windows-1252 text the last Drovanexis_GetValue call handed out; it
  // lives here so that it stays valid until the next call for this document.
  std::string handed_out_value;

  Node root_node();
  // The value of a result index in UTF-8, or "" for an index out of range.
  const std::string& value(int index) const;
};

}  // namespace drovanexis
