#include "cadena/template.h"

// Foreign tourist passenger complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kDatosTransitoSteps[] = {
    req("Via"),
    req("TipoId"),
    req("NumeroId"),
    req("Nacionalidad"),
    req("EmpresaTransporte"),
    opt("IdTransporte"),
};
constexpr Template kDatosTransito{kDatosTransitoSteps};

constexpr Step kTuristaPasajeroExtranjeroSteps[] = {
    req("version"),
    req("fechadeTransito"),
    req("tipoTransito"),
    each("tpe:datosTransito", kDatosTransito),
};
constexpr Template kTuristaPasajeroExtranjero{kTuristaPasajeroExtranjeroSteps};

constexpr Match kMatches[] = {
    {"tpe:TuristaPasajeroExtranjero", &kTuristaPasajeroExtranjero},
    {"tpe:datosTransito", &kDatosTransito},
};

}  // namespace

std::span<const Match> turista_pasajero10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
