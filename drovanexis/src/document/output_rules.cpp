#include "document/output_rules.h"

#include "time/central_mexico.h"

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
  return central_mexico::format(when);
}

std::string central_mexico_now() { return central_mexico_time(std::chrono::system_clock::now()); }

}  // namespace drovanexis
