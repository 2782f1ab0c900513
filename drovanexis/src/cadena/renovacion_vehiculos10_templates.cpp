#include "cadena/template.h"

// Vehicle renewal and replacement decree complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kVehiculosUsadosEnajenadoPermAlFabSteps[] = {
    req("PrecioVehUsado"),
    req("TipoVeh"),
    req("Marca"),
    req("TipooClase"),
    req("Año"),
    opt("Modelo"),
    opt("NIV"),
    opt("NumSerie"),
    req("NumPlacas"),
    opt("NumMotor"),
    req("NumFolTarjCir"),
    opt("NumPedIm"),
    opt("Aduana"),
    opt("FechaRegulVeh"),
    req("Foliofiscal"),
};
constexpr Template kVehiculosUsadosEnajenadoPermAlFab{kVehiculosUsadosEnajenadoPermAlFabSteps};

constexpr Step kVehiculoNuvoSemEnajenadoFabAlPermSteps[] = {
    req("Año"),
    opt("Modelo"),
    req("NumPlacas"),
    opt("RFC"),
};
constexpr Template kVehiculoNuvoSemEnajenadoFabAlPerm{kVehiculoNuvoSemEnajenadoFabAlPermSteps};

constexpr Step kDecretoRenovVehicularSteps[] = {
    req("VehEnaj"),
    each("decreto:VehiculosUsadosEnajenadoPermAlFab", kVehiculosUsadosEnajenadoPermAlFab),
    each("decreto:VehiculoNuvoSemEnajenadoFabAlPerm", kVehiculoNuvoSemEnajenadoFabAlPerm),
};
constexpr Template kDecretoRenovVehicular{kDecretoRenovVehicularSteps};

constexpr Step kVehiculoUsadoEnajenadoPermAlFabSteps[] = {
    req("PrecioVehUsado"),
    req("TipoVeh"),
    req("Marca"),
    req("TipooClase"),
    req("Año"),
    opt("Modelo"),
    opt("NIV"),
    opt("NumSerie"),
    req("NumPlacas"),
    opt("NumMotor"),
    req("NumFolTarjCir"),
    req("NumFolAvisoint"),
    req("NumPedIm"),
    req("Aduana"),
    req("FechaRegulVeh"),
    req("Foliofiscal"),
};
constexpr Template kVehiculoUsadoEnajenadoPermAlFab{kVehiculoUsadoEnajenadoPermAlFabSteps};

constexpr Step kDecretoSustitVehicularSteps[] = {
    req("VehEnaj"),
    each("decreto:VehiculoUsadoEnajenadoPermAlFab", kVehiculoUsadoEnajenadoPermAlFab),
    each("decreto:VehiculoNuvoSemEnajenadoFabAlPerm", kVehiculoNuvoSemEnajenadoFabAlPerm),
};
constexpr Template kDecretoSustitVehicular{kDecretoSustitVehicularSteps};

constexpr Step kRenovacionysustitucionvehiculosSteps[] = {
    req("Version"),
    req("TipoDeDecreto"),
    each("decreto:DecretoRenovVehicular", kDecretoRenovVehicular),
    each("decreto:DecretoSustitVehicular", kDecretoSustitVehicular),
};
constexpr Template kRenovacionysustitucionvehiculos{kRenovacionysustitucionvehiculosSteps};

constexpr Match kMatches[] = {
    {"decreto:renovacionysustitucionvehiculos", &kRenovacionysustitucionvehiculos},
    {"decreto:DecretoRenovVehicular", &kDecretoRenovVehicular},
    {"decreto:DecretoSustitVehicular", &kDecretoSustitVehicular},
    {"decreto:VehiculosUsadosEnajenadoPermAlFab", &kVehiculosUsadosEnajenadoPermAlFab},
    {"decreto:VehiculoNuvoSemEnajenadoFabAlPerm", &kVehiculoNuvoSemEnajenadoFabAlPerm},
    {"decreto:VehiculoUsadoEnajenadoPermAlFab", &kVehiculoUsadoEnajenadoPermAlFab},
};

}  // namespace

std::span<const Match> renovacion_vehiculos10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
