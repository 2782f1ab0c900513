#include "cadena/template.h"

// Local taxes complement 1.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kRetencionesLocalesSteps[] = {
    req("ImpLocRetenido"),
    req("TasadeRetencion"),
    req("Importe"),
};
constexpr Template kRetencionesLocales{kRetencionesLocalesSteps};

constexpr Step kTrasladosLocalesSteps[] = {
    req("ImpLocTrasladado"),
    req("TasadeTraslado"),
    req("Importe"),
};
constexpr Template kTrasladosLocales{kTrasladosLocalesSteps};

constexpr Step kImpuestosLocalesSteps[] = {
    req("version"),
    req("TotaldeRetenciones"),
    req("TotaldeTraslados"),
    each("implocal:RetencionesLocales", kRetencionesLocales),
    each("implocal:TrasladosLocales", kTrasladosLocales),
};
constexpr Template kImpuestosLocales{kImpuestosLocalesSteps};

constexpr Match kMatches[] = {
    {"implocal:ImpuestosLocales", &kImpuestosLocales},
};

}  // namespace

std::span<const Match> implocal10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
