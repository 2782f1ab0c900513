#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "document/element.h"

namespace drovanexis {

// The date placeholder a caller puts in Fecha to mean "the moment of processing".
inline constexpr std::string_view kDatePlaceholder = "%cb_date";

// True for a decimal text whose value is zero ("0", "0.00", "000.0").
bool is_zero_amount(std::string_view text);

// Receipts of type T (transfer) and P (payment) may carry no Descuento; one of
// zero carries no value, so it is left out rather than make the receipt invalid.
bool descuento_carries_no_value(const Element& comprobante);
void omit_valueless_descuento(Element& comprobante);

// Readies a built Comprobante for sealing: Fecha "%cb_date" becomes `now`
// (yyyy-mm-ddThh:mm:ss) and a Descuento without value is removed, so that the
// original string, the seal and the written XML all see the same tree.
void prepare_for_sealing(Element& comprobante, std::string_view now);

// The local time of central Mexico (with its daylight saving time until
// October 2022) as yyyy-mm-ddThh:mm:ss.
std::string central_mexico_time(std::chrono::system_clock::time_point when);
std::string central_mexico_now();

}  // namespace drovanexis
