#include "tools/pdf/amount_words.h"

#include <array>
#include <cctype>

namespace pdf {

namespace {

constexpr std::array<std::string_view, 30> kUnits = {
    "CERO",         "UNO",         "DOS",        "TRES",        "CUATRO",     "CINCO",
    "SEIS",         "SIETE",       "OCHO",       "NUEVE",       "DIEZ",       "ONCE",
    "DOCE",         "TRECE",       "CATORCE",    "QUINCE",      "DIECISÉIS",  "DIECISIETE",
    "DIECIOCHO",    "DIECINUEVE",  "VEINTE",     "VEINTIUNO",   "VEINTIDÓS",  "VEINTITRÉS",
    "VEINTICUATRO", "VEINTICINCO", "VEINTISÉIS", "VEINTISIETE", "VEINTIOCHO", "VEINTINUEVE"};

constexpr std::array<std::string_view, 10> kTens = {
    "", "", "", "TREINTA", "CUARENTA", "CINCUENTA", "SESENTA", "SETENTA", "OCHENTA", "NOVENTA"};

constexpr std::array<std::string_view, 10> kHundreds = {
    "",           "CIENTO",      "DOSCIENTOS",  "TRESCIENTOS", "CUATROCIENTOS",
    "QUINIENTOS", "SEISCIENTOS", "SETECIENTOS", "OCHOCIENTOS", "NOVECIENTOS"};

void append_word(std::string& out, std::string_view word) {
  if (word.empty()) return;
  if (!out.empty()) out += ' ';
  out += word;
}

// 1..99; "UNO" becomes "UN" (and "VEINTIUNO" "VEINTIÚN") when `apocopate`,
// because a noun or "MIL" follows.
std::string below_hundred(unsigned n, bool apocopate) {
  if (n < 30) {
    if (apocopate && n == 1) return "UN";
    if (apocopate && n == 21) return "VEINTIÚN";
    return std::string(kUnits[n]);
  }
  std::string out(kTens[n / 10]);
  if (n % 10 != 0) {
    out += " Y ";
    out += (apocopate && n % 10 == 1) ? "UN" : kUnits[n % 10];
  }
  return out;
}

// 1..999.
std::string below_thousand(unsigned n, bool apocopate) {
  if (n == 100) return "CIEN";
  std::string out(kHundreds[n / 100]);
  if (n % 100 != 0) append_word(out, below_hundred(n % 100, apocopate));
  return out;
}

// 1..999,999: "MIL" alone for one thousand, never "UN MIL".
std::string below_million(unsigned n, bool apocopate) {
  std::string out;
  const unsigned thousands = n / 1000;
  if (thousands == 1) {
    out = "MIL";
  } else if (thousands > 1) {
    out = below_thousand(thousands, true) + " MIL";
  }
  if (n % 1000 != 0) append_word(out, below_thousand(n % 1000, apocopate));
  return out;
}

// A group of millions (or of trillions) with its noun in singular or plural.
std::string scaled(unsigned long long count, std::string_view singular, std::string_view plural) {
  if (count == 1) return "UN " + std::string(singular);
  return below_million(static_cast<unsigned>(count), true) + " " + std::string(plural);
}

std::string in_words(unsigned long long n, bool apocopate) {
  if (n == 0) return "CERO";
  constexpr unsigned long long kMillion = 1'000'000ULL;
  constexpr unsigned long long kTrillion = kMillion * kMillion;
  std::string out;
  if (n >= kTrillion) out = scaled(n / kTrillion, "BILLÓN", "BILLONES");
  const unsigned long long millions = (n % kTrillion) / kMillion;
  if (millions > 0) append_word(out, scaled(millions, "MILLÓN", "MILLONES"));
  if (n % kMillion != 0) {
    append_word(out, below_million(static_cast<unsigned>(n % kMillion), apocopate));
  }
  return out;
}

struct Currency {
  std::string_view code;
  std::string_view singular;
  std::string_view plural;
  std::string_view suffix;
};

// The currencies named in words; any other prints its code after the figure.
constexpr std::array<Currency, 3> kNamedCurrencies = {{
    {"MXN", "PESO", "PESOS", "M.N."},
    {"USD", "DÓLAR", "DÓLARES", "USD"},
    {"EUR", "EURO", "EUROS", "EUR"},
}};

struct SplitAmount {
  unsigned long long units = 0;
  unsigned cents = 0;
};

SplitAmount split_amount(std::string_view amount) {
  const auto fail = [&] { return AmountError("not an amount: \"" + std::string(amount) + "\""); };
  const auto point = amount.find('.');
  const std::string_view whole = amount.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : amount.substr(point + 1);
  if (whole.empty() || whole.size() > 18) throw fail();
  SplitAmount split;
  for (const char c : whole) {
    if (!std::isdigit(static_cast<unsigned char>(c))) throw fail();
    split.units = split.units * 10 + static_cast<unsigned>(c - '0');
  }
  for (const char c : fraction) {
    if (!std::isdigit(static_cast<unsigned char>(c))) throw fail();
  }
  const auto digit = [&](std::size_t i) {
    return i < fraction.size() ? static_cast<unsigned>(fraction[i] - '0') : 0U;
  };
  split.cents = digit(0) * 10 + digit(1);
  if (digit(2) >= 5) {
    if (++split.cents == 100) {
      split.cents = 0;
      ++split.units;
    }
  }
  if (split.units > 999'999'999'999'999'999ULL) throw fail();
  return split;
}

}  // namespace

std::string number_in_words(unsigned long long number) { return in_words(number, false); }

std::string amount_in_words(std::string_view amount, std::string_view currency) {
  const SplitAmount split = split_amount(amount);
  std::string out = in_words(split.units, true);
  // "UN MILLÓN DE PESOS": a round number of millions takes "DE" before the noun.
  const bool round_millions = split.units >= 1'000'000 && split.units % 1'000'000 == 0;
  std::string suffix(currency);
  for (const Currency& named : kNamedCurrencies) {
    if (named.code != currency) continue;
    out += round_millions ? " DE " : " ";
    out += split.units == 1 ? named.singular : named.plural;
    suffix = named.suffix;
  }
  const char cents[] = {static_cast<char>('0' + split.cents / 10),
                        static_cast<char>('0' + split.cents % 10), '\0'};
  out += " " + std::string(cents) + "/100";
  if (!suffix.empty()) out += " " + suffix;
  return out;
}

}  // namespace pdf
