#include "tools/pdf/pdf_canvas.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <stdexcept>

namespace pdf {

namespace {

// Letter size, in points, and the margins.
constexpr double kPageWidth = 612;
constexpr double kPageHeight = 792;
constexpr double kMargin = 36;
constexpr double kFooterHeight = 22;
constexpr double kTop = kMargin;
constexpr double kBottom = kPageHeight - kMargin - kFooterHeight;
constexpr double kCellPad = 2.5;

// Every style in one family: DejaVu carries every character of Spanish and
// far beyond (the euro sign, Greek, Cyrillic, arrows), so nothing prints as
// a missing-glyph box.
constexpr std::array<const char*, 6> kFonts = {
    "DejaVu Sans 8",       "DejaVu Sans Bold 8",  "DejaVu Sans 6.5",
    "DejaVu Sans Bold 10", "DejaVu Sans Bold 15", "DejaVu Sans Mono 6",
};

double to_points(int pango_units) { return static_cast<double>(pango_units) / PANGO_SCALE; }
int to_pango(double points) { return static_cast<int>(points * PANGO_SCALE); }

cairo_status_t append_to_string(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

struct LayoutUnref {
  void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutUnref>;

// Amounts and quantities with decimals sit right-aligned in their column;
// codes ("002", "84111506") stay at the left like other text.
bool looks_numeric(std::string_view text) {
  if (text.find('.') == std::string_view::npos) return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-';
  });
}

// One laid-out text in a row: where it goes and which of its lines are done.
struct Cell {
  LayoutPtr layout;
  double x = 0;
  double width = 0;
  int next_line = 0;
  int line_count = 0;
};

}  // namespace

struct PdfCanvas::Impl {
  std::string& sink;
  PageDecoration decoration;
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  PangoContext* context = nullptr;
  std::array<PangoFontDescription*, kFonts.size()> fonts{};
  double y = kTop;
  int page = 1;
  bool in_table = false;
  std::vector<std::string> headers;
  std::vector<double> column_x;
  std::vector<double> column_width;

