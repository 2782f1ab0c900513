#include "cadena/template.h"

// Coordinated member individual complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kPFintegranteCoordinadoSteps[] = {
    req("version"),
    req("ClaveVehicular"),
    req("Placa"),
    opt("RFCPF"),
};
constexpr Template kPFintegranteCoordinado{kPFintegranteCoordinadoSteps};

constexpr Match kMatches[] = {
    {"pfic:PFintegranteCoordinado", &kPFintegranteCoordinado},
};

}  // namespace

std::span<const Match> pfic10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
