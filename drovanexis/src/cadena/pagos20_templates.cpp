#include "cadena/template.h"

// Payments complement 2.0.
namespace drovanexis::cadena {
namespace {

constexpr Step kTotalesSteps[] = {
    opt("TotalRetencionesIVA"),
    opt("TotalRetencionesISR"),
    opt("TotalRetencionesIEPS"),
    opt("TotalTrasladosBaseIVA16"),
    opt("TotalTrasladosImpuestoIVA16"),
    opt("TotalTrasladosBaseIVA8"),
    opt("TotalTrasladosImpuestoIVA8"),
    opt("TotalTrasladosBaseIVA0"),
    opt("TotalTrasladosImpuestoIVA0"),
    opt("TotalTrasladosBaseIVAExento"),
    req("MontoTotalPagos"),
};
constexpr Template kTotales{kTotalesSteps};

constexpr Step kDoctoRelacionadoRetencionDRSteps[] = {
    req("BaseDR"), req("ImpuestoDR"), req("TipoFactorDR"), req("TasaOCuotaDR"), req("ImporteDR"),
};
constexpr Template kDoctoRelacionadoRetencionDR{kDoctoRelacionadoRetencionDRSteps};

constexpr Step kDoctoRelacionadoTrasladoDRSteps[] = {
    req("BaseDR"), req("ImpuestoDR"), req("TipoFactorDR"), opt("TasaOCuotaDR"), opt("ImporteDR"),
};
constexpr Template kDoctoRelacionadoTrasladoDR{kDoctoRelacionadoTrasladoDRSteps};

constexpr Step kDoctoRelacionadoSteps[] = {
    req("IdDocumento"),
    opt("Serie"),
    opt("Folio"),
    req("MonedaDR"),
    opt("EquivalenciaDR"),
    req("NumParcialidad"),
    req("ImpSaldoAnt"),
    req("ImpPagado"),
    req("ImpSaldoInsoluto"),
    req("ObjetoImpDR"),
    each("pago20:ImpuestosDR/pago20:RetencionesDR/pago20:RetencionDR",
         kDoctoRelacionadoRetencionDR),
    each("pago20:ImpuestosDR/pago20:TrasladosDR/pago20:TrasladoDR", kDoctoRelacionadoTrasladoDR),
};
constexpr Template kDoctoRelacionado{kDoctoRelacionadoSteps};

constexpr Step kRetencionPSteps[] = {
    req("ImpuestoP"),
    req("ImporteP"),
};
constexpr Template kRetencionP{kRetencionPSteps};

constexpr Step kRetencionesPSteps[] = {
    each("pago20:RetencionP", kRetencionP),
};
constexpr Template kRetencionesP{kRetencionesPSteps};

constexpr Step kTrasladoPSteps[] = {
    req("BaseP"), req("ImpuestoP"), req("TipoFactorP"), opt("TasaOCuotaP"), opt("ImporteP"),
};
constexpr Template kTrasladoP{kTrasladoPSteps};

constexpr Step kTrasladosPSteps[] = {
    each("pago20:TrasladoP", kTrasladoP),
};
constexpr Template kTrasladosP{kTrasladosPSteps};

constexpr Step kImpuestosPSteps[] = {
    each("pago20:RetencionesP", kRetencionesP),
    each("pago20:TrasladosP", kTrasladosP),
};
constexpr Template kImpuestosP{kImpuestosPSteps};

constexpr Step kPagoSteps[] = {
    req("FechaPago"),
    req("FormaDePagoP"),
    req("MonedaP"),
    opt("TipoCambioP"),
    req("Monto"),
    opt("NumOperacion"),
    opt("RfcEmisorCtaOrd"),
    opt("NomBancoOrdExt"),
    opt("CtaOrdenante"),
    opt("RfcEmisorCtaBen"),
    opt("CtaBeneficiario"),
    opt("TipoCadPago"),
    opt("CertPago"),
    opt("CadPago"),
    opt("SelloPago"),
    each("pago20:DoctoRelacionado", kDoctoRelacionado),
    each("pago20:ImpuestosP", kImpuestosP),
};
constexpr Template kPago{kPagoSteps};

constexpr Step kPagosSteps[] = {
    req("Version"),
    each("pago20:Totales", kTotales),
    each("pago20:Pago", kPago),
};
constexpr Template kPagos{kPagosSteps};

constexpr Match kMatches[] = {
    {"pago20:Pagos", &kPagos},
    {"pago20:Totales", &kTotales},
    {"pago20:Pago", &kPago},
    {"pago20:DoctoRelacionado", &kDoctoRelacionado},
    {"pago20:ImpuestosP", &kImpuestosP},
    {"pago20:RetencionesP", &kRetencionesP},
    {"pago20:TrasladosP", &kTrasladosP},
    {"pago20:RetencionP", &kRetencionP},
    {"pago20:TrasladoP", &kTrasladoP},
};

}  // namespace

std::span<const Match> pagos20_templates() { return kMatches; }

}  // namespace drovanexis::cadena
