#include "cadena/template.h"

// Fuel consumption complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kDeterminadoSteps[] = {
    req("impuesto"),
    req("tasa"),
    req("importe"),
};
constexpr Template kDeterminado{kDeterminadoSteps};

constexpr Step kDeterminadosSteps[] = {
    each("consumodecombustibles:Determinado", kDeterminado),
};
constexpr Template kDeterminados{kDeterminadosSteps};

constexpr Step kConceptoConsumoDeCombustiblesSteps[] = {
    req("identificador"),
    req("fecha"),
    req("rfc"),
    req("claveEstacion"),
    req("cantidad"),
    req("nombreCombustible"),
    req("folioOperacion"),
    req("valorUnitario"),
    req("importe"),
    each("consumodecombustibles:Determinados", kDeterminados),
};
constexpr Template kConceptoConsumoDeCombustibles{kConceptoConsumoDeCombustiblesSteps};

constexpr Step kConceptosSteps[] = {
    each("consumodecombustibles:ConceptoConsumoDeCombustibles", kConceptoConsumoDeCombustibles),
};
constexpr Template kConceptos{kConceptosSteps};

constexpr Step kConsumoDeCombustiblesSteps[] = {
    req("version"),  req("tipoOperacion"), req("numeroDeCuenta"),
    opt("subTotal"), req("total"),         each("consumodecombustibles:Conceptos", kConceptos),
};
constexpr Template kConsumoDeCombustibles{kConsumoDeCombustiblesSteps};

constexpr Match kMatches[] = {
    {"consumodecombustibles:ConsumoDeCombustibles", &kConsumoDeCombustibles},
    {"consumodecombustibles:Conceptos", &kConceptos},
    {"consumodecombustibles:ConceptoConsumoDeCombustibles", &kConceptoConsumoDeCombustibles},
    {"consumodecombustibles:Determinados", &kDeterminados},
    {"consumodecombustibles:Determinado", &kDeterminado},
};

}  // namespace

std::span<const Match> consumo_de_combustibles10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
