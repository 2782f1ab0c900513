#include "tools/pdf/decimal_text.h"

#include <cctype>

namespace pdf {

long long parse_cents(std::string_view amount) {
  bool negative = false;
  if (!amount.empty() && (amount.front() == '-' || amount.front() == '+')) {
    negative = amount.front() == '-';
    amount.remove_prefix(1);
  }
  long long units = 0;
  int decimals = -1;  // digits seen after the point; -1 before it
  long long cents = 0;
  for (const char c : amount) {
    if (c == '.' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    const int digit = c - '0';
    if (decimals < 0) {
      units = units * 10 + digit;
    } else if (decimals < 2) {
      cents = cents * 10 + digit;
      ++decimals;
    }
  }
  if (decimals == 1) cents *= 10;
  const long long total = units * 100 + cents;
  return negative ? -total : total;
}

std::string format_cents(long long cents) {
  const bool negative = cents < 0;
  const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(cents)
                                                : static_cast<unsigned long long>(cents);
  std::string fraction = std::to_string(magnitude % 100);
  if (fraction.size() < 2) fraction.insert(0, "0");
  return (negative ? "-" : "") + std::to_string(magnitude / 100) + "." + fraction;
}

}  // namespace pdf
