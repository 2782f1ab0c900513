#include "sandbox/mexico_time.h"

#include <gtest/gtest.h>

namespace drovanexis::sandbox {
namespace {

using namespace std::chrono;

TEST(MexicoTime, SixHoursBehindUtcAcrossDayAndYearEnds) {
  const Clock::time_point new_year_utc = sys_days{2025y / January / 1} + hours(3) + seconds(7);
  EXPECT_EQ(format_mexico_time(new_year_utc), "2024-12-31T21:00:07");
  // Summer: no daylight saving time any more.
  const Clock::time_point summer_utc = sys_days{2025y / July / 15} + hours(18);
  EXPECT_EQ(format_mexico_time(summer_utc), "2025-07-15T12:00:00");
}

TEST(MexicoTime, ParseIsTheInverseOfFormat) {
  const Clock::time_point when = sys_days{2024y / February / 29} + hours(23) + minutes(59);
  const auto parsed = parse_mexico_time(format_mexico_time(when));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(*parsed, when);
}

TEST(MexicoTime, MalformedOrImpossibleDatesAreRejected) {
  for (const char* text : {"", "2025-02-30T10:00:00", "2025-13-01T10:00:00", "2025-01-01T24:00:00",
                           "2025-01-01 10:00:00", "2025-01-01T10:00", "2025-01-01T10:00:00Z",
                           "%cb_date", "2025-0a-01T10:00:00"}) {
    EXPECT_FALSE(parse_mexico_time(text)) << text;
  }
}

}  // namespace
}  // namespace drovanexis::sandbox
