#include "sandbox/mexico_time.h"

#include "document/output_rules.h"
#include "time/central_mexico.h"

namespace drovanexis::sandbox {

// The document model formats a Fecha the same way; one formatter serves both.
std::string format_mexico_time(Clock::time_point when) { return central_mexico_time(when); }

std::string mexico_now() { return format_mexico_time(Clock::now()); }

std::optional<Clock::time_point> parse_mexico_time(std::string_view text) {
  const auto local = parse_date_time(text);
  if (!local) return std::nullopt;
  return Clock::time_point{central_mexico::instant(*local)};
}

}  // namespace drovanexis::sandbox
