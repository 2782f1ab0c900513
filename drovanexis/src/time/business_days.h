#pragma once

#include "time/civil_time.h"

// Business days of the tax authority: Monday to Friday, except the
// mandatory rest days of the federal labour law (1 January, the first Monday
// of February, the third Mondays of March and November, 1 May, 16 September,
// 25 December, and 1 October of the years a federal executive takes office).
// Periods of general leave the authority announces each year are not known
// here.
namespace drovanexis {

bool is_business_day(LocalDateTime day);

// The first moment after the `count`-th business day that follows the day of
// `moment`: 00:00:00 of the next day. What must happen "by the n-th business
// day after" `moment` happens before it.
LocalDateTime end_of_business_days_after(LocalDateTime moment, int count);

}  // namespace drovanexis
