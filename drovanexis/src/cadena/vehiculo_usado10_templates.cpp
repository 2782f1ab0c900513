#include "cadena/template.h"

// Used vehicle complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kInformacionAduaneraSteps[] = {
    req("numero"),
    req("fecha"),
    opt("aduana"),
};
constexpr Template kInformacionAduanera{kInformacionAduaneraSteps};

constexpr Step kVehiculoUsadoSteps[] = {
    req("Version"),
    req("montoAdquisicion"),
    req("montoEnajenacion"),
    req("claveVehicular"),
    req("marca"),
    req("tipo"),
    req("modelo"),
    opt("numeroMotor"),
    opt("numeroSerie"),
    opt("NIV"),
    req("valor"),
    each("vehiculousado:InformacionAduanera", kInformacionAduanera),
};
constexpr Template kVehiculoUsado{kVehiculoUsadoSteps};

constexpr Match kMatches[] = {
    {"vehiculousado:VehiculoUsado", &kVehiculoUsado},
    {"vehiculousado:InformacionAduanera", &kInformacionAduanera},
};

}  // namespace

std::span<const Match> vehiculo_usado10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
