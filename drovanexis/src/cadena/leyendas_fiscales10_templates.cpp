#include "cadena/template.h"

// Tax legends complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kLeyendaSteps[] = {
    opt("disposicionFiscal"),
    opt("norma"),
    req("textoLeyenda"),
};
constexpr Template kLeyenda{kLeyendaSteps};

constexpr Step kLeyendasFiscalesSteps[] = {
    req("version"),
    each("leyendasFisc:Leyenda", kLeyenda),
};
constexpr Template kLeyendasFiscales{kLeyendasFiscalesSteps};

constexpr Match kMatches[] = {
    {"leyendasFisc:LeyendasFiscales", &kLeyendasFiscales},
    {"leyendasFisc:Leyenda", &kLeyenda},
};

}  // namespace

std::span<const Match> leyendas_fiscales10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
