#include "time/civil_time.h"

#include <chrono>
#include <cstdio>

namespace drovanexis {

namespace {

// Reads `count` digits at `position`; nullopt when any is not a digit.
std::optional<int> digits_at(std::string_view text, std::size_t position, std::size_t count) {
  int value = 0;
  for (std::size_t i = position; i < position + count; ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

struct CivilDate {
  int year;
  unsigned month;
  unsigned day;
};

std::optional<CivilDate> read_date(std::string_view text) {
  const auto year = digits_at(text, 0, 4);
  const auto month = digits_at(text, 5, 2);
  const auto day = digits_at(text, 8, 2);
  if (!year || !month || !day || text[4] != '-' || text[7] != '-') return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(*year),
                                         std::chrono::month(static_cast<unsigned>(*month)),
                                         std::chrono::day(static_cast<unsigned>(*day))};
  if (!date.ok()) return std::nullopt;
  return CivilDate{*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day)};
}

}  // namespace

LocalDateTime LocalDateTime::from_civil(int year, unsigned month, unsigned day, int hour,
                                        int minute, int second) {
  const std::chrono::sys_days days{std::chrono::year(year) / std::chrono::month(month) /
                                   std::chrono::day(day)};
  const std::int64_t day_count = days.time_since_epoch().count();
  return {day_count * 86400 + hour * 3600 + minute * 60 + second};
}

std::optional<LocalDateTime> parse_date(std::string_view text) {
  if (text.size() != 10) return std::nullopt;
  const auto date = read_date(text);
  if (!date) return std::nullopt;
  return LocalDateTime::from_civil(date->year, date->month, date->day);
}

std::optional<LocalDateTime> parse_date_time(std::string_view text) {
  if (text.size() != 19 || text[10] != 'T' || text[13] != ':' || text[16] != ':')
    return std::nullopt;
  const auto date = read_date(text);
  const auto hour = digits_at(text, 11, 2);
  const auto minute = digits_at(text, 14, 2);
  const auto second = digits_at(text, 17, 2);
  if (!date || !hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59)
    return std::nullopt;
  return LocalDateTime::from_civil(date->year, date->month, date->day, *hour, *minute, *second);
}

std::optional<LocalDateTime> parse_fecha(std::string_view text) {
  const auto moment = parse_date_time(text);
  if (!moment) return std::nullopt;
  const int year = *digits_at(text, 0, 4);
  if (year < 2010 || year > 2099) return std::nullopt;
  return moment;
}

namespace {

std::int64_t day_count_of(LocalDateTime moment) {
  return moment.seconds >= 0 ? moment.seconds / 86400 : (moment.seconds - 86399) / 86400;
}

}  // namespace

int day_number(LocalDateTime moment) {
  const std::chrono::year_month_day date{
      std::chrono::sys_days{std::chrono::days{day_count_of(moment)}}};
  return static_cast<int>(date.year()) * 10000 + static_cast<int>(unsigned(date.month())) * 100 +
         static_cast<int>(unsigned(date.day()));
}

std::string format_date_time(LocalDateTime moment) {
  const std::int64_t day_count = day_count_of(moment);
  const std::int64_t second_of_day = moment.seconds - day_count * 86400;
  const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{day_count}}};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(second_of_day / 3600), static_cast<int>(second_of_day % 3600 / 60),
                static_cast<int>(second_of_day % 60));
  return text;
}

}  // namespace drovanexis
