#include "validate/result_codes.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace drovanexis {
namespace {

TEST(ResultCodesTest, EveryCodeHasItsOwnNumber) {
  const std::map<std::string, int> cases = {
      {"301", 301},         {"702", 702},         {"899", 899},         {"CFDI33101", 33101},
      {"CFDI33118", 33118}, {"CFDI33196", 33196}, {"CRP206", 50206},    {"CRP906", 50906},
      {"NOM906", 60906},    {"NOM147", 60147},    {"CP149", 70149},     {"CCE162", 80162},
      {"SBX-C01", 90101},   {"SBX-IL02", 90202},  {"SBX-CP03", 90303},  {"SBX-NOM01", 90401},
      {"SBX-CRP01", 90501}, {"CFDI40101", 40101}, {"CFDI40221", 40221},
  };
  std::map<int, std::string> seen;
  for (const auto& [code, number] : cases) {
    EXPECT_EQ(result_number(code), number) << code;
    EXPECT_TRUE(seen.emplace(result_number(code), code).second)
        << code << " and " << seen[result_number(code)] << " share a number";
  }
}

TEST(ResultCodesTest, UnknownOrMalformedCodesAreOneNeverZero) {
  for (const char* code : {"", "000", "CFDI3311", "CFDI331180", "XYZ123", "CRP12a", "30"})
    EXPECT_EQ(result_number(code), 1) << code;
}

}  // namespace
}  // namespace drovanexis
