#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cbb/qr_matrix.h"

namespace pdf {

enum class Style { kBody, kBold, kSmall, kHeading, kTitle, kMono };

// A label and its value, as the form prints them ("RFC: CACX7605101P8").
using LabelledValue = std::pair<std::string, std::string>;

// What every page carries besides its flowing content.
struct PageDecoration {
  std::string footer;     // a line at the foot, with the page number after it
  std::string watermark;  // large grey text across the page; none when empty
};

// Letter-size pages drawn top to bottom with Cairo and Pango: text that
// wraps to its width (breaking inside words that are longer than a line) and
// flows onto new pages line by line, labelled values in columns, tables whose
// header is drawn again at the top of each page they continue on, and a QR
// code. The PDF's bytes go to `sink` as each page ends, so memory does not
// grow with the pages already written.
class PdfCanvas {
 public:
  PdfCanvas(std::string& sink, PageDecoration decoration);
  ~PdfCanvas();
  PdfCanvas(const PdfCanvas&) = delete;
  PdfCanvas& operator=(const PdfCanvas&) = delete;

  // The width of the content between the margins, in points.
  double width() const;
  int page_count() const;

  // A line of large text: the left part left-aligned, the right part
  // right-aligned on the same line.
  void title(std::string_view left, std::string_view right);
  // A section heading kept on one page with the `keep` points after it.
  void heading(std::string_view text, double keep = 40);
  // A smaller heading inside a section, kept with what follows it as
  // heading() is.
  void subheading(std::string_view text);
  void paragraph(std::string_view text, Style style);
  // The pairs with a value, `columns` to a row.
  void fields(const std::vector<LabelledValue>& pairs, int columns);
  void space(double points);

  // A table: `widths` are relative. Rows are added one by one; a row that
  // does not fit goes to the next page below the repeated header, and a row
  // taller than a page is split between lines of its text.
  void begin_table(std::vector<std::string> headers, std::vector<float> widths);
  void table_row(const std::vector<std::string>& cells);
  void end_table();

  // The QR code at the left, `side` points square (or, when `code` is null,
  // a box with `missing` in it), and to its right each label in bold over
  // its text in a fixed-width face (seals, original strings), wrapped to
  // fit. Texts too long to sit beside the code flow below it instead.
  // The block starts on a new page, under its heading `title`, when the
  // rest of this one cannot hold it.
  void qr_block(std::string_view title, const drovanexis::cbb::QrMatrix* code,
                std::string_view missing, double side, const std::vector<LabelledValue>& beside);

  // Ends the last page and the document; throws std::runtime_error when
  // Cairo failed to make it.
  void finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Frees what Pango, Cairo and fontconfig keep for the whole process (the
// fonts found, the faces loaded), for a program that has finished drawing:
// nothing is left for a leak checker to report at exit. No drawing may
// follow, and other threads must have ended.
void release_drawing_caches();

}  // namespace pdf
