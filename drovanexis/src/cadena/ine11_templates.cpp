#include "cadena/template.h"

// Electoral institute complement 1.1.
namespace drovanexis::cadena {
namespace {

constexpr Step kContabilidadSteps[] = {
    req("IdContabilidad"),
};
constexpr Template kContabilidad{kContabilidadSteps};

constexpr Step kEntidadSteps[] = {
    req("ClaveEntidad"),
    opt("Ambito"),
    each("ine:Contabilidad", kContabilidad),
};
constexpr Template kEntidad{kEntidadSteps};

constexpr Step kINESteps[] = {
    req("Version"),
    req("TipoProceso"),
    opt("TipoComite"),
    opt("IdContabilidad"),
    each("ine:Entidad", kEntidad),
};
constexpr Template kINE{kINESteps};

constexpr Match kMatches[] = {
    {"ine:INE", &kINE},
    {"ine:Entidad", &kEntidad},
    {"ine:Contabilidad", &kContabilidad},
};

}  // namespace

std::span<const Match> ine11_templates() { return kMatches; }

}  // namespace drovanexis::cadena
