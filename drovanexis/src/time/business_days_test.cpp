#include "time/business_days.h"

#include <gtest/gtest.h>

namespace drovanexis {
namespace {

LocalDateTime at(int y, unsigned m, unsigned d, int h = 0) {
  return LocalDateTime::from_civil(y, m, d, h);
}

TEST(BusinessDaysTest, WeekendsAndRestDaysAreNotBusinessDays) {
  struct Case {
    LocalDateTime day;
    bool business;
  } const cases[] = {
      {at(2025, 6, 13), true},    // a Friday
      {at(2025, 6, 14), false},   // Saturday
      {at(2025, 6, 15), false},   // Sunday
      {at(2025, 1, 1), false},    // New Year
      {at(2025, 2, 3), false},    // first Monday of February
      {at(2025, 2, 10), true},    // second Monday of February
      {at(2025, 3, 17), false},   // third Monday of March
      {at(2025, 5, 1), false},    // Thursday, 1 May
      {at(2025, 9, 16), false},   // Tuesday, 16 September
      {at(2025, 11, 17), false},  // third Monday of November
      {at(2025, 12, 25), false},  // Thursday
      {at(2024, 10, 1), false},   // a change of federal executive
      {at(2025, 10, 1), true},    // not one
  };
  for (const Case& c : cases) {
    EXPECT_EQ(is_business_day(c.day), c.business) << format_date_time(c.day);
  }
}

TEST(BusinessDaysTest, EndOfBusinessDaysSkipsWhatIsNotOne) {
  struct Case {
    LocalDateTime from;
    int count;
    LocalDateTime end;
  } const cases[] = {
      {at(2025, 6, 10, 23), 1, at(2025, 6, 12)},   // Tuesday: by the end of Wednesday
      {at(2025, 6, 13, 9), 1, at(2025, 6, 17)},    // Friday: by the end of Monday
      {at(2025, 6, 14, 9), 1, at(2025, 6, 17)},    // Saturday: by the end of Monday
      {at(2025, 6, 11, 9), 3, at(2025, 6, 17)},    // Wednesday: Thu, Fri, Mon
      {at(2025, 3, 14, 9), 1, at(2025, 3, 19)},    // Friday before a rest Monday
      {at(2025, 12, 24, 9), 3, at(2025, 12, 31)},  // 25th off: 26, 29, 30
  };
  for (const Case& c : cases) {
    EXPECT_EQ(format_date_time(end_of_business_days_after(c.from, c.count)),
              format_date_time(c.end))
        << format_date_time(c.from) << " + " << c.count;
  }
}

}  // namespace
}  // namespace drovanexis
