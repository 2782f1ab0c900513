#include "cadena/template.h"

// Partial construction services complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kInmuebleSteps[] = {
    req("Calle"),      opt("NoExterior"), opt("NoInterior"), opt("Colonia"),      opt("Localidad"),
    opt("Referencia"), req("Municipio"),  req("Estado"),     req("CodigoPostal"),
};
constexpr Template kInmueble{kInmuebleSteps};

constexpr Step kParcialesconstruccionSteps[] = {
    req("Version"),
    req("NumPerLicoAut"),
    each("servicioparcial:Inmueble", kInmueble),
};
constexpr Template kParcialesconstruccion{kParcialesconstruccionSteps};

constexpr Match kMatches[] = {
    {"servicioparcial:parcialesconstruccion", &kParcialesconstruccion},
    {"servicioparcial:Inmueble", &kInmueble},
};

}  // namespace

std::span<const Match> servicio_parcial10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
