#include "cadena/template.h"

// Third-party concept complement 1.1.
namespace drovanexis::cadena {
namespace {

constexpr Step kRetencionSteps[] = {
    req("impuesto"),
    req("importe"),
};
constexpr Template kRetencion{kRetencionSteps};

constexpr Step kRetencionesWithinSteps[] = {
    each("terceros:Retencion", kRetencion),
};
constexpr Template kRetencionesWithin{kRetencionesWithinSteps};

constexpr Step kTrasladoSteps[] = {
    req("impuesto"),
    req("tasa"),
    req("importe"),
};
constexpr Template kTraslado{kTrasladoSteps};

constexpr Step kTrasladosWithinSteps[] = {
    each("terceros:Traslado", kTraslado),
};
constexpr Template kTrasladosWithin{kTrasladosWithinSteps};

constexpr Step kInformacionFiscalTerceroSteps[] = {
    req("calle"),      opt("noExterior"), opt("noInterior"), opt("colonia"), opt("localidad"),
    opt("referencia"), req("municipio"),  req("estado"),     req("pais"),    req("codigoPostal"),
};
constexpr Template kInformacionFiscalTercero{kInformacionFiscalTerceroSteps};

constexpr Step kInformacionAduaneraSteps[] = {
    req("numero"),
    req("fecha"),
    opt("aduana"),
};
constexpr Template kInformacionAduanera{kInformacionAduaneraSteps};

constexpr Step kCuentaPredialSteps[] = {
    req("numero"),
};
constexpr Template kCuentaPredial{kCuentaPredialSteps};

constexpr Step kPorCuentadeTercerosSteps[] = {
    req("version"),
    req("rfc"),
    opt("nombre"),
    each_descendant("terceros:InformacionFiscalTercero", kInformacionFiscalTercero),
    each_descendant("terceros:InformacionAduanera", kInformacionAduanera),
    each("terceros:CuentaPredial", kCuentaPredial),
    each_descendant("terceros:Retenciones", kRetencionesWithin),
    each_descendant("terceros:Traslados", kTrasladosWithin),
};
constexpr Template kPorCuentadeTerceros{kPorCuentadeTercerosSteps};

constexpr Match kMatches[] = {
    {"terceros:PorCuentadeTerceros", &kPorCuentadeTerceros},
    {"terceros:Retencion", &kRetencion},
    {"terceros:Traslado", &kTraslado},
    {"terceros:InformacionAduanera", &kInformacionAduanera},
    {"terceros:CuentaPredial", &kCuentaPredial},
    {"terceros:InformacionFiscalTercero", &kInformacionFiscalTercero},
};

}  // namespace

std::span<const Match> terceros11_templates() { return kMatches; }

}  // namespace drovanexis::cadena
