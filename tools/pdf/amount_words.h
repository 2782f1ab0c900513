#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace pdf {

// An amount that cannot be written in words (not a decimal number, negative,
// or beyond the trillions).
class AmountError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// A non-negative whole number in Spanish words, upper case, with the short
// form of "uno" that goes before a masculine noun ("VEINTIÚN", "UN MILLÓN").
// Up to 999,999,999,999,999,999.
std::string number_in_words(unsigned long long number);

// The total as printed on the invoice: the pesos (or units of the currency)
// in words, the cents in figures over 100 and the currency: "MIL CIENTO DOS
// PESOS 00/100 M.N.", "UN DÓLAR 50/100 USD", "VEINTE 00/100 JPY". The amount
// is the document's decimal text; more than two decimals are rounded half up.
// Throws AmountError for a text that is not such a number.
std::string amount_in_words(std::string_view amount, std::string_view currency);

}  // namespace pdf
