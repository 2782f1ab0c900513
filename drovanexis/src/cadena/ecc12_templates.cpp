#include "cadena/template.h"

// Fuel account statement complement 1.2.
namespace drovanexis::cadena {
namespace {

constexpr Step kTrasladoSteps[] = {
    req("Impuesto"),
    req("TasaOCuota"),
    req("Importe"),
};
constexpr Template kTraslado{kTrasladoSteps};

constexpr Step kTrasladosSteps[] = {
    each("ecc12:Traslado", kTraslado),
};
constexpr Template kTraslados{kTrasladosSteps};

constexpr Step kConceptoEstadoDeCuentaCombustibleSteps[] = {
    req("Identificador"),
    req("Fecha"),
    req("Rfc"),
    req("ClaveEstacion"),
    req("Cantidad"),
    req("TipoCombustible"),
    opt("Unidad"),
    req("NombreCombustible"),
    req("FolioOperacion"),
    req("ValorUnitario"),
    req("Importe"),
    each("ecc12:Traslados", kTraslados),
};
constexpr Template kConceptoEstadoDeCuentaCombustible{kConceptoEstadoDeCuentaCombustibleSteps};

constexpr Step kConceptosSteps[] = {
    each("ecc12:ConceptoEstadoDeCuentaCombustible", kConceptoEstadoDeCuentaCombustible),
};
constexpr Template kConceptos{kConceptosSteps};

constexpr Step kEstadoDeCuentaCombustibleSteps[] = {
    req("Version"),  req("TipoOperacion"), req("NumeroDeCuenta"),
    req("SubTotal"), req("Total"),         each("ecc12:Conceptos", kConceptos),
};
constexpr Template kEstadoDeCuentaCombustible{kEstadoDeCuentaCombustibleSteps};

constexpr Match kMatches[] = {
    {"ecc12:EstadoDeCuentaCombustible", &kEstadoDeCuentaCombustible},
    {"ecc12:Conceptos", &kConceptos},
    {"ecc12:Traslados", &kTraslados},
    {"ecc12:ConceptoEstadoDeCuentaCombustible", &kConceptoEstadoDeCuentaCombustible},
    {"ecc12:Traslado", &kTraslado},
};

}  // namespace

std::span<const Match> ecc12_templates() { return kMatches; }

}  // namespace drovanexis::cadena
