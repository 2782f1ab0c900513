#include "cadena/template.h"

// Destruction certificate complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kVehiculoDestruidoSteps[] = {
    req("Marca"),    req("TipooClase"), req("Año"),      opt("Modelo"),        opt("NIV"),
    opt("NumSerie"), req("NumPlacas"),  opt("NumMotor"), req("NumFolTarjCir"),
};
constexpr Template kVehiculoDestruido{kVehiculoDestruidoSteps};

constexpr Step kInformacionAduaneraSteps[] = {
    req("NumPedImp"),
    req("Fecha"),
    req("Aduana"),
};
constexpr Template kInformacionAduanera{kInformacionAduaneraSteps};

constexpr Step kCertificadodedestruccionSteps[] = {
    req("Version"),
    req("Serie"),
    req("NumFolDesVeh"),
    each("destruccion:VehiculoDestruido", kVehiculoDestruido),
    each("destruccion:InformacionAduanera", kInformacionAduanera),
};
constexpr Template kCertificadodedestruccion{kCertificadodedestruccionSteps};

constexpr Match kMatches[] = {
    {"destruccion:certificadodedestruccion", &kCertificadodedestruccion},
    {"destruccion:VehiculoDestruido", &kVehiculoDestruido},
    {"destruccion:InformacionAduanera", &kInformacionAduanera},
};

}  // namespace

std::span<const Match> certificado_destruccion10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
