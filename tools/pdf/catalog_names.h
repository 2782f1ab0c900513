#pragma once

#include <string_view>

namespace pdf {

// The names of the codes a reader of the printed form meets most, so that
// it shows "03 - Transferencia electrónica de fondos" and not "03" alone.
// "" for a code the table does not hold: the form then shows the code.
std::string_view payment_form_name(std::string_view code);
std::string_view payment_method_name(std::string_view code);
std::string_view cfdi_use_name(std::string_view code);
std::string_view tax_regime_name(std::string_view code);
std::string_view tax_name(std::string_view code);
// CFDI 4.0: the export key and a global invoice's period.
std::string_view export_name(std::string_view code);
std::string_view periodicity_name(std::string_view code);
std::string_view months_name(std::string_view code);

}  // namespace pdf
