#include "cadena/template.h"

// Payment in kind complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kPagoEnEspecieSteps[] = {
    req("Version"),    req("CvePIC"),      req("FolioSolDon"), req("PzaArtNombre"),
    req("PzaArtTecn"), req("PzaArtAProd"), req("PzaArtDim"),
};
constexpr Template kPagoEnEspecie{kPagoEnEspecieSteps};

constexpr Match kMatches[] = {
    {"pagoenespecie:PagoEnEspecie", &kPagoEnEspecie},
};

}  // namespace

std::span<const Match> pago_en_especie10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
