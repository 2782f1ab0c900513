#include "cadena/template.h"

// Food vouchers complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kConceptoSteps[] = {
    req("identificador"),      req("fecha"),   req("rfc"), req("curp"), req("nombre"),
    opt("numSeguridadSocial"), req("importe"),
};
constexpr Template kConcepto{kConceptoSteps};

constexpr Step kConceptosSteps[] = {
    each("valesdedespensa:Concepto", kConcepto),
};
constexpr Template kConceptos{kConceptosSteps};

constexpr Step kValesDeDespensaSteps[] = {
    req("version"),        req("tipoOperacion"), opt("registroPatronal"),
    req("numeroDeCuenta"), req("total"),         each("valesdedespensa:Conceptos", kConceptos),
};
constexpr Template kValesDeDespensa{kValesDeDespensaSteps};

constexpr Match kMatches[] = {
    {"valesdedespensa:ValesDeDespensa", &kValesDeDespensa},
    {"valesdedespensa:Conceptos", &kConceptos},
    {"valesdedespensa:Concepto", &kConcepto},
};

}  // namespace

std::span<const Match> vales_de_despensa10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
