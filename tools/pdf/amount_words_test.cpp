#include "tools/pdf/amount_words.h"

#include <gtest/gtest.h>

#include "tools/pdf/decimal_text.h"

namespace {

TEST(AmountWords, TotalsInWordsAcrossMagnitudesAndCurrencies) {
  struct Case {
    const char* amount;
    const char* currency;
    const char* words;
  } cases[] = {
      {"0.00", "MXN", "CERO PESOS 00/100 M.N."},
      {"0.50", "MXN", "CERO PESOS 50/100 M.N."},
      {"1.00", "MXN", "UN PESO 00/100 M.N."},
      {"1", "MXN", "UN PESO 00/100 M.N."},
      {"21", "MXN", "VEINTIÚN PESOS 00/100 M.N."},
      {"21.50", "MXN", "VEINTIÚN PESOS 50/100 M.N."},
      {"100.00", "MXN", "CIEN PESOS 00/100 M.N."},
      {"101", "MXN", "CIENTO UN PESOS 00/100 M.N."},
      {"1102.00", "MXN", "MIL CIENTO DOS PESOS 00/100 M.N."},
      {"1001.01", "MXN", "MIL UN PESOS 01/100 M.N."},
      {"16", "MXN", "DIECISÉIS PESOS 00/100 M.N."},
      {"31", "MXN", "TREINTA Y UN PESOS 00/100 M.N."},
      {"21000", "MXN", "VEINTIÚN MIL PESOS 00/100 M.N."},
      {"100000", "MXN", "CIEN MIL PESOS 00/100 M.N."},
      {"500500", "MXN", "QUINIENTOS MIL QUINIENTOS PESOS 00/100 M.N."},
      {"1000000.00", "MXN", "UN MILLÓN DE PESOS 00/100 M.N."},
      {"3000000", "MXN", "TRES MILLONES DE PESOS 00/100 M.N."},
      {"1000001", "MXN", "UN MILLÓN UN PESOS 00/100 M.N."},
      {"2345678.91", "MXN",
       "DOS MILLONES TRESCIENTOS CUARENTA Y CINCO MIL SEISCIENTOS SETENTA Y OCHO PESOS 91/100 "
       "M.N."},
      {"999999999.99", "MXN",
       "NOVECIENTOS NOVENTA Y NUEVE MILLONES NOVECIENTOS NOVENTA Y NUEVE MIL NOVECIENTOS "
       "NOVENTA Y NUEVE PESOS 99/100 M.N."},
      {"1000000000", "MXN", "MIL MILLONES DE PESOS 00/100 M.N."},
      {"2000000000000", "MXN", "DOS BILLONES DE PESOS 00/100 M.N."},
      // Rounding of a third decimal, carried into the units.
      {"10.005", "MXN", "DIEZ PESOS 01/100 M.N."},
      {"9.999", "MXN", "DIEZ PESOS 00/100 M.N."},
      {"1.00", "USD", "UN DÓLAR 00/100 USD"},
      {"250.75", "USD", "DOSCIENTOS CINCUENTA DÓLARES 75/100 USD"},
      {"1000000", "EUR", "UN MILLÓN DE EUROS 00/100 EUR"},
      {"20", "JPY", "VEINTE 00/100 JPY"},
      {"0", "XXX", "CERO 00/100 XXX"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pdf::amount_in_words(c.amount, c.currency), c.words) << c.amount << " " << c.currency;
  }
}

TEST(AmountWords, TextsThatAreNotAmountsAreRefused) {
  for (const char* bad : {"", "-1.00", "1,000.00", "abc", "1.2.3", "1e5", "1000000000000000000"}) {
    EXPECT_THROW(pdf::amount_in_words(bad, "MXN"), pdf::AmountError) << bad;
  }
}

TEST(DecimalText, CentsRoundTripWithoutFloatingPoint) {
  EXPECT_EQ(pdf::parse_cents("1102.5"), 110250);
  EXPECT_EQ(pdf::parse_cents("-3"), -300);
  EXPECT_EQ(pdf::parse_cents("0.019"), 1);
  EXPECT_EQ(pdf::parse_cents(""), 0);
  EXPECT_EQ(pdf::format_cents(110250), "1102.50");
  EXPECT_EQ(pdf::format_cents(-5), "-0.05");
  EXPECT_EQ(pdf::format_cents(pdf::parse_cents("12345.67") - pdf::parse_cents("345.6")),
            "12000.07");
}

}  // namespace
