#include "tools/pdf/cfdi_pdf.h"

#include <array>
#include <optional>
#include <vector>

#include "cadena/cadena.h"
#include "cbb/cbb_generator.h"
#include "cbb/qr_matrix.h"
#include "tools/pdf/amount_words.h"
#include "tools/pdf/pdf_canvas.h"
#include "tools/pdf/printed_layout.h"
#include "tools/pdf/verification_query.h"

namespace pdf {

namespace {

using drovanexis::Element;

constexpr std::string_view kUnstamped = "SIN TIMBRAR";
constexpr std::string_view kLegend = "Este documento es una representación impresa de un CFDI";
constexpr std::string_view kUnstampedLegend =
    "SIN TIMBRAR: este documento no ha sido timbrado y no es un CFDI válido";

std::string type_name(std::string_view code) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kTypes = {{
      {"I", "Ingreso"},
      {"E", "Egreso"},
      {"T", "Traslado"},
      {"N", "Nómina"},
      {"P", "Pago"},
  }};
  for (const auto& [known, name] : kTypes) {
    if (known == code) return std::string(name);
  }
  return std::string(code);
}

std::vector<LabelledValue> values_of(const Element& from, const std::vector<Field>& fields) {
  std::vector<LabelledValue> out;
  out.reserve(fields.size());
  for (const Field& field : fields) out.emplace_back(field.label, field_value(from, field));
  return out;
}

void print_block(PdfCanvas& canvas, const Block& block, const Element& parent, int depth) {
  const auto matches = elements_at(parent, block.path);
  if (matches.empty()) return;
  const auto title = [&](std::string text) {
    if (text.empty()) return;
    if (depth == 0) {
      canvas.heading(text);
    } else {
      canvas.subheading(text);
    }
  };
  if (block.kind == Block::Kind::kList) {
    std::string text(block.title);
    text += ":";
    for (const Element* match : matches) text += "  " + field_value(*match, block.fields.front());
    canvas.paragraph(text, Style::kBody);
    return;
  }
  if (block.kind == Block::Kind::kTable) {
    title(std::string(block.title));
    std::vector<std::string> headers;
    for (const Field& field : block.fields) headers.emplace_back(field.label);
    canvas.begin_table(std::move(headers), block.widths);
    for (const Element* match : matches) {
      std::vector<std::string> row;
      for (const Field& field : block.fields) row.push_back(field_value(*match, field));
      canvas.table_row(row);
    }
    canvas.end_table();
    return;
  }
  for (std::size_t i = 0; i < matches.size(); ++i) {
    std::string text(block.title);
    if (matches.size() > 1 && !text.empty()) text += " " + std::to_string(i + 1);
    title(text);
    canvas.fields(values_of(*matches[i], block.fields), 3);
    for (const Block& child : block.children) print_block(canvas, child, *matches[i], depth + 1);
  }
}

void print_header(PdfCanvas& canvas, const VersionLayout& layout, const Element& doc,
                  const Element* stamp) {
  const std::string type = type_name(value_at(doc, "TipoDeComprobante"));
  std::string number = value_at(doc, "Serie");
  if (const std::string folio = value_at(doc, "Folio"); !folio.empty()) {
    number += (number.empty() ? "" : "-") + folio;
  }
  canvas.title(value_at(doc, "cfdi:Emisor@Nombre"),
               "CFDI de " + type + (number.empty() ? "" : "\n" + number));
  canvas.fields(values_of(doc, layout.issuer), 2);
  canvas.heading("Comprobante");
  auto document = values_of(doc, layout.document);
  for (auto& [label, value] : document) {
    if (label == "Tipo de comprobante" && !value.empty()) value += " (" + type + ")";
  }
  if (stamp == nullptr) document.emplace_back("Folio fiscal", std::string(kUnstamped));
  canvas.fields(document, 2);
  canvas.heading("Receptor");
  canvas.fields(values_of(doc, layout.receiver), 2);
}

void print_lines(PdfCanvas& canvas, const VersionLayout& layout, const Element& doc) {
  canvas.heading("Conceptos");
  std::vector<std::string> headers;
  for (const Field& field : layout.line_columns) headers.emplace_back(field.label);
  canvas.begin_table(std::move(headers), layout.line_widths);
  std::vector<std::string> row;
  for (const Element* line : elements_at(doc, "cfdi:Conceptos/cfdi:Concepto")) {
    row.clear();
    for (const Field& field : layout.line_columns) row.push_back(field_value(*line, field));
    canvas.table_row(row);
  }
  canvas.end_table();
}

void print_totals(PdfCanvas& canvas, const VersionLayout& layout, const Element& doc) {
  for (const Block& block : layout.tax_summary) print_block(canvas, block, doc, 0);
  canvas.heading("Totales");
  canvas.fields(values_of(doc, layout.totals), 3);
  try {
    canvas.paragraph(
        "Total con letra: " + amount_in_words(value_at(doc, "Total"), value_at(doc, "Moneda")),
        Style::kBold);
  } catch (const AmountError&) {
    // A total that is not a number has no words; the figures above show it.
  }
  canvas.heading("Pago");
  canvas.fields(values_of(doc, layout.payment), 2);
  for (const Block& block : layout.related) print_block(canvas, block, doc, 0);
}

void print_complements(PdfCanvas& canvas, const Element& doc) {
  const Element* complemento = doc.child("cfdi:Complemento");
  if (complemento == nullptr) return;
  for (const auto& child : complemento->children()) {
    if (child->name() == "tfd:TimbreFiscalDigital") continue;
    const ComplementLayout* layout = complement_layout(child->name());
    if (layout != nullptr) {
      canvas.heading(layout->title);
      for (const Block& block : layout->blocks) print_block(canvas, block, *child, 1);
      continue;
    }
    // A complement the form has no layout for is still named, with its
    // version, so that the reader knows the document carries it.
    std::string version = value_at(*child, "Version");
    if (version.empty()) version = value_at(*child, "version");
    canvas.heading("Complemento " + std::string(child->local_name()));
    canvas.paragraph(child->name() + (version.empty() ? "" : " versión " + version), Style::kBody);
  }
}

void print_seals(PdfCanvas& canvas, const Element& doc, const Element* stamp) {
  std::optional<drovanexis::cbb::QrMatrix> code;
  std::vector<LabelledValue> beside;
  if (stamp != nullptr) {
    code = drovanexis::cbb::encode_qr(drovanexis::cbb::cbb_content(verification_query(doc), 1),
                                      drovanexis::cbb::ErrorCorrection::kMedium);
  } else {
    beside.emplace_back("Estado", std::string(kUnstampedLegend));
  }
  beside.emplace_back("Sello digital del CFDI", value_at(doc, "Sello"));
  if (stamp != nullptr) {
    beside.emplace_back("Sello digital del SAT", value_at(*stamp, "SelloSAT"));
    beside.emplace_back("Cadena original del complemento de certificación digital del SAT",
                        drovanexis::cadena_tfd11(*stamp));
  }
  canvas.qr_block(stamp ? "Timbre fiscal digital" : "Sin timbre fiscal digital",
                  code ? &*code : nullptr, kUnstamped, 100, beside);
}

}  // namespace