  Impl(std::string& out, PageDecoration decor) : sink(out), decoration(std::move(decor)) {
    surface = cairo_pdf_surface_create_for_stream(append_to_string, &sink, kPageWidth, kPageHeight);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "drovanexis");
    cr = cairo_create(surface);
    context = pango_cairo_create_context(cr);
    // One unit of the page is one point, so font sizes are in points.
    pango_cairo_context_set_resolution(context, 72);
    // Metrics independent of any screen: the same text breaks the same way
    // on every machine.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    for (std::size_t i = 0; i < kFonts.size(); ++i) {
      fonts[i] = pango_font_description_from_string(kFonts[i]);
    }
    decorate_page();
  }

  ~Impl() {
    for (auto* font : fonts) pango_font_description_free(font);
    if (context) g_object_unref(context);
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);
  }

  LayoutPtr layout(std::string_view text, Style style, double width,
                   PangoAlignment alignment = PANGO_ALIGN_LEFT) {
    LayoutPtr made(pango_layout_new(context));
    pango_layout_set_font_description(made.get(), fonts[static_cast<std::size_t>(style)]);
    pango_layout_set_width(made.get(), to_pango(width));
    // Seals and original strings break anywhere: Base64 has no words, and
    // breaking after its slashes wastes half a line.
    pango_layout_set_wrap(made.get(),
                          style == Style::kMono ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(made.get(), alignment);
    pango_layout_set_text(made.get(), text.data(), static_cast<int>(text.size()));
    return made;
  }

  double height_of(PangoLayout* made) const {
    int w = 0;
    int h = 0;
    pango_layout_get_size(made, &w, &h);
    return to_points(h);
  }

  void show(PangoLayout* made, double x, double at_y) {
    cairo_move_to(cr, x, at_y);
    pango_cairo_show_layout(cr, made);
  }

  void decorate_page() {
    if (!decoration.watermark.empty()) {
      cairo_save(cr);
      cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
      cairo_translate(cr, kPageWidth / 2, kPageHeight / 2);
      cairo_rotate(cr, -0.9);
      PangoFontDescription* big = pango_font_description_from_string("DejaVu Sans Bold 90");
      LayoutPtr mark(pango_layout_new(context));
      pango_layout_set_font_description(mark.get(), big);
      pango_font_description_free(big);
      pango_layout_set_text(mark.get(), decoration.watermark.c_str(), -1);
      int w = 0;
      int h = 0;
      pango_layout_get_size(mark.get(), &w, &h);
      show(mark.get(), -to_points(w) / 2, -to_points(h) / 2);
      cairo_restore(cr);
    }
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    const double foot_y = kPageHeight - kMargin - kFooterHeight + 8;
    LayoutPtr foot = layout(decoration.footer, Style::kSmall, kPageWidth - 2 * kMargin - 60);
    show(foot.get(), kMargin, foot_y);
    LayoutPtr number =
        layout("Página " + std::to_string(page), Style::kSmall, 56, PANGO_ALIGN_RIGHT);
    show(number.get(), kPageWidth - kMargin - 56, foot_y);
    cairo_set_source_rgb(cr, 0, 0, 0);
  }

  void new_page() {
    cairo_show_page(cr);
    ++page;
    y = kTop;
    decorate_page();
    if (in_table) draw_table_header();
  }

  void rule(double x0, double x1, double at_y, double grey) {
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_set_line_width(cr, 0.4);
    cairo_move_to(cr, x0, at_y);
    cairo_line_to(cr, x1, at_y);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
  }

  void draw_table_header() {
    std::vector<Cell> cells;
    double height = 0;
    for (std::size_t i = 0; i < headers.size(); ++i) {
      Cell cell;
      cell.layout = layout(headers[i], Style::kBold, column_width[i] - 2 * kCellPad);
      cell.x = column_x[i];
      height = std::max(height, height_of(cell.layout.get()));
      cells.push_back(std::move(cell));
    }
    height += 2 * kCellPad;
    cairo_set_source_rgb(cr, 0.88, 0.90, 0.94);
    cairo_rectangle(cr, kMargin, y, kPageWidth - 2 * kMargin, height);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (auto& cell : cells) show(cell.layout.get(), cell.x + kCellPad, y + kCellPad);
    y += height;
  }

  // Draws the cells side by side from the current position. A row that fits
  // is drawn whole; one that does not goes to a new page if a page can hold
  // it, and is otherwise drawn in pieces, each piece as many whole lines of
  // each cell as the page has room for.
  void flow_row(std::vector<Cell>& cells, bool ruled) {
    double height = 0;
    for (const auto& cell : cells) height = std::max(height, height_of(cell.layout.get()));
    height += 2 * kCellPad;
    const double page_room = kBottom - kTop - (in_table ? 30 : 0);
    if (y + height > kBottom && height <= page_room) new_page();
    if (y + height <= kBottom) {
      for (auto& cell : cells) show(cell.layout.get(), cell.x + kCellPad, y + kCellPad);
      y += height;
      if (ruled) rule(kMargin, kPageWidth - kMargin, y, 0.75);
      return;
    }
    for (auto& cell : cells) cell.line_count = pango_layout_get_line_count(cell.layout.get());
    const auto pending = [&] {
      return std::any_of(cells.begin(), cells.end(),
                         [](const Cell& c) { return c.next_line < c.line_count; });
    };
    while (pending()) {
      if (kBottom - y < 4 * kCellPad + 10) new_page();
      const double room = kBottom - y - 2 * kCellPad;
      double used = 0;
      for (auto& cell : cells) used = std::max(used, draw_lines(cell, room));
      y += used + 2 * kCellPad;
      if (ruled) rule(kMargin, kPageWidth - kMargin, y, 0.75);
      if (pending()) new_page();
    }
  }

  // Draws the cell's next lines that fit in `room` points (at least one, so
  // that a page always makes progress); returns the height drawn.
  double draw_lines(Cell& cell, double room) {
    if (cell.next_line >= cell.line_count) return 0;
    PangoLayoutIter* iter = pango_layout_get_iter(cell.layout.get());
    for (int i = 0; i < cell.next_line; ++i) pango_layout_iter_next_line(iter);
    double offset = -1;
    double used = 0;
    do {
      PangoRectangle logical;
      pango_layout_iter_get_line_extents(iter, nullptr, &logical);
      const double top = to_points(logical.y);
      const double bottom = to_points(logical.y + logical.height);
      if (offset < 0) offset = top;
      if (bottom - offset > room && used > 0) break;
      const double baseline = to_points(pango_layout_iter_get_baseline(iter)) - offset;
      cairo_move_to(cr, cell.x + kCellPad + to_points(logical.x), y + kCellPad + baseline);
      pango_cairo_show_layout_line(cr, pango_layout_iter_get_line_readonly(iter));
      used = bottom - offset;
      ++cell.next_line;
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    return used;
  }
};

PdfCanvas::PdfCanvas(std::string& sink, PageDecoration decoration)
    : impl_(std::make_unique<Impl>(sink, std::move(decoration))) {
  // Fontconfig puts another font in place of a missing one without a word;
  // that one may lack letters of Spanish, so a missing DejaVu is an error.
  PangoFont* font = pango_context_load_font(impl_->context, impl_->fonts[0]);
  std::string family;
  if (font != nullptr) {
    PangoFontDescription* loaded = pango_font_describe(font);
    if (const char* name = pango_font_description_get_family(loaded)) family = name;
    pango_font_description_free(loaded);
    g_object_unref(font);
  }
  if (family != "DejaVu Sans") {
    throw std::runtime_error(
        "the DejaVu fonts are missing (Debian package fonts-dejavu-core); fontconfig offered \"" +
        family + "\"");
  }
}

PdfCanvas::~PdfCanvas() = default;

double PdfCanvas::width() const { return kPageWidth - 2 * kMargin; }

int PdfCanvas::page_count() const { return impl_->page; }

void PdfCanvas::title(std::string_view left, std::string_view right) {
  std::vector<Cell> cells(2);
  const double half = width() / 2;
  cells[0].layout = impl_->layout(left, Style::kTitle, half * 1.3 - 2 * kCellPad);
  cells[0].x = kMargin;
  cells[1].layout =
      impl_->layout(right, Style::kHeading, half * 0.7 - 2 * kCellPad, PANGO_ALIGN_RIGHT);
  cells[1].x = kMargin + half * 1.3;
  impl_->flow_row(cells, false);
  impl_->rule(kMargin, kPageWidth - kMargin, impl_->y + 1, 0.2);
  impl_->y += 4;
}

void PdfCanvas::heading(std::string_view text, double keep) {
  LayoutPtr made = impl_->layout(text, Style::kHeading, width());
  const double height = impl_->height_of(made.get()) + 3;
  // A heading alone at the foot of a page helps no one: keep room for a
  // few lines under it.
  if (impl_->y + height + keep > kBottom) impl_->new_page();
  impl_->y += 4;
  cairo_set_source_rgb(impl_->cr, 0.1, 0.2, 0.45);
  impl_->show(made.get(), kMargin, impl_->y);
  cairo_set_source_rgb(impl_->cr, 0, 0, 0);
  impl_->y += height;
  impl_->rule(kMargin, kPageWidth - kMargin, impl_->y - 1.5, 0.5);
}

void PdfCanvas::subheading(std::string_view text) {
  LayoutPtr made = impl_->layout(text, Style::kBold, width());
  const double height = impl_->height_of(made.get()) + 2 * kCellPad;
  if (impl_->y + height + 40 > kBottom) impl_->new_page();
  impl_->show(made.get(), kMargin + kCellPad, impl_->y + kCellPad);
  impl_->y += height;
}

void PdfCanvas::paragraph(std::string_view text, Style style) {
  std::vector<Cell> cells(1);
  cells[0].layout = impl_->layout(text, style, width() - 2 * kCellPad);
  cells[0].x = kMargin;
  impl_->flow_row(cells, false);
}

void PdfCanvas::fields(const std::vector<LabelledValue>& pairs, int columns) {
  std::vector<const LabelledValue*> shown;
  for (const auto& pair : pairs) {
    if (!pair.second.empty()) shown.push_back(&pair);
  }
  const double column = width() / columns;
  for (std::size_t first = 0; first < shown.size(); first += static_cast<std::size_t>(columns)) {
    std::vector<Cell> cells;
    for (std::size_t i = first;
         i < std::min(shown.size(), first + static_cast<std::size_t>(columns)); ++i) {
      const std::string text = shown[i]->first + ": " + shown[i]->second;
      Cell cell;
      cell.layout = impl_->layout(text, Style::kBody, column - 2 * kCellPad);
      // The label in bold, the value plain.
      PangoAttrList* attributes = pango_attr_list_new();
      PangoAttribute* bold = pango_attr_weight_new(PANGO_WEIGHT_BOLD);
      bold->start_index = 0;
      bold->end_index = static_cast<guint>(shown[i]->first.size() + 1);
      pango_attr_list_insert(attributes, bold);
      pango_layout_set_attributes(cell.layout.get(), attributes);
      pango_attr_list_unref(attributes);
      cell.x = kMargin + column * static_cast<double>(i - first);
      cells.push_back(std::move(cell));
    }
    impl_->flow_row(cells, false);
  }
}

void PdfCanvas::space(double points) {
  impl_->y += points;
  if (impl_->y > kBottom) impl_->new_page();
}

void PdfCanvas::begin_table(std::vector<std::string> headers, std::vector<float> widths) {
  if (widths.size() != headers.size()) widths.assign(headers.size(), 1.0f);
  double total = 0;
  for (const float w : widths) total += w;
  impl_->headers = std::move(headers);
  impl_->column_x.clear();
  impl_->column_width.clear();
  double x = kMargin;
  for (const float w : widths) {
    impl_->column_x.push_back(x);
    impl_->column_width.push_back(width() * w / total);
    x += width() * w / total;
  }
  // The header with room for a row or two under it, else on the next page.
  if (impl_->y + 40 > kBottom) impl_->new_page();
  impl_->in_table = true;
  impl_->draw_table_header();
}

void PdfCanvas::table_row(const std::vector<std::string>& texts) {
  std::vector<Cell> cells;
  for (std::size_t i = 0; i < impl_->headers.size(); ++i) {
    const std::string_view text = i < texts.size() ? std::string_view(texts[i]) : "";
    Cell cell;
    cell.layout = impl_->layout(text, Style::kBody, impl_->column_width[i] - 2 * kCellPad,
                                looks_numeric(text) ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT);
    cell.x = impl_->column_x[i];
    cells.push_back(std::move(cell));
  }
  impl_->flow_row(cells, true);
}

void PdfCanvas::end_table() {
  impl_->in_table = false;
  impl_->y += 4;
}

void PdfCanvas::qr_block(std::string_view title, const drovanexis::cbb::QrMatrix* code,
                         std::string_view missing, double side,
                         const std::vector<LabelledValue>& beside) {
  std::string text;
  PangoAttrList* attributes = pango_attr_list_new();
  const auto styled = [&](std::string_view part, Style style) {
    PangoAttribute* font = pango_attr_font_desc_new(impl_->fonts[static_cast<std::size_t>(style)]);
    font->start_index = static_cast<guint>(text.size());
    text += part;
    font->end_index = static_cast<guint>(text.size());
    pango_attr_list_insert(attributes, font);
  };
  for (const auto& [label, value] : beside) {
    if (value.empty()) continue;
    if (!text.empty()) text += '\n';
    styled(label, Style::kBold);
    text += '\n';
    styled(value, Style::kMono);
  }
  LayoutPtr made = impl_->layout(text, Style::kBody, width() - side - 12);
  pango_layout_set_wrap(made.get(), PANGO_WRAP_CHAR);
  pango_layout_set_attributes(made.get(), attributes);
  pango_attr_list_unref(attributes);
  const double text_height = impl_->height_of(made.get());
  const bool text_beside = text_height <= kBottom - kTop - 40;
  const double height = text_beside ? std::max(side, text_height) : side;
  heading(title, height);
  cairo_t* cr = impl_->cr;
  const double x0 = kMargin;
  const double y0 = impl_->y;
  if (code != nullptr) {
    // Four light modules of quiet zone on each side, as readers expect.
    const double module = side / (code->width + 8);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (int row = 0; row < code->width; ++row) {
      // Runs of dark modules as one rectangle each: fewer, seamless shapes.
      int column = 0;
      while (column < code->width) {
        if (!code->is_dark(column, row)) {
          ++column;
          continue;
        }
        const int start = column;
        while (column < code->width && code->is_dark(column, row)) ++column;
        cairo_rectangle(cr, x0 + (start + 4) * module, y0 + (row + 4) * module,
                        (column - start) * module, module);
      }
    }
    cairo_fill(cr);
  } else {
    cairo_set_line_width(cr, 1.5);
    cairo_rectangle(cr, x0 + 4, y0 + 4, side - 8, side - 8);
    cairo_stroke(cr);
    LayoutPtr mark = impl_->layout(missing, Style::kHeading, side - 12, PANGO_ALIGN_CENTER);
    impl_->show(mark.get(), x0 + 6, y0 + side / 2 - impl_->height_of(mark.get()) / 2);
  }
  if (text_beside) {
    impl_->show(made.get(), x0 + side + 12, y0);
    impl_->y += height + 4;
    return;
  }
  impl_->y += height + 4;
  std::vector<Cell> cells(1);
  cells[0].layout = std::move(made);
  pango_layout_set_width(cells[0].layout.get(), to_pango(width() - 2 * kCellPad));
  cells[0].x = kMargin;
  impl_->flow_row(cells, false);
}

void PdfCanvas::finish() {
  // Finishing the surface ends the page in progress.
  cairo_surface_finish(impl_->surface);
  const cairo_status_t status = cairo_surface_status(impl_->surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error(std::string("cannot draw the PDF: ") + cairo_status_to_string(status));
  }
}

void release_drawing_caches() {
  // In this order: the font map holds cairo's faces, which hold fontconfig's
  // patterns.
  pango_cairo_font_map_set_default(nullptr);
  cairo_debug_reset_static_data();
  FcFini();
}

}  // namespace pdf
