#include "cadena/template.h"

// Works of art and antiques complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kObrasarteantiguedadesSteps[] = {
    req("Version"),
    req("TipoBien"),
    opt("OtrosTipoBien"),
    req("TituloAdquirido"),
    opt("OtrosTituloAdquirido"),
    opt("Subtotal"),
    opt("IVA"),
    req("FechaAdquisicion"),
    req("CaracterísticasDeObraoPieza"),
};
constexpr Template kObrasarteantiguedades{kObrasarteantiguedadesSteps};

constexpr Match kMatches[] = {
    {"obrasarte:obrasarteantiguedades", &kObrasarteantiguedades},
};

}  // namespace

std::span<const Match> obras_arte10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
