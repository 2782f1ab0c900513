#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace drovanexis {

// The one date-time type of the library: a moment on a wall clock with no
// time zone, as CFDI dates are written (Fecha is the local time of the place
// of issue). Counted in seconds from 1970-01-01T00:00:00 of the same clock, so
// that two such moments can be compared; to measure the time between two of
// them across a daylight-saving change, convert them to instants with
// central_mexico.h.
struct LocalDateTime {
  std::int64_t seconds = 0;

  static LocalDateTime from_civil(int year, unsigned month, unsigned day, int hour = 0,
                                  int minute = 0, int second = 0);
  auto operator<=>(const LocalDateTime&) const = default;
};

// "yyyy-mm-ddThh:mm:ss" with a real calendar date and a time of 00:00:00 to
// 23:59:59; nothing before or after it.
std::optional<LocalDateTime> parse_date_time(std::string_view text);

// Fecha of a CFDI 3.3: the same shape with a year of 2010 to 2099.
std::optional<LocalDateTime> parse_fecha(std::string_view text);

// "yyyy-mm-dd" with a real calendar date (dates of the payroll complement).
std::optional<LocalDateTime> parse_date(std::string_view text);

// "yyyy-mm-ddThh:mm:ss", the one formatter of the library.
std::string format_date_time(LocalDateTime moment);

// The calendar day as the number yyyymmdd (20210715), the form in which the
// catalogues' validity dates are compared.
int day_number(LocalDateTime moment);

}  // namespace drovanexis
