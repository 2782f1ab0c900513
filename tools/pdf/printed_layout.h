#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/element.h"

namespace pdf {

// What the printed form shows, as data: each value is a label and where the
// document keeps it, so that a new version or complement is a table here and
// not new drawing code.
//
// A path names elements step by step from a starting element and ends with
// "@Attribute": "cfdi:Emisor@Rfc", "Total", "nomina12:Receptor@Curp". Each
// step takes the first child of that name; a step without a prefix
// ("Mercancias/Autotransporte") matches the local name in any namespace.
struct Field {
  std::string_view label;
  std::string_view path;
  // A value the document does not keep as such (the net of a payroll);
  // when set, `path` is ignored.
  std::string (*compute)(const drovanexis::Element&) = nullptr;
  // For a catalogue code: its name, printed after it ("" when unknown).
  std::string_view (*name_of)(std::string_view code) = nullptr;
};

// A part of a complement. `path` names the elements it prints, relative to
// the element of the enclosing block (steps separated by "/", every match
// of every step): a kFields block prints a group of labelled values for each
// one, with its `children` below it; a kTable block prints one row per match
// under one header; a kList block prints the first field of every match in
// one wrapped paragraph after its title.
struct Block {
  enum class Kind { kFields, kTable, kList };
  Kind kind = Kind::kFields;
  std::string_view title;
  std::string_view path;
  std::vector<Field> fields;
  std::vector<Block> children = {};
  std::vector<float> widths = {};  // a table's relative column widths; equal when empty
};

// One complement the form knows: its root element in cfdi:Complemento.
struct ComplementLayout {
  std::string_view element;
  std::string_view title;
  std::vector<Block> blocks;
};

// The main parts of the form for one version of the CFDI.
struct VersionLayout {
  std::string_view version;
  std::vector<Field> issuer;
  std::vector<Field> document;
  std::vector<Field> receiver;
  std::vector<Field> payment;
  std::vector<Field> line_columns;  // relative to each line (cfdi:Concepto)
  std::vector<float> line_widths;   // relative widths of those columns
  std::vector<Field> totals;
  // Parts printed as complements are: related CFDIs, the tax summary.
  std::vector<Block> related;
  std::vector<Block> tax_summary;
};

// The layout for the document's Version, or nullptr for a version the form
// does not know.
const VersionLayout* layout_for_version(std::string_view version);

// The complement of that qualified name, or nullptr (printed then by name
// and version only).
const ComplementLayout* complement_layout(std::string_view element);

// The value at `path` from `from`, or "" when any step or the attribute is
// missing.
std::string value_at(const drovanexis::Element& from, std::string_view path);
std::string field_value(const drovanexis::Element& from, const Field& field);

// The elements a block's path names, in document order.
std::vector<const drovanexis::Element*> elements_at(const drovanexis::Element& from,
                                                    std::string_view path);

// The taxes of one line, one per text line: "Traslado 002 Tasa 0.160000:
// 160.00", "Retención 001 ...".
std::string line_taxes(const drovanexis::Element& concepto);

}  // namespace pdf
