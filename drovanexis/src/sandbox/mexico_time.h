#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace drovanexis::sandbox {

using Clock = std::chrono::system_clock;

// The time of central Mexico as "yyyy-mm-ddThh:mm:ss" (no zone, no fraction),
// the form of a CFDI's Fecha and of FechaTimbrado.
std::string format_mexico_time(Clock::time_point when);
std::string mexico_now();

// The instant a "yyyy-mm-ddThh:mm:ss" text of central Mexico names; nullopt
// when the text is not of that form or names no real date.
std::optional<Clock::time_point> parse_mexico_time(std::string_view text);

}  // namespace drovanexis::sandbox
