#include "validate/catalogs.h"

#include <algorithm>
#include <array>
#include <utility>

namespace drovanexis::catalogs {

namespace {

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& codes, std::string_view code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

template <typename Value, std::size_t N>
std::optional<Value> look_up(const std::array<std::pair<std::string_view, Value>, N>& table,
                             std::string_view code) {
  for (const auto& [key, value] : table) {
    if (key == code) return value;
  }
  return std::nullopt;
}

constexpr std::array<std::string_view, 22> kFormaPago = {
    "01", "02", "03", "04", "05", "06", "08", "12", "13", "14", "15",
    "17", "23", "24", "25", "26", "27", "28", "29", "30", "31", "99"};
constexpr std::array<std::string_view, 2> kMetodoPago = {"PUE", "PPD"};
constexpr std::array<std::string_view, 5> kTipoDeComprobante = {"I", "E", "T", "N", "P"};
constexpr std::array<std::string_view, 9> kTipoRelacion = {"01", "02", "03", "04", "05",
                                                           "06", "07", "08", "09"};
constexpr std::array<std::string_view, 3> kImpuesto = {"001", "002", "003"};
constexpr std::array<std::string_view, 3> kTipoFactor = {"Tasa", "Cuota", "Exento"};

constexpr Fitness kBoth{true, true};
constexpr Fitness kPersonOnly{true, false};
constexpr Fitness kCompanyOnly{false, true};

constexpr std::array<std::pair<std::string_view, Fitness>, 22> kUsoCfdi = {{
    {"G01", kBoth},       {"G02", kBoth},       {"G03", kBoth},       {"I01", kBoth},
    {"I02", kBoth},       {"I03", kBoth},       {"I04", kBoth},       {"I05", kBoth},
    {"I06", kBoth},       {"I07", kBoth},       {"I08", kBoth},       {"D01", kPersonOnly},
    {"D02", kPersonOnly}, {"D03", kPersonOnly}, {"D04", kPersonOnly}, {"D05", kPersonOnly},
    {"D06", kPersonOnly}, {"D07", kPersonOnly}, {"D08", kPersonOnly}, {"D09", kPersonOnly},
    {"D10", kPersonOnly}, {"P01", kBoth},
}};

constexpr std::array<std::pair<std::string_view, Fitness>, 23> kRegimenFiscal = {{
    {"601", kCompanyOnly}, {"603", kCompanyOnly}, {"605", kPersonOnly},  {"606", kPersonOnly},
    {"607", kPersonOnly},  {"608", kPersonOnly},  {"609", kCompanyOnly}, {"610", kBoth},
    {"611", kPersonOnly},  {"612", kPersonOnly},  {"614", kPersonOnly},  {"615", kPersonOnly},
    {"616", kPersonOnly},  {"620", kCompanyOnly}, {"621", kPersonOnly},  {"622", kCompanyOnly},
    {"623", kCompanyOnly}, {"624", kCompanyOnly}, {"625", kPersonOnly},  {"626", kBoth},
    {"628", kCompanyOnly}, {"629", kPersonOnly},  {"630", kPersonOnly},
}};

// The currencies this system meets, with the decimals ISO 4217 gives them;
// XXX (no currency) is the one of payment receipts and transfers.
constexpr std::array<std::pair<std::string_view, int>, 15> kMoneda = {{
    {"MXN", 2},
    {"USD", 2},
    {"EUR", 2},
    {"CAD", 2},
    {"GBP", 2},
    {"CHF", 2},
    {"JPY", 0},
    {"CNY", 2},
    {"BRL", 2},
    {"ARS", 2},
    {"CLP", 0},
    {"COP", 2},
    {"PEN", 2},
    {"GTQ", 2},
    {"XXX", 0},
}};

}  // namespace

bool is_forma_pago(std::string_view code) { return listed(kFormaPago, code); }
bool is_metodo_pago(std::string_view code) { return listed(kMetodoPago, code); }
bool is_tipo_de_comprobante(std::string_view code) { return listed(kTipoDeComprobante, code); }
bool is_tipo_relacion(std::string_view code) { return listed(kTipoRelacion, code); }
bool is_impuesto(std::string_view code) { return listed(kImpuesto, code); }
bool is_tipo_factor(std::string_view code) { return listed(kTipoFactor, code); }
std::optional<Fitness> uso_cfdi(std::string_view code) { return look_up(kUsoCfdi, code); }
std::optional<Fitness> regimen_fiscal(std::string_view code) {
  return look_up(kRegimenFiscal, code);
}
std::optional<int> moneda_decimals(std::string_view code) { return look_up(kMoneda, code); }

std::optional<TaxpayerKind> taxpayer_kind(std::string_view rfc) {
  if (rfc.size() == 13) return TaxpayerKind::person;
  if (rfc.size() == 12) return TaxpayerKind::company;
  return std::nullopt;
}

bool suits(Fitness fitness, TaxpayerKind kind) {
  return kind == TaxpayerKind::person ? fitness.person : fitness.company;
}

std::string_view describe(TaxpayerKind kind) {
  return kind == TaxpayerKind::person ? "persona física" : "persona moral";
}

}  // namespace drovanexis::catalogs
