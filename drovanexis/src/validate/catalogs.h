#pragma once

#include <optional>
#include <string_view>

// The few SAT catalogues the rules need, as small exact tables (the CFDI 3.3
// editions).
namespace drovanexis::catalogs {

// Which taxpayers a code suits: a person (13-character RFC) or a company
// (12 characters).
struct Fitness {
  bool person;
  bool company;
};

bool is_forma_pago(std::string_view code);
bool is_metodo_pago(std::string_view code);
bool is_tipo_de_comprobante(std::string_view code);
bool is_tipo_relacion(std::string_view code);
bool is_impuesto(std::string_view code);
bool is_tipo_factor(std::string_view code);
std::optional<Fitness> uso_cfdi(std::string_view code);
std::optional<Fitness> regimen_fiscal(std::string_view code);
// Decimals a currency allows; nullopt for a code outside c_Moneda.
std::optional<int> moneda_decimals(std::string_view code);

// Whether a 12- or 13-character RFC is a company or a person; nullopt for
// any other length.
enum class TaxpayerKind { person, company };
std::optional<TaxpayerKind> taxpayer_kind(std::string_view rfc);
bool suits(Fitness fitness, TaxpayerKind kind);

// Spanish name of a taxpayer kind for messages: "persona física" / "persona moral".
std::string_view describe(TaxpayerKind kind);

}  // namespace drovanexis::catalogs
