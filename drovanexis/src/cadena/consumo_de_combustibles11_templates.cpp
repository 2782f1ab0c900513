#include "cadena/template.h"

// Fuel consumption complement 1.1.
namespace drovanexis::cadena {
namespace {

constexpr Step kDeterminadoSteps[] = {
    req("impuesto"),
    req("tasaOCuota"),
    req("importe"),
};
constexpr Template kDeterminado{kDeterminadoSteps};

constexpr Step kDeterminadosSteps[] = {
    each("consumodecombustibles11:Determinado", kDeterminado),
};
constexpr Template kDeterminados{kDeterminadosSteps};

constexpr Step kConceptoConsumoDeCombustiblesSteps[] = {
    req("identificador"),
    req("fecha"),
    req("rfc"),
    req("claveEstacion"),
    req("tipoCombustible"),
    req("cantidad"),
    req("nombreCombustible"),
    req("folioOperacion"),
    req("valorUnitario"),
    req("importe"),
    each("consumodecombustibles11:Determinados", kDeterminados),
};
constexpr Template kConceptoConsumoDeCombustibles{kConceptoConsumoDeCombustiblesSteps};

constexpr Step kConceptosSteps[] = {
    each("consumodecombustibles11:ConceptoConsumoDeCombustibles", kConceptoConsumoDeCombustibles),
};
constexpr Template kConceptos{kConceptosSteps};

constexpr Step kConsumoDeCombustiblesSteps[] = {
    req("version"),  req("tipoOperacion"), req("numeroDeCuenta"),
    opt("subTotal"), req("total"),         each("consumodecombustibles11:Conceptos", kConceptos),
};
constexpr Template kConsumoDeCombustibles{kConsumoDeCombustiblesSteps};

constexpr Match kMatches[] = {
    {"consumodecombustibles11:ConsumoDeCombustibles", &kConsumoDeCombustibles},
    {"consumodecombustibles11:Conceptos", &kConceptos},
    {"consumodecombustibles11:ConceptoConsumoDeCombustibles", &kConceptoConsumoDeCombustibles},
    {"consumodecombustibles11:Determinados", &kDeterminados},
    {"consumodecombustibles11:Determinado", &kDeterminado},
};

}  // namespace

std::span<const Match> consumo_de_combustibles11_templates() { return kMatches; }

}  // namespace drovanexis::cadena
