#include "cadena/template.h"

// Vehicle sales concept complement 1.1, in cfdi:ComplementoConcepto. The
// vehicle number (Niv) gives a field only when the version attribute is
// exactly "1.1", compared as written; customs data is looked for at any
// depth, inside the parts too.
namespace drovanexis::cadena {
namespace {

constexpr Step kNivOfVersion11Steps[] = {
    req("Niv"),
};
constexpr Template kNivOfVersion11{kNivOfVersion11Steps};

constexpr Step kInformacionAduaneraSteps[] = {
    req("numero"),
    req("fecha"),
    opt("aduana"),
};
constexpr Template kInformacionAduanera{kInformacionAduaneraSteps};

constexpr Step kVentaVehiculosSteps[] = {
    req("version"),
    req("ClaveVehicular"),
    when_equals("version", "1.1", kNivOfVersion11),
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
