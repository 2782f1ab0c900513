#include "cadena/template.h"

// Private schools concept complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kInstEducativasSteps[] = {
    req("version"),        req("nombreAlumno"), req("CURP"),
    req("nivelEducativo"), req("autRVOE"),      opt("rfcPago"),
};
constexpr Template kInstEducativas{kInstEducativasSteps};

constexpr Match kMatches[] = {
    {"iedu:instEducativas", &kInstEducativas},
};

}  // namespace

std::span<const Match> iedu10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
