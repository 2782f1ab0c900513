#include "validate/decimal.h"

#include <algorithm>
#include <stdexcept>

namespace drovanexis {

namespace {

constexpr int kMaxParsedDecimals = 12;
constexpr int kMaxParsedDigits = 30;

[[noreturn]] void overflow() {
  throw std::overflow_error("importe demasiado grande para calcularlo con exactitud");
}

Int128 checked_mul(Int128 a, Int128 b) {
  Int128 result = 0;
  if (__builtin_mul_overflow(a, b, &result)) overflow();
  return result;
}

Int128 checked_add(Int128 a, Int128 b) {
  Int128 result = 0;
  if (__builtin_add_overflow(a, b, &result)) overflow();
  return result;
}

Int128 power_of_ten(int exponent) {
  Int128 result = 1;
  for (int i = 0; i < exponent; ++i) result = checked_mul(result, 10);
  return result;
}

// Quotient rounded towards minus infinity (C++ division cuts towards zero).
Int128 floor_div(Int128 a, Int128 b) {
  Int128 q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

Int128 ceil_div(Int128 a, Int128 b) { return -floor_div(-a, b); }

std::string_view trim_blanks(std::string_view text) {
  const auto is_blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<Decimal> Decimal::parse(std::string_view text) {
  text = trim_blanks(text);
  // The lexical forms of xs:decimal: an optional sign, and digits on either
  // side of an optional point (".160000" and "5." are numbers).
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const auto dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view fraction =
      dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if (fraction.size() > kMaxParsedDecimals || whole.size() + fraction.size() > kMaxParsedDigits) {
    return std::nullopt;
  }
  Int128 mantissa = 0;
  for (const std::string_view part : {whole, fraction}) {
    for (const char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
      mantissa = mantissa * 10 + (c - '0');
    }
  }
  return Decimal(negative ? -mantissa : mantissa, static_cast<int>(fraction.size()));
}

Decimal Decimal::half_unit(int decimals) { return Decimal(5, decimals + 1); }

Decimal Decimal::rescaled(int decimals) const {
  if (decimals <= decimals_) return *this;
  return Decimal(checked_mul(mantissa_, power_of_ten(decimals - decimals_)), decimals);
}

Decimal Decimal::operator+(const Decimal& other) const {
  const int places = std::max(decimals_, other.decimals_);
  return Decimal(checked_add(rescaled(places).mantissa_, other.rescaled(places).mantissa_), places);
}

Decimal Decimal::operator-(const Decimal& other) const {
  return *this + Decimal(-other.mantissa_, other.decimals_);
}

Decimal Decimal::operator*(const Decimal& other) const {
  return Decimal(checked_mul(mantissa_, other.mantissa_), decimals_ + other.decimals_);
}

Decimal Decimal::divide_floor(const Decimal& divisor, int decimals) const {
  if (divisor.mantissa_ == 0) throw std::domain_error("división entre cero");
  // (m1 / 10^d1) / (m2 / 10^d2) at `decimals` places:
  // floor(m1 × 10^(d2 + decimals − d1) / m2), scaling the divisor instead when
  // that exponent is negative.
  const int exponent = divisor.decimals_ + decimals - decimals_;
  const Int128 numerator =
      exponent >= 0 ? checked_mul(mantissa_, power_of_ten(exponent)) : mantissa_;
  const Int128 denominator =
      exponent >= 0 ? divisor.mantissa_ : checked_mul(divisor.mantissa_, power_of_ten(-exponent));
  return Decimal(floor_div(numerator, denominator), decimals);
}

Decimal Decimal::floor_to(int decimals) const {
  if (decimals >= decimals_) return rescaled(decimals);
  return Decimal(floor_div(mantissa_, power_of_ten(decimals_ - decimals)), decimals);
}

Decimal Decimal::ceil_to(int decimals) const {
  if (decimals >= decimals_) return rescaled(decimals);
  return Decimal(ceil_div(mantissa_, power_of_ten(decimals_ - decimals)), decimals);
}

Decimal Decimal::round_to(int decimals) const {
  if (decimals >= decimals_) return rescaled(decimals);
  const Int128 divisor = power_of_ten(decimals_ - decimals);
  const Int128 magnitude = mantissa_ < 0 ? -mantissa_ : mantissa_;
  const Int128 rounded = (magnitude + divisor / 2) / divisor;
  return Decimal(mantissa_ < 0 ? -rounded : rounded, decimals);
}

std::strong_ordering Decimal::operator<=>(const Decimal& other) const {
  const int places = std::max(decimals_, other.decimals_);
  return rescaled(places).mantissa_ <=> other.rescaled(places).mantissa_;
}

std::string Decimal::to_string() const {
  Int128 magnitude = mantissa_ < 0 ? -mantissa_ : mantissa_;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  if (decimals_ > 0) {
    const auto places = static_cast<std::size_t>(decimals_);
    if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
    digits.insert(digits.size() - places, 1, '.');
  }
  return mantissa_ < 0 ? "-" + digits : digits;
}

Bounds importe_bounds(const Decimal& cantidad, const Decimal& valor_unitario,
                      int importe_decimals) {
  const Decimal half_c = Decimal::half_unit(cantidad.decimals());
  const Decimal half_v = Decimal::half_unit(valor_unitario.decimals());
  const Decimal lower = (cantidad - half_c) * (valor_unitario - half_v);
  const Decimal upper = (cantidad + half_c) * (valor_unitario + half_v);
  return {lower.floor_to(importe_decimals), upper.ceil_to(importe_decimals)};
}

Bounds tax_bounds(const Decimal& base, const Decimal& rate, int importe_decimals) {
  const Decimal half_b = Decimal::half_unit(base.decimals());
  return {((base - half_b) * rate).floor_to(importe_decimals),
          ((base + half_b) * rate).ceil_to(importe_decimals)};
}

}  // namespace drovanexis
