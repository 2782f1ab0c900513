#pragma once

#include <chrono>
#include <string>

#include "time/civil_time.h"

// The civil time of central Mexico (America/Mexico_City), the clock of CFDI
// dates and of the provider, with its real rules from the system's time-zone
// data: UTC-6 in winter and, until daylight saving time was abolished at the
// end of October 2022, UTC-5 in summer. A document dated in a summer before
// that is judged in that summer's offset.
namespace drovanexis::central_mexico {

using Instant = std::chrono::sys_seconds;

// The wall clock of central Mexico at an instant.
LocalDateTime local_time(std::chrono::system_clock::time_point when);
LocalDateTime now();

// The instant that a wall-clock time of central Mexico names. A time that
// occurred twice (the hour repeated when summer time ended) is taken at its
// first occurrence; a time that never occurred (the hour skipped when it
// began) is moved forward by the gap, as a clock set by hand would be.
Instant instant(LocalDateTime local);

// Seconds from `earlier` to `later`, both wall-clock times of central
// Mexico, counting the real elapsed time across a change of offset.
std::int64_t seconds_between(LocalDateTime earlier, LocalDateTime later);

// The offset from UTC at an instant, in seconds (-21600 or -18000).
std::int64_t utc_offset_seconds(Instant when);

// The same wall-clock text as format_date_time(local_time(when)).
std::string format(std::chrono::system_clock::time_point when);

}  // namespace drovanexis::central_mexico
