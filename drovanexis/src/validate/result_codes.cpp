#include "validate/result_codes.h"

#include <array>
#include <charconv>

namespace drovanexis {

namespace {

// The digits after `prefix`, when the code is exactly prefix + `width` digits.
bool digits_after(std::string_view code, std::string_view prefix, std::size_t width, int& value) {
  if (!code.starts_with(prefix) || code.size() != prefix.size() + width) return false;
  const std::string_view digits = code.substr(prefix.size());
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
  }
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return true;
}

struct Family {
  std::string_view prefix;
  std::size_t width;
  int base;
};

// Longer prefixes first, so that "SBX-CRP" is not read as "SBX-C".
constexpr std::array<Family, 12> kFamilies = {{
    {"CFDI33", 3, 33000},
    {"CFDI40", 3, 40000},
    {"SBX-CRP", 2, 90500},
    {"SBX-NOM", 2, 90400},
    {"SBX-CP", 2, 90300},
    {"SBX-IL", 2, 90200},
    {"SBX-C", 2, 90100},
    {"CRP", 3, 50000},
    {"NOM", 3, 60000},
    {"CCE", 3, 80000},
    {"CP", 3, 70000},
    {"", 3, 0},
}};

}  // namespace

int result_number(std::string_view code) {
  for (const Family& family : kFamilies) {
    int value = 0;
    if (digits_after(code, family.prefix, family.width, value) && value != 0)
      return family.base + value;
  }
  return 1;
}

}  // namespace drovanexis
