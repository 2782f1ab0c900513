#include "time/civil_time.h"

#include <gtest/gtest.h>

#include <chrono>

#include "time/central_mexico.h"

namespace drovanexis {
namespace {

TEST(CivilTimeTest, ParsesOnlyRealDatesInTheCfdiShape) {
  struct Case {
    const char* text;
    bool fecha;  // accepted as a CFDI 3.3 Fecha
  };
  const Case cases[] = {
      {"2021-12-01T10:15:00", true},  {"2024-02-29T23:59:59", true},
      {"2023-02-29T10:00:00", false}, {"2021-12-01T24:00:00", false},
      {"2021-12-01 10:15:00", false}, {"2009-12-31T10:00:00", false},
      {"2021-12-01T10:15", false},    {"2021-12-01T10:15:00Z", false},
      {"2021-13-01T10:15:00", false},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_fecha(c.text).has_value(), c.fecha) << c.text;
  const auto moment = parse_date_time("2021-12-01T10:15:00");
  ASSERT_TRUE(moment);
  EXPECT_EQ(format_date_time(*moment), "2021-12-01T10:15:00");
  EXPECT_EQ(parse_date_time("2021-12-04T10:15:00")->seconds - moment->seconds, 72 * 3600);
  EXPECT_EQ(format_date_time(LocalDateTime{moment->seconds - 11 * 3600}), "2021-11-30T23:15:00");
  EXPECT_TRUE(parse_date("2017-01-16"));
  EXPECT_FALSE(parse_date("2017-01-32"));
  EXPECT_FALSE(parse_date("2017-1-16"));
}

// Seconds since 1970 of a UTC time.
central_mexico::Instant utc(int y, unsigned mo, unsigned d, int h, int mi = 0) {
  return central_mexico::Instant{
      std::chrono::seconds{LocalDateTime::from_civil(y, mo, d, h, mi).seconds}};
}

LocalDateTime local(const char* text) { return *parse_date_time(text); }

TEST(CentralMexicoTest, FollowsSummerTimeUntilItsAbolitionIn2022) {
  struct Case {
    const char* local;
    central_mexico::Instant utc;
  };
  const Case cases[] = {
      {"2021-01-15T12:00:00", utc(2021, 1, 15, 18)},   // winter: UTC-6
      {"2021-07-15T12:00:00", utc(2021, 7, 15, 17)},   // summer 2021: UTC-5
      {"2022-04-03T03:00:00", utc(2022, 4, 3, 8)},     // first summer hour of 2022
      {"2022-10-29T12:00:00", utc(2022, 10, 29, 17)},  // last summer day
      {"2022-10-30T12:00:00", utc(2022, 10, 30, 18)},  // summer time over
      {"2023-07-15T12:00:00", utc(2023, 7, 15, 18)},   // no summer time since
      {"2024-12-31T21:00:07", utc(2025, 1, 1, 3) + std::chrono::seconds(7)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(central_mexico::instant(local(c.local)), c.utc) << c.local;
    EXPECT_EQ(central_mexico::format(c.utc), c.local);
  }
  EXPECT_EQ(central_mexico::utc_offset_seconds(utc(2021, 7, 15, 17)), -5 * 3600);
  EXPECT_EQ(central_mexico::utc_offset_seconds(utc(2023, 7, 15, 17)), -6 * 3600);
}

TEST(CentralMexicoTest, CountsRealTimeAcrossTheChangesOfOffset) {
  // 2022-10-30: 02:00 summer time became 01:00; the hour 01:00-02:00 was lived twice.
  EXPECT_EQ(
      central_mexico::seconds_between(local("2022-10-30T00:30:00"), local("2022-10-30T03:30:00")),
      4 * 3600);
  // A repeated time is taken at its first occurrence (still summer time).
  EXPECT_EQ(central_mexico::instant(local("2022-10-30T01:30:00")), utc(2022, 10, 30, 6, 30));
  // 2021-04-04: 02:00 became 03:00; 02:30 never occurred and reads as 03:30.
  EXPECT_EQ(central_mexico::instant(local("2021-04-04T02:30:00")), utc(2021, 4, 4, 8, 30));
  EXPECT_EQ(
      central_mexico::seconds_between(local("2021-04-04T01:30:00"), local("2021-04-04T03:30:00")),
      3600);
  // In 2023 the same nights have no change.
  EXPECT_EQ(
      central_mexico::seconds_between(local("2023-10-29T00:30:00"), local("2023-10-29T03:30:00")),
      3 * 3600);
}

TEST(CivilTimeTest, DayNumberIsTheCalendarDay) {
  EXPECT_EQ(day_number(local("2021-07-15T23:59:59")), 20210715);
  EXPECT_EQ(day_number(local("1999-12-31T00:00:00")), 19991231);
}

}  // namespace
}  // namespace drovanexis
