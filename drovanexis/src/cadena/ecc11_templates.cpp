#include "cadena/template.h"

// Fuel account statement complement 1.1.
namespace drovanexis::cadena {
namespace {

constexpr Step kTrasladoSteps[] = {
    req("Impuesto"),
    req("TasaoCuota"),
    req("Importe"),
};
constexpr Template kTraslado{kTrasladoSteps};

constexpr Step kTrasladosSteps[] = {
    each("ecc11:Traslado", kTraslado),
};
constexpr Template kTraslados{kTrasladosSteps};

constexpr Step kConceptoEstadoDeCuentaCombustibleSteps[] = {
    req("Identificador"),
    req("Fecha"),
    req("Rfc"),
    req("ClaveEstacion"),
    opt("TAR"),
    req("Cantidad"),
    req("NoIdentificacion"),
    opt("Unidad"),
    req("NombreCombustible"),
    req("FolioOperacion"),
    req("ValorUnitario"),
    req("Importe"),
    each("ecc11:Traslados", kTraslados),
};
constexpr Template kConceptoEstadoDeCuentaCombustible{kConceptoEstadoDeCuentaCombustibleSteps};

constexpr Step kConceptosSteps[] = {
    each("ecc11:ConceptoEstadoDeCuentaCombustible", kConceptoEstadoDeCuentaCombustible),
};
constexpr Template kConceptos{kConceptosSteps};

constexpr Step kEstadoDeCuentaCombustibleSteps[] = {
    req("Version"),  req("TipoOperacion"), req("NumeroDeCuenta"),
    req("SubTotal"), req("Total"),         each("ecc11:Conceptos", kConceptos),
};
constexpr Template kEstadoDeCuentaCombustible{kEstadoDeCuentaCombustibleSteps};

constexpr Match kMatches[] = {
    {"ecc11:EstadoDeCuentaCombustible", &kEstadoDeCuentaCombustible},
    {"ecc11:Conceptos", &kConceptos},
    {"ecc11:Traslados", &kTraslados},
    {"ecc11:ConceptoEstadoDeCuentaCombustible", &kConceptoEstadoDeCuentaCombustible},
    {"ecc11:Traslado", &kTraslado},
};

}  // namespace

std::span<const Match> ecc11_templates() { return kMatches; }

}  // namespace drovanexis::cadena
