#include "validate/schema_values.h"

#include <algorithm>
#include <cstdlib>

#include "validate/schema_pattern.h"

namespace drovanexis::schema {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool all_digits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), is_digit);
}

// A decimal split into its parts, without leading zeros in the integer part
// nor trailing zeros in the fraction: the digits of its value.
struct DecimalParts {
  bool negative = false;
  std::string_view integer;
  std::string_view fraction;
  bool is_zero() const { return integer.empty() && fraction.empty(); }
};

// The schema validator of reference reads a decimal into 24 digits: the
// integer part without its leading zeros and the fraction as written. A
// longer number is refused rather than judged on a rounded value.
constexpr std::size_t kMaxDecimalDigits = 24;

std::optional<DecimalParts> parse_decimal(std::string_view text, bool integer_only) {
  DecimalParts parts;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    parts.negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const auto dot = text.find('.');
  std::string_view integer = text.substr(0, dot);
  std::string_view fraction = dot == std::string_view::npos ? "" : text.substr(dot + 1);
  if (integer_only && dot != std::string_view::npos) return std::nullopt;
  if (integer.empty() && fraction.empty()) return std::nullopt;
  if (!integer.empty() && !all_digits(integer)) return std::nullopt;
  if (!fraction.empty() && !all_digits(fraction)) return std::nullopt;
  while (!integer.empty() && integer.front() == '0') integer.remove_prefix(1);
  if (integer.size() + fraction.size() > kMaxDecimalDigits) return std::nullopt;
  while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);
  parts.integer = integer;
  parts.fraction = fraction;
  if (parts.is_zero()) parts.negative = false;
  return parts;
}

int compare_magnitudes(const DecimalParts& a, const DecimalParts& b) {
  if (a.integer.size() != b.integer.size()) return a.integer.size() < b.integer.size() ? -1 : 1;
  if (const int c = a.integer.compare(b.integer); c != 0) return c < 0 ? -1 : 1;
  const int c = a.fraction.compare(b.fraction);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int compare_parts(const DecimalParts& a, const DecimalParts& b) {
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  const int magnitude = compare_magnitudes(a, b);
  return a.negative ? -magnitude : magnitude;
}

bool is_leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

// "Z", "+hh:mm" or "-hh:mm", or nothing.
bool valid_zone(std::string_view zone) {
  if (zone.empty() || zone == "Z") return true;
  if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':') return false;
  if (!all_digits(zone.substr(1, 2)) || !all_digits(zone.substr(4, 2))) return false;
  const int hours = number(zone.substr(1, 2));
  const int minutes = number(zone.substr(4, 2));
  return minutes < 60 && (hours < 14 || (hours == 14 && minutes == 0));
}

// yyyy-mm-dd with a real day of the month; returns what follows it.
std::optional<std::string_view> parse_date(std::string_view text) {
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = text.substr(0, 4), month = text.substr(5, 2), day = text.substr(8, 2);
  if (!all_digits(year) || !all_digits(month) || !all_digits(day)) return std::nullopt;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int m = number(month), d = number(day), y = number(year);
  if (y == 0 || m < 1 || m > 12 || d < 1) return std::nullopt;
  if (d > kDays[m - 1] + (m == 2 && is_leap(y) ? 1 : 0)) return std::nullopt;
  return text.substr(10);
}

bool valid_date(std::string_view text) {
  const auto rest = parse_date(text);
  return rest && valid_zone(*rest);
}

bool valid_date_time(std::string_view text) {
  auto rest = parse_date(text);
  if (!rest || rest->size() < 9 || (*rest)[0] != 'T' || (*rest)[3] != ':' || (*rest)[6] != ':')
    return false;
  const auto hh = rest->substr(1, 2), mm = rest->substr(4, 2), ss = rest->substr(7, 2);
  if (!all_digits(hh) || !all_digits(mm) || !all_digits(ss)) return false;
  const int h = number(hh), m = number(mm), s = number(ss);
  std::string_view tail = rest->substr(9);
  bool fraction = false;
  if (!tail.empty() && tail[0] == '.') {
    std::size_t digits = 1;
    while (digits < tail.size() && is_digit(tail[digits])) ++digits;
    if (digits == 1) return false;
    fraction = tail.substr(1, digits - 1).find_first_not_of('0') != std::string_view::npos;
    tail.remove_prefix(digits);
  }
  const bool midnight = h == 24 && m == 0 && s == 0 && !fraction;
  return (midnight || (h < 24 && m < 60 && s < 60)) && valid_zone(tail);
}

