#include "cadena/template.h"

// Hydrocarbon income complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kDocumentoRelacionadoSteps[] = {
    req("FolioFiscalVinculado"),
    req("FechaFolioFiscalVinculado"),
    req("Mes"),
};
constexpr Template kDocumentoRelacionado{kDocumentoRelacionadoSteps};

constexpr Step kIngresosHidrocarburosSteps[] = {
    req("Version"),
    req("NumeroContrato"),
    req("ContraprestacionPagadaOperador"),
    req("Porcentaje"),
    each("ieeh:DocumentoRelacionado", kDocumentoRelacionado),
};
constexpr Template kIngresosHidrocarburos{kIngresosHidrocarburosSteps};

constexpr Match kMatches[] = {
    {"ieeh:IngresosHidrocarburos", &kIngresosHidrocarburos},
    {"ieeh:DocumentoRelacionado", &kDocumentoRelacionado},
};

}  // namespace

std::span<const Match> ingresos_hidrocarburos10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
