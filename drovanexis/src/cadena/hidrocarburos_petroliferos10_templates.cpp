#include "cadena/template.h"

// Hydrocarbons and petroleum products complement 1.0, given per Concepto.
namespace drovanexis::cadena {
namespace {

constexpr Step kHidroYPetroSteps[] = {
    req("Version"),  req("TipoPermiso"),    req("NumeroPermiso"),
    req("ClaveHYP"), req("SubProductoHYP"),
};
constexpr Template kHidroYPetro{kHidroYPetroSteps};

constexpr Match kMatches[] = {
    {"hidrocarburospetroliferos:HidroYPetro", &kHidroYPetro},
};

}  // namespace

std::span<const Match> hidrocarburos_petroliferos10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