bool valid_base64(std::string_view text) {
  std::size_t count = 0, padding = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ') continue;
    const bool symbol =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || is_digit(c) || c == '+' || c == '/';
    if (c == '=') {
      ++padding;
    } else if (!symbol || padding > 0) {
      return false;
    }
    ++count;
  }
  return count % 4 == 0 && padding <= 2;
}

bool valid_nmtoken(std::string_view text) {
  if (text.empty()) return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || is_digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           c == '.' || c == '-' || c == '_' || c == ':';
  });
}

std::string quoted(std::string_view value) { return "«" + std::string(value) + "»"; }

ValueProblem problem(std::string_view rule, std::string explanation) {
  return {rule, std::move(explanation)};
}

std::optional<ValueProblem> check_lexical(Base base, std::string_view value) {
  bool valid = true;
  std::string_view kind;
  switch (base) {
    case Base::kString: return std::nullopt;
    case Base::kNmtoken: valid = valid_nmtoken(value), kind = "un NMTOKEN"; break;
    case Base::kDecimal:
      valid = parse_decimal(value, false).has_value();
      kind = "un decimal de hasta 24 dígitos";
      break;
    case Base::kInteger:
    case Base::kInt:
    case Base::kShort: {
      const auto parts = parse_decimal(value, true);
      valid = parts.has_value();
      kind = "un entero de hasta 24 dígitos";
      if (valid && base != Base::kInteger) {
        const char* limit = base == Base::kInt ? (parts->negative ? "2147483648" : "2147483647")
                                               : (parts->negative ? "32768" : "32767");
        const DecimalParts bound{false, limit, ""};
        valid = compare_magnitudes({false, parts->integer, ""}, bound) <= 0;
      }
      break;
    }
    case Base::kDate: valid = valid_date(value), kind = "una fecha aaaa-mm-dd"; break;
    case Base::kDateTime: valid = valid_date_time(value), kind = "una fecha y hora"; break;
    case Base::kBase64Binary: valid = valid_base64(value), kind = "un texto Base64"; break;
  }
  if (valid) return std::nullopt;
  return problem("tipo", "El valor " + quoted(value) + " no es " + std::string(kind) + ".");
}

bool is_numeric(Base base) {
  return base == Base::kDecimal || base == Base::kInteger || base == Base::kInt ||
         base == Base::kShort;
}

std::optional<ValueProblem> check_length(const SimpleType& type, std::string_view value) {
  if (type.length == kNone && type.min_length == kNone && type.max_length == kNone) return {};
  // Characters, not bytes: continuation bytes of UTF-8 do not count.
  const auto length =
      static_cast<std::int32_t>(std::count_if(value.begin(), value.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
      }));
  const auto text = [&](const char* what, std::int32_t limit) {
    return problem("longitud", "El valor " + quoted(value) + " tiene " + std::to_string(length) +
                                   " caracteres y " + what + " " + std::to_string(limit) + ".");
  };
  if (type.length != kNone && length != type.length) return text("debe tener", type.length);
  if (type.min_length != kNone && length < type.min_length)
    return text("debe tener al menos", type.min_length);
  if (type.max_length != kNone && length > type.max_length)
    return text("puede tener a lo más", type.max_length);
  return std::nullopt;
}

std::optional<ValueProblem> check_patterns(const SimpleType& type, std::string_view value,
                                           ValueScratch& scratch) {
  if (type.pattern_count == 0) return std::nullopt;
  decode_utf8(value, scratch.code_points);
  const Facts& tables = facts();
  for (std::uint32_t i = 0; i < type.pattern_count; ++i) {
    const std::uint16_t pattern = tables.type_patterns[type.first_pattern + i];
    if (!matches_pattern(pattern, scratch.code_points)) {
      return problem("patrón", "El valor " + quoted(value) + " no cumple el patrón " +
                                   std::string(tables.patterns[pattern]) + ".");
    }
  }
  return std::nullopt;
}

