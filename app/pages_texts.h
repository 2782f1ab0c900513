#pragma once
// The fixed texts of the result pages (Windows-1252 bytes). Banner titles are
// given without their trailing blanks; pages_banner_text() adds them.

#include <string>
#include <string_view>

namespace app {

// A banner's row-1 text: the title followed by `blanks` blanks.
inline std::string pages_banner_text(std::string_view title, std::size_t blanks) {
  return std::string(title) + std::string(blanks, ' ');
}

// Colours of the pages.
inline constexpr std::string_view colour_wait_line = "W*/R";
inline constexpr std::string_view colour_banner = "W+/B";
inline constexpr std::string_view colour_error_banner = "W+/R";
inline constexpr std::string_view colour_page = "W+/N";
inline constexpr std::string_view colour_split_left = "W+/G";
inline constexpr std::string_view colour_split_right = "W+/R";

// Lengths of the blank texts on rows 0 and 2 of a banner.
inline constexpr int banner_short_blanks = 133;
inline constexpr int banner_long_blanks = 134;

// Page-1 titles of the six issuing scenarios; 78 blanks follow each.
inline constexpr std::string_view title_simple =
    " Este es su comprobante fiscal Digital (Presione <Esc> para salir)";
inline constexpr std::string_view title_pagos =
    " Este es su comprobante fiscal Digital con Pagos 1.0 (Presione <Esc> para salir)";
inline constexpr std::string_view title_nomina =
    " Este es su comprobante fiscal Digital con Nomina 1.2 (Presione <Esc> para salir)";
inline constexpr std::string_view title_carta_porte_10 =
    " Este es su comprobante fiscal Digital con Carta Porte 1.0 (Presione <Esc> para salir)";
inline constexpr std::string_view title_carta_porte_20 =
    " Este es su comprobante fiscal Digital con Carta Porte 2.0 (Presione <Esc> para salir)";
inline constexpr std::string_view title_externo =
    " Este es su comprobante fiscal Digital del XML Externo (Presione <Esc> para salir)";
inline constexpr std::size_t page1_title_blanks = 78;

// Pages 2-5 of the success sequence; 116 blanks follow each.
inline constexpr std::string_view title_cadena_cfdi =
    " Esta es la Cadena Original del CFDI (Presione <Esc> para salir)";
inline constexpr std::string_view title_cadena_timbre =
    " Esta es la Cadena Original del timbre fiscal digital (Presione <Esc> para salir)";
inline constexpr std::string_view title_sello_cfdi =
    " Este es el Sello Digital del CFDI (Presione <Esc> para Salir)";
inline constexpr std::string_view title_sello_timbre =
    " Este es el Sello Digital del timbre fiscal (Presione <Esc> para Salir)";
inline constexpr std::size_t page2_to_5_title_blanks = 116;

inline constexpr std::string_view title_certificados = " Certificados";
inline constexpr std::size_t certificados_title_blanks = 121;
inline constexpr std::string_view title_otros_valores = " Otros valores importantes";
inline constexpr std::size_t otros_valores_title_blanks = 108;
inline constexpr std::string_view title_error =
    " Al parecer hay errores en su comprobante fiscal (Presione <Esc> para Salir)";
inline constexpr std::size_t error_title_blanks = 68;

inline constexpr std::string_view label_certificado_cfdi = "Certificado del CFDI:   ";
inline constexpr std::string_view label_certificado_timbre = "Certificado del timbre: ";

inline constexpr std::string_view continue_message = "Presione cualquier tecla para continuar ...";
inline constexpr std::string_view library_log_file = "Drovanexis.log";

}  // namespace app
