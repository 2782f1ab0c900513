#include "cadena/template.h"

// Vehicle sales concept complement 1.1.
namespace drovanexis::cadena {
namespace {

constexpr Step kVentaVehiculosWhenversionSteps[] = {
    req("Niv"),
};
constexpr Template kVentaVehiculosWhenversion{kVentaVehiculosWhenversionSteps};

constexpr Step kInformacionAduaneraSteps[] = {
    req("numero"),
    req("fecha"),
    opt("aduana"),
};
constexpr Template kInformacionAduanera{kInformacionAduaneraSteps};

constexpr Step kVentaVehiculosSteps[] = {
    req("version"),
    req("ClaveVehicular"),
    when_equals("version", "1.1", kVentaVehiculosWhenversion),
    each_descendant("ventavehiculos:InformacionAduanera", kInformacionAduanera),
};
constexpr Template kVentaVehiculos{kVentaVehiculosSteps};

constexpr Match kMatches[] = {
    {"ventavehiculos:VentaVehiculos", &kVentaVehiculos},
    {"ventavehiculos:InformacionAduanera", &kInformacionAduanera},
};

}  // namespace

std::span<const Match> venta_vehiculos11_templates() { return kMatches; }

}  // namespace drovanexis::cadena
