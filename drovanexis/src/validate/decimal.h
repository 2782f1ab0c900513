#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace drovanexis {

// 128-bit integer of GCC and Clang; marked as an extension so that pedantic
// builds accept it.
__extension__ using Int128 = __int128;

// An exact decimal number: mantissa × 10^-decimals. Amounts, rates and
// quantities of a CFDI are compared in this form, never in binary floating
// point, so that "1102.00" and the sum 1000.00 − 50.00 + 152.00 are equal to
// the last digit. `decimals` keeps the number of decimals as written, which
// several rules need ("no more decimals than the currency allows").
// Arithmetic that would overflow throws std::overflow_error.
class Decimal {
 public:
  Decimal() = default;
  Decimal(Int128 mantissa, int decimals) : mantissa_(mantissa), decimals_(decimals) {}

  // Accepts the forms of xs:decimal: an optional sign, digits and an optional
  // '.', with at least one digit (".5", "5.", "+1"; at most 12 decimals, at
  // most 30 digits in all); surrounding blanks are ignored as the schemas
  // collapse white space. Anything else gives nullopt.
  static std::optional<Decimal> parse(std::string_view text);
  static Decimal from_int(long long value) { return Decimal(value, 0); }
  // Half a unit of the last of `decimals` places: 10^-decimals / 2.
  static Decimal half_unit(int decimals);

  int decimals() const { return decimals_; }
  bool is_zero() const { return mantissa_ == 0; }
  bool is_negative() const { return mantissa_ < 0; }

  Decimal operator+(const Decimal& other) const;
  Decimal operator-(const Decimal& other) const;
  Decimal operator*(const Decimal& other) const;
  // Quotient cut (towards minus infinity) to `decimals` places.
  Decimal divide_floor(const Decimal& divisor, int decimals) const;

  // The value at `decimals` places: cut down, raised up, or rounded half
  // away from zero. A number already that short is only re-scaled.
  Decimal floor_to(int decimals) const;
  Decimal ceil_to(int decimals) const;
  Decimal round_to(int decimals) const;

  std::strong_ordering operator<=>(const Decimal& other) const;
  bool operator==(const Decimal& other) const { return (*this <=> other) == 0; }

  // The number with exactly its `decimals` places: "1102.00", "-0.5", "330".
  std::string to_string() const;

 private:
  Decimal rescaled(int decimals) const;  // exact, more places only

  Int128 mantissa_ = 0;
  int decimals_ = 0;
};

// The range within which a computed amount is accepted: the SAT's bounds
// that allow for the rounding of each factor to the decimals it was written
// with.
struct Bounds {
  Decimal lower;
  Decimal upper;
  bool contains(const Decimal& value) const { return lower <= value && value <= upper; }
};

// Concepto Importe = Cantidad × ValorUnitario:
//   lower = (Cantidad − 10^-dc/2) × (ValorUnitario − 10^-dv/2), cut to the
//           decimals of Importe,
//   upper = (Cantidad + 10^-dc/2) × (ValorUnitario + 10^-dv/2), raised to the
//           decimals of Importe,
// dc and dv being the decimals that Cantidad and ValorUnitario are written with.
Bounds importe_bounds(const Decimal& cantidad, const Decimal& valor_unitario, int importe_decimals);

// Tax Importe = Base × TasaOCuota: the rate is exact, only the base carries
// its rounding: (Base ∓ 10^-db/2) × TasaOCuota, cut / raised to the decimals
// of Importe.
Bounds tax_bounds(const Decimal& base, const Decimal& rate, int importe_decimals);

}  // namespace drovanexis
