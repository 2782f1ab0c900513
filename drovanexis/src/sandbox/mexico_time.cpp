#include "sandbox/mexico_time.h"

#include <charconv>

#include "document/output_rules.h"

namespace drovanexis::sandbox {

namespace {

// Central Mexico keeps UTC-6 all year since daylight saving time was abolished
// in October 2022. This standard library has no time-zone database
// (std::chrono::locate_zone), so the fixed offset stands in for it.
constexpr std::chrono::hours kMexicoOffset{-6};

bool read_number(std::string_view text, std::size_t position, std::size_t width, int& value) {
  const char* first = text.data() + position;
  const char* last = first + width;
  auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last;
}

}  // namespace

// The document model formats a Fecha the same way; one formatter serves both.
std::string format_mexico_time(Clock::time_point when) { return central_mexico_time(when); }

std::string mexico_now() { return format_mexico_time(Clock::now()); }

std::optional<Clock::time_point> parse_mexico_time(std::string_view text) {
  using namespace std::chrono;
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (!read_number(text, 0, 4, y) || !read_number(text, 5, 2, mo) || !read_number(text, 8, 2, d) ||
      !read_number(text, 11, 2, h) || !read_number(text, 14, 2, mi) ||
      !read_number(text, 17, 2, s)) {
    return std::nullopt;
  }
  const year_month_day date{year{y}, month{static_cast<unsigned>(mo)},
                            day{static_cast<unsigned>(d)}};
  if (!date.ok() || h > 23 || mi > 59 || s > 59) return std::nullopt;
  const auto local = sys_days{date} + hours{h} + minutes{mi} + seconds{s};
  return Clock::time_point{local - kMexicoOffset};
}

}  // namespace drovanexis::sandbox