PrintedCfdi print_cfdi(const Element& doc) {
  if (doc.name() != "cfdi:Comprobante") {
    throw PrintError("not a CFDI: the root element is " + doc.name());
  }
  const std::string version = value_at(doc, "Version");
  const VersionLayout* layout = layout_for_version(version);
  if (layout == nullptr) {
    throw PrintError("CFDI version \"" + version + "\" has no printed form");
  }
  const Element* stamp = stamp_of(doc);
  PrintedCfdi printed;
  printed.stamped = stamp != nullptr;
  PageDecoration decoration;
  decoration.footer = std::string(stamp ? kLegend : kUnstampedLegend);
  if (stamp != nullptr) decoration.footer += "\nFolio fiscal " + value_at(*stamp, "UUID");
  if (stamp == nullptr) decoration.watermark = std::string(kUnstamped);
  PdfCanvas canvas(printed.bytes, std::move(decoration));
  print_header(canvas, *layout, doc, stamp);
  print_lines(canvas, *layout, doc);
  print_totals(canvas, *layout, doc);
  print_complements(canvas, doc);
  print_seals(canvas, doc, stamp);
  canvas.paragraph(stamp ? kLegend : kUnstampedLegend, Style::kBold);
  canvas.finish();
  printed.pages = canvas.page_count();
  return printed;
}

}  // namespace pdf
