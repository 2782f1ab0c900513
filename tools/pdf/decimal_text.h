#pragma once

#include <string>
#include <string_view>

namespace pdf {

// A decimal amount of the document in hundredths, without floating point:
// "1102.5" is 110250, "-3" is -300; digits past the second are cut. "" and
// a text that is not a number count as 0.
long long parse_cents(std::string_view amount);

// Hundredths back as an amount with two decimals: 110250 is "1102.50".
std::string format_cents(long long cents);

}  // namespace pdf
