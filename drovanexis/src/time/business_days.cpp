#include "time/business_days.h"

#include <chrono>

namespace drovanexis {

namespace {

using namespace std::chrono;

constexpr std::int64_t kSecondsPerDay = 86400;

sys_days day_of(LocalDateTime moment) {
  // Floor division: moments before 1970 belong to the day that contains them.
  std::int64_t days_since_epoch = moment.seconds / kSecondsPerDay;
  if (moment.seconds % kSecondsPerDay < 0) --days_since_epoch;
  return sys_days{days{days_since_epoch}};
}

bool is_nth_monday(const year_month_day& date, unsigned n, unsigned month_number) {
  return date.month() == month{month_number} &&
         sys_days{date} == sys_days{year_month_weekday{date.year(), date.month(), Monday[n]}};
}

bool is_rest_day(const year_month_day& date) {
  const unsigned m = static_cast<unsigned>(date.month());
  const unsigned d = static_cast<unsigned>(date.day());
  const int y = static_cast<int>(date.year());
  if ((m == 1 && d == 1) || (m == 5 && d == 1) || (m == 9 && d == 16) || (m == 12 && d == 25)) {
    return true;
  }
  // The federal executive takes office on 1 October every six years since 2024.
  if (m == 10 && d == 1 && y >= 2024 && (y - 2024) % 6 == 0) return true;
  return is_nth_monday(date, 1, 2) || is_nth_monday(date, 3, 3) || is_nth_monday(date, 3, 11);
}

bool is_business(sys_days day) {
  const weekday wd{day};
  if (wd == Saturday || wd == Sunday) return false;
  return !is_rest_day(year_month_day{day});
}

}  // namespace

bool is_business_day(LocalDateTime day) { return is_business(day_of(day)); }

LocalDateTime end_of_business_days_after(LocalDateTime moment, int count) {
  sys_days day = day_of(moment);
  for (int found = 0; found < count;) {
    day += days{1};
    if (is_business(day)) ++found;
  }
  day += days{1};
  return LocalDateTime{day.time_since_epoch().count() * kSecondsPerDay};
}

}  // namespace drovanexis
