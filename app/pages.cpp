#include "app/pages.h"

#include <array>
#include <string>

#include "app/globals.h"
#include "app/pages_texts.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"
#include "console/read_file.h"
#include "console/screen_save.h"
#include "console/viewer.h"
#include "console/wait_prompt.h"
#include "portable/cp1252.h"

namespace app {
namespace {

constexpr int kBannerRow2Blanks = 134;
constexpr int kPageTop = 3;

struct ValueRow {
  int row;
  int index;  // value index of DROVANEXIS_GETVALUE
  std::string_view label;
};

// The values page. Row 5 shows the result's description (value 2): the
// certificate number (value 3) is already on the certificates page and says
// nothing about an error.
constexpr std::array<ValueRow, 12> kValueRows{{
    {4, 1, "              No Error Tolvique: "},
    {5, 2, " Descripcion del Error Tolvique: "},
    {6, 13, "    No. de Operacion Velmoranet: "},
    {7, 11, "Fecha de inicio de vigencia CER: "},
    {8, 12, "   Fecha de fin de vigencia CER: "},
    {9, 10, "Fecha del timbre fiscal digital: "},
    {10, 9, "             UUID de la factura: "},
    {11, 14, "Cantidad de timbres disponibles: "},
    {12, 15, "             Version Drovanexis: "},
    {13, 16, "          Fecha del comprobante: "},
    {14, 17, "           Warning del servidor: "},
    {15, 18, " PAC que certifico el documento: "},
}};

// The value is asked for at `caller`'s line: a failing call names the step
// of the page that needed it.
std::string value_of(int handle, int index,
                     std::source_location caller = std::source_location::current()) {
  return DROVANEXIS_GETVALUE(binding::FirstArg(handle, caller), index);
}

void clear_screen() {
  con().clear();
  con().set_position(0, 0);
}

void show_full_width_viewer(std::string_view text,
                            std::source_location caller = std::source_location::current()) {
  console::view_text(con(), text, kPageTop, 0, con().last_row(), con().last_column(), caller);
}

// Page 2-5 of the success sequence: a value of the document in the viewer.
void show_value_page(int handle, int index, std::string_view title,
                     std::source_location caller = std::source_location::current()) {
  draw_banner(pages_banner_text(title, page2_to_5_title_blanks), colour_banner,
              banner_short_blanks);
  con().set_colour(colour_page);
  show_full_width_viewer(value_of(handle, index, caller), caller);
}

void wait_for_a_key(int cursor_row, std::source_location caller = std::source_location::current()) {
  con().write_at(cursor_row, 0, "");
  console::wait_prompt(con(), continue_message, caller);
}

}  // namespace

void show_wait_line(std::string_view message) {
  clear_screen();
  con().write_at(3, 5, message, colour_wait_line);
}

void draw_banner(std::string_view title_text, std::string_view colour, int row0_blanks) {
  con().set_colour(colour);
  con().write_at(0, 0, std::string(static_cast<std::size_t>(row0_blanks), ' '));
  con().write_at(1, 0, title_text);
  con().write_at(2, 0, std::string(kBannerRow2Blanks, ' '));
}

void show_viewer_page(std::string_view title_text, std::string_view colour, int row0_blanks,
                      std::string_view text, std::source_location caller) {
  console::RoutineFrame frame("VIEWER_PAGE", console::CalledFrom{caller});
  draw_banner(title_text, colour, row0_blanks);
  con().set_colour(colour_page);
  show_full_width_viewer(text);
}

void show_certificates_page(int handle, std::source_location caller) {
  console::RoutineFrame frame("CERTIFICATES_PAGE", console::CalledFrom{caller});
  draw_banner(pages_banner_text(title_certificados, certificados_title_blanks), colour_banner,
              banner_long_blanks);
  con().set_colour(colour_page);
  con().write_at(4, 0, std::string(label_certificado_cfdi) + value_of(handle, 3));
  con().write_at(6, 0, std::string(label_certificado_timbre) + value_of(handle, 6));
  wait_for_a_key(7);
}

void show_values_page(int handle, std::source_location caller) {
  console::RoutineFrame frame("VALUES_PAGE", console::CalledFrom{caller});
  draw_banner(pages_banner_text(title_otros_valores, otros_valores_title_blanks), colour_banner,
              banner_long_blanks);
  con().set_colour(colour_page);
  for (const ValueRow& row : kValueRows) {
    con().write_at(row.row, 0, std::string(row.label) + value_of(handle, row.index));
  }
  wait_for_a_key(16);
}

void show_error_page(std::source_location caller) {
  console::RoutineFrame frame("ERROR_PAGE", console::CalledFrom{caller});
  draw_banner(pages_banner_text(title_error, error_title_blanks), colour_error_banner,
              banner_short_blanks);
  cArchivo = console::read_file(library_log_file);
  con().set_colour(colour_page);
  show_full_width_viewer(cArchivo);
}

// Page 5 shows the stamp's seal (value 4) under its own title; the CFDI's
// seal (value 7) is page 4.
void show_success_sequence(int handle, std::string_view page1_title, std::string_view page1_file,
                           std::source_location caller) {
  console::RoutineFrame frame("SUCCESS_SEQUENCE", console::CalledFrom{caller});
  draw_banner(pages_banner_text(page1_title, page1_title_blanks), colour_banner,
              banner_short_blanks);
  con().set_colour(colour_page);
  cArchivo = console::read_file(page1_file);
  // The stamped XML is UTF-8; the console shows Windows-1252.
  show_full_width_viewer(portable::for_cp1252_display(cArchivo));

  clear_screen();
  show_value_page(handle, 5, title_cadena_cfdi);
  show_value_page(handle, 8, title_cadena_timbre);
  clear_screen();
  show_value_page(handle, 7, title_sello_cfdi);
  clear_screen();
  show_value_page(handle, 4, title_sello_timbre);
  clear_screen();
  show_certificates_page(handle);
  clear_screen();
  show_values_page(handle);
}

void show_split_result(std::string_view title_text, std::optional<std::string_view> result_line,
                       std::string_view left_file, std::string_view right_file,
                       std::source_location caller) {
  console::RoutineFrame frame("SPLIT_RESULT", console::CalledFrom{caller});
  console::save_screen(con());
  clear_screen();
  draw_banner(title_text, colour_banner, banner_long_blanks);
  con().set_colour(colour_page);
  if (result_line) con().write_at(4, 0, *result_line, colour_page);
  con().set_colour(colour_split_left);
  console::view_text(con(), console::read_file(left_file), 6, 0, 24, 40);
  con().set_colour(colour_split_right);
  console::view_text(con(), console::read_file(right_file), 6, 41, 24, 79);
  console::restore_screen(con());
  con().set_colour(colour_page);
}

}  // namespace app
