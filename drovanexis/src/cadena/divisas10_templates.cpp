#include "cadena/template.h"

// Currency exchange complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kDivisasSteps[] = {
    req("version"),
    req("tipoOperacion"),
};
constexpr Template kDivisas{kDivisasSteps};

constexpr Match kMatches[] = {
    {"divisas:Divisas", &kDivisas},
};

}  // namespace

std::span<const Match> divisas10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
