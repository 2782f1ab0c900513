#include "cadena/template.h"

// Airlines complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kCargoSteps[] = {
    req("CodigoCargo"),
    req("Importe"),
};
constexpr Template kCargo{kCargoSteps};

constexpr Step kOtrosCargosSteps[] = {
    req("TotalCargos"),
    each("aerolineas:Cargo", kCargo),
};
constexpr Template kOtrosCargos{kOtrosCargosSteps};

constexpr Step kAerolineasSteps[] = {
    req("Version"),
    req("TUA"),
    each("aerolineas:OtrosCargos", kOtrosCargos),
};
constexpr Template kAerolineas{kAerolineasSteps};

constexpr Match kMatches[] = {
    {"aerolineas:Aerolineas", &kAerolineas},
    {"aerolineas:OtrosCargos", &kOtrosCargos},
    {"aerolineas:Cargo", &kCargo},
};

}  // namespace

std::span<const Match> aerolineas10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
