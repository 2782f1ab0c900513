#include "validate/decimal.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace drovanexis {
namespace {

Decimal dec(const char* text) {
  const auto value = Decimal::parse(text);
  if (!value) throw std::invalid_argument(std::string("not a decimal: ") + text);
  return *value;
}

TEST(DecimalTest, ParsesDecimalTextAndRejectsEverythingElse) {
  struct Case {
    const char* text;
    const char* printed;  // nullptr: rejected
    int decimals;
  };
  const Case cases[] = {
      {"1102.00", "1102.00", 2},
      {" 5 ", "5", 0},
      {"-0.5", "-0.5", 1},
      {"0.160000", "0.160000", 6},
      {"007.10", "7.10", 2},
      {"1,000.00", nullptr, 0},
      {"1.", "1", 0},
      {".5", "0.5", 1},
      {".160000", "0.160000", 6},
      {"+1", "1", 0},
      {"1e3", nullptr, 0},
      {"", nullptr, 0},
      {".", nullptr, 0},
      {"1.0000000000001", nullptr, 0},
      {"12 34", nullptr, 0},
      {"-", nullptr, 0},
      {"1.2.3", nullptr, 0},
      {"+-1", nullptr, 0},
  };
  for (const Case& c : cases) {
    const auto value = Decimal::parse(c.text);
    if (c.printed == nullptr) {
      EXPECT_FALSE(value.has_value()) << '"' << c.text << '"';
      continue;
    }
    ASSERT_TRUE(value.has_value()) << '"' << c.text << '"';
    EXPECT_EQ(value->to_string(), c.printed);
    EXPECT_EQ(value->decimals(), c.decimals) << c.text;
  }
}

TEST(DecimalTest, ArithmeticIsExactAcrossScales) {
  EXPECT_EQ(dec("1000.00") - dec("50.00") + dec("152.00"), dec("1102"));
  EXPECT_EQ((dec("0.1") + dec("0.2")).to_string(), "0.3");
  EXPECT_EQ((dec("330") * dec("0.5")).to_string(), "165.0");
  EXPECT_LT(dec("1102.00"), dec("1102.001"));
  EXPECT_EQ(dec("1160.00").divide_floor(dec("20.000000"), 6).to_string(), "58.000000");
  EXPECT_EQ(dec("10").divide_floor(dec("3"), 2).to_string(), "3.33");
}

TEST(DecimalTest, RoundsCutsAndRaisesToPlaces) {
  struct Case {
    const char* value;
    int places;
    const char* floor;
    const char* ceil;
    const char* round;
  };
  const Case cases[] = {
      {"0.125", 2, "0.12", "0.13", "0.13"},       {"-0.125", 2, "-0.13", "-0.12", "-0.13"},
      {"14.49275", 2, "14.49", "14.50", "14.49"}, {"80.00", 2, "80.00", "80.00", "80.00"},
      {"7", 2, "7.00", "7.00", "7.00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dec(c.value).floor_to(c.places).to_string(), c.floor) << c.value;
    EXPECT_EQ(dec(c.value).ceil_to(c.places).to_string(), c.ceil) << c.value;
    EXPECT_EQ(dec(c.value).round_to(c.places).to_string(), c.round) << c.value;
  }
}

TEST(DecimalTest, OverflowIsReportedNotWrapped) {
  const Decimal huge = dec("999999999999999999999999.999999");
  EXPECT_THROW((void)(huge * huge), std::overflow_error);
  EXPECT_THROW((void)dec("1").divide_floor(dec("0"), 2), std::domain_error);
}

TEST(ToleranceBoundsTest, FollowTheRoundingOfEachFactor) {
  struct Case {
    const char* a;  // Cantidad or Base
    const char* b;  // ValorUnitario or TasaOCuota
    int importe_decimals;
    bool tax;
    const char* lower;
    const char* upper;
  };
  const Case cases[] = {
      // Cantidad without decimals is only known to ±0.5: a wide range.
      {"1", "500.00", 2, false, "249.99", "750.01"},
      {"1.5", "10.00", 2, false, "14.49", "15.51"},
      {"2.000000", "250.00", 2, false, "499.98", "500.02"},
      {"330", "0", 0, false, "-165", "166"},
      // Tax: the rate is exact, only the base carries its rounding.
      {"500.00", "0.160000", 2, true, "79.99", "80.01"},
      {"450.00", "0.160000", 2, true, "71.99", "72.01"},
      {"25000.00", "0.040000", 2, true, "999.99", "1000.01"},
      {"100", "0.160000", 6, true, "15.920000", "16.080000"},
  };
  for (const Case& c : cases) {
    const Bounds bounds = c.tax ? tax_bounds(dec(c.a), dec(c.b), c.importe_decimals)
                                : importe_bounds(dec(c.a), dec(c.b), c.importe_decimals);
    EXPECT_EQ(bounds.lower.to_string(), c.lower) << c.a << " x " << c.b;
    EXPECT_EQ(bounds.upper.to_string(), c.upper) << c.a << " x " << c.b;
  }
  const Bounds line = tax_bounds(dec("500.00"), dec("0.160000"), 2);
  EXPECT_TRUE(line.contains(dec("80.00")));
  EXPECT_TRUE(line.contains(dec("80.01")));
  EXPECT_FALSE(line.contains(dec("80.02")));
  EXPECT_FALSE(line.contains(dec("81.00")));
}

}  // namespace
}  // namespace drovanexis