std::optional<ValueProblem> check_enumeration(const SimpleType& type, std::string_view value) {
  if (type.enumeration_count == 0) return std::nullopt;
  const auto values = facts().enumerations.subspan(type.first_enumeration, type.enumeration_count);
  bool found = false;
  if (is_numeric(type.base)) {
    const auto parts = parse_decimal(value, false);
    found = std::any_of(values.begin(), values.end(), [&](std::string_view allowed) {
      const auto allowed_parts = parse_decimal(allowed, false);
      return parts && allowed_parts && compare_parts(*parts, *allowed_parts) == 0;
    });
  } else {
    found = std::binary_search(values.begin(), values.end(), value);
  }
  if (found) return std::nullopt;
  return problem("enumeración", "El valor " + quoted(value) + " no está entre los " +
                                    std::to_string(values.size()) + " valores permitidos.");
}

std::optional<ValueProblem> check_number(const SimpleType& type, std::string_view value) {
  const auto parts = parse_decimal(value, false);
  if (!parts) return std::nullopt;  // the lexical check has reported it
  const auto fraction = static_cast<std::int32_t>(parts->fraction.size());
  if (type.fraction_digits != kNone && fraction > type.fraction_digits) {
    return problem("decimales", "El valor " + quoted(value) + " tiene " + std::to_string(fraction) +
                                    " decimales y puede tener a lo más " +
                                    std::to_string(type.fraction_digits) + ".");
  }
  const auto total = static_cast<std::int32_t>(parts->integer.size()) + fraction;
  if (type.total_digits != kNone && total > type.total_digits) {
    return problem("dígitos", "El valor " + quoted(value) + " tiene " + std::to_string(total) +
                                  " dígitos y puede tener a lo más " +
                                  std::to_string(type.total_digits) + ".");
  }
  const auto bound = [&](std::string_view limit, bool below_fails, bool equal_fails,
                         const char* what) -> std::optional<ValueProblem> {
    if (limit.empty()) return std::nullopt;
    const auto limit_parts = parse_decimal(limit, false);
    if (!limit_parts) return std::nullopt;
    const int order = compare_parts(*parts, *limit_parts);
    if ((below_fails ? order < 0 : order > 0) || (equal_fails && order == 0)) {
      return problem("intervalo", "El valor " + quoted(value) + " debe ser " + what + " " +
                                      std::string(limit) + ".");
    }
    return std::nullopt;
  };
  if (auto found = bound(type.min_inclusive, true, false, "mayor o igual que")) return found;
  if (auto found = bound(type.min_exclusive, true, true, "mayor que")) return found;
  if (auto found = bound(type.max_inclusive, false, false, "menor o igual que")) return found;
  return bound(type.max_exclusive, false, true, "menor que");
}

}  // namespace

std::string_view apply_white_space(WhiteSpace rule, std::string_view value, ValueScratch& scratch) {
  if (rule == WhiteSpace::kPreserve) return value;
  const auto is_space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  // One pass to see whether anything changes: most values are already clean
  // (and some, the certificate and the seal, are long).
  bool changes = false;
  if (rule == WhiteSpace::kReplace) {
    changes = std::any_of(value.begin(), value.end(),
                          [](char c) { return c == '\t' || c == '\n' || c == '\r'; });
  } else {
    // Only bytes up to the blank can matter: a tab or line end, a leading
    // blank, or a blank after another.
    for (std::size_t k = 0; k < value.size() && !changes; ++k) {
      const auto c = static_cast<unsigned char>(value[k]);
      if (c > ' ') continue;
      changes = c == ' ' ? k == 0 || value[k - 1] == ' ' : c == '\t' || c == '\n' || c == '\r';
    }
    changes = changes || (!value.empty() && value.back() == ' ');
  }
  if (!changes) return value;
  std::string& out = scratch.normalized;
  out.clear();
  for (char c : value) {
    const char mapped = is_space(c) ? ' ' : c;
    if (rule == WhiteSpace::kCollapse && mapped == ' ' && (out.empty() || out.back() == ' '))
      continue;
    out.push_back(mapped);
  }
  if (rule == WhiteSpace::kCollapse && !out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::optional<ValueProblem> check_value(const SimpleType& type, std::string_view value,
                                        ValueScratch& scratch) {
  if (auto found = check_lexical(type.base, value)) return found;
  if (auto found = check_length(type, value)) return found;
  if (auto found = check_patterns(type, value, scratch)) return found;
  if (auto found = check_enumeration(type, value)) return found;
  if (is_numeric(type.base)) return check_number(type, value);
  return std::nullopt;
}

int compare_decimals(std::string_view a, std::string_view b) {
  return compare_parts(parse_decimal(a, false).value(), parse_decimal(b, false).value());
}

}  // namespace drovanexis::schema
