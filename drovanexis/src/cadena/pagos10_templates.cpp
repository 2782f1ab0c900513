#include "cadena/template.h"

// Payments complement 1.0. Its Impuestos give their totals before the lists.
namespace drovanexis::cadena {
namespace {

constexpr Step kDoctoRelacionadoSteps[] = {
    req("IdDocumento"),      opt("Serie"),        opt("Folio"),
    req("MonedaDR"),         opt("TipoCambioDR"), req("MetodoDePagoDR"),
    opt("NumParcialidad"),   opt("ImpSaldoAnt"),  opt("ImpPagado"),
    opt("ImpSaldoInsoluto"),
};
constexpr Template kDoctoRelacionado{kDoctoRelacionadoSteps};

constexpr Step kRetencionSteps[] = {
    req("Impuesto"),
    req("Importe"),
};
constexpr Template kRetencion{kRetencionSteps};

constexpr Step kRetencionesSteps[] = {
    each("pago10:Retencion", kRetencion),
};
constexpr Template kRetenciones{kRetencionesSteps};

constexpr Step kTrasladoSteps[] = {
    req("Impuesto"),
    req("TipoFactor"),
    req("TasaOCuota"),
    req("Importe"),
};
constexpr Template kTraslado{kTrasladoSteps};

constexpr Step kTrasladosSteps[] = {
    each("pago10:Traslado", kTraslado),
};
constexpr Template kTraslados{kTrasladosSteps};

constexpr Step kImpuestosSteps[] = {
    opt("TotalImpuestosRetenidos"),
    opt("TotalImpuestosTrasladados"),
    each("pago10:Retenciones", kRetenciones),
    each("pago10:Traslados", kTraslados),
};
constexpr Template kImpuestos{kImpuestosSteps};

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
    each("pago10:DoctoRelacionado", kDoctoRelacionado),
    each("pago10:Impuestos", kImpuestos),
};
constexpr Template kPago{kPagoSteps};

constexpr Step kPagosSteps[] = {
    req("Version"),
    each("pago10:Pago", kPago),
};
constexpr Template kPagos{kPagosSteps};

constexpr Match kMatches[] = {
    {"pago10:Pagos", &kPagos},
    {"pago10:Pago", &kPago},
    {"pago10:DoctoRelacionado", &kDoctoRelacionado},
    {"pago10:Impuestos", &kImpuestos},
    {"pago10:Retenciones", &kRetenciones},
    {"pago10:Traslados", &kTraslados},
    {"pago10:Retencion", &kRetencion},
    {"pago10:Traslado", &kTraslado},
};

}  // namespace

std::span<const Match> pagos10_templates() { return kMatches; }

}  // namespace drovanexis::cadena
