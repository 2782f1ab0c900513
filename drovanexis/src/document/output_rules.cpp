#include "document/output_rules.h"

#include <cstdio>

namespace drovanexis {

bool is_zero_amount(std::string_view text) {
  bool digit_seen = false;
  bool point_seen = false;
  for (const char c : text) {
    if (c == '0') {
      digit_seen = true;
    } else if (c == '.' && !point_seen) {
      point_seen = true;
    } else {
      return false;
    }
  }
  return digit_seen;
}

bool descuento_carries_no_value(const Element& comprobante) {
  const std::string* tipo = comprobante.attribute("TipoDeComprobante");
  const std::string* descuento = comprobante.attribute("Descuento");
  if (tipo == nullptr || descuento == nullptr) return false;
  return (*tipo == "T" || *tipo == "P") && is_zero_amount(*descuento);
}

void omit_valueless_descuento(Element& comprobante) {
  if (descuento_carries_no_value(comprobante)) comprobante.remove_attribute("Descuento");
}

void prepare_for_sealing(Element& comprobante, std::string_view now) {
  const std::string* fecha = comprobante.attribute("Fecha");
  if (fecha != nullptr && *fecha == kDatePlaceholder)
    comprobante.set_attribute("Fecha", std::string(now));
  omit_valueless_descuento(comprobante);
}

std::string central_mexico_time(std::chrono::system_clock::time_point when) {
  using namespace std::chrono;
  const auto local = floor<seconds>(when) - hours(6);
  const auto day = floor<days>(local);
  const year_month_day date{day};
  const hh_mm_ss time{local - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

std::string central_mexico_now() { return central_mexico_time(std::chrono::system_clock::now()); }

}  // namespace drovanexis
