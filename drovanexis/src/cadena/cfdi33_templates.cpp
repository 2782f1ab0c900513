#include "cadena/template.h"

// Original string of CFDI 3.3: the comprobante, its nodes and the concept taxes. Complements inside
// cfdi:Complemento are dispatched by element name.
namespace drovanexis::cadena {
namespace {

constexpr Step kCfdiRelacionadosCfdiRelacionadoSteps[] = {
    req("UUID"),
};
constexpr Template kCfdiRelacionadosCfdiRelacionado{kCfdiRelacionadosCfdiRelacionadoSteps};

constexpr Step kCfdiRelacionadosSteps[] = {
    req("TipoRelacion"),
    each("cfdi:CfdiRelacionado", kCfdiRelacionadosCfdiRelacionado),
};
constexpr Template kCfdiRelacionados{kCfdiRelacionadosSteps};

constexpr Step kEmisorSteps[] = {
    req("Rfc"),
    opt("Nombre"),
    req("RegimenFiscal"),
};
constexpr Template kEmisor{kEmisorSteps};

constexpr Step kReceptorSteps[] = {
    req("Rfc"), opt("Nombre"), opt("ResidenciaFiscal"), opt("NumRegIdTrib"), req("UsoCFDI"),
};
constexpr Template kReceptor{kReceptorSteps};

constexpr Step kConceptoTrasladoSteps[] = {
    req("Base"), req("Impuesto"), req("TipoFactor"), opt("TasaOCuota"), opt("Importe"),
};
constexpr Template kConceptoTraslado{kConceptoTrasladoSteps};

constexpr Step kConceptoRetencionSteps[] = {
    req("Base"), req("Impuesto"), req("TipoFactor"), req("TasaOCuota"), req("Importe"),
};
constexpr Template kConceptoRetencion{kConceptoRetencionSteps};

constexpr Step kInformacionAduaneraSteps[] = {
    req("NumeroPedimento"),
};
constexpr Template kInformacionAduanera{kInformacionAduaneraSteps};

constexpr Step kCuentaPredialSteps[] = {
    req("Numero"),
};
constexpr Template kCuentaPredial{kCuentaPredialSteps};

constexpr Step kComplementoConceptoSteps[] = {
    each_child(),
};
constexpr Template kComplementoConcepto{kComplementoConceptoSteps};

constexpr Step kParteSteps[] = {
    req("ClaveProdServ"), opt("NoIdentificacion"),
    req("Cantidad"),      opt("Unidad"),
    req("Descripcion"),   opt("ValorUnitario"),
    opt("Importe"),       each_descendant("cfdi:InformacionAduanera", kInformacionAduanera),
};
constexpr Template kParte{kParteSteps};

constexpr Step kConceptoSteps[] = {
    req("ClaveProdServ"),
    opt("NoIdentificacion"),
    req("Cantidad"),
    req("ClaveUnidad"),
    opt("Unidad"),
    req("Descripcion"),
    req("ValorUnitario"),
    req("Importe"),
    opt("Descuento"),
    each("cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", kConceptoTraslado),
    each("cfdi:Impuestos/cfdi:Retenciones/cfdi:Retencion", kConceptoRetencion),
    each("cfdi:InformacionAduanera", kInformacionAduanera),
    each("cfdi:CuentaPredial", kCuentaPredial),
    each("cfdi:ComplementoConcepto", kComplementoConcepto),
    each_descendant("cfdi:Parte", kParte),
};
constexpr Template kConcepto{kConceptoSteps};

constexpr Step kConceptosSteps[] = {
    each("cfdi:Concepto", kConcepto),
};
constexpr Template kConceptos{kConceptosSteps};

constexpr Step kImpuestosRetencionSteps[] = {
    req("Impuesto"),
    req("Importe"),
};
constexpr Template kImpuestosRetencion{kImpuestosRetencionSteps};

constexpr Step kImpuestosTrasladoSteps[] = {
    req("Impuesto"),
    req("TipoFactor"),
    req("TasaOCuota"),
    req("Importe"),
};
constexpr Template kImpuestosTraslado{kImpuestosTrasladoSteps};

constexpr Step kImpuestosSteps[] = {
    each("cfdi:Retenciones/cfdi:Retencion", kImpuestosRetencion),
    opt("TotalImpuestosRetenidos"),
    each("cfdi:Traslados/cfdi:Traslado", kImpuestosTraslado),
    opt("TotalImpuestosTrasladados"),
};
constexpr Template kImpuestos{kImpuestosSteps};

constexpr Step kComplementoSteps[] = {
    each_child(),
};
constexpr Template kComplemento{kComplementoSteps};

constexpr Step kComprobanteSteps[] = {
    req("Version"),
    opt("Serie"),
    opt("Folio"),
    req("Fecha"),
    opt("FormaPago"),
    req("NoCertificado"),
    opt("CondicionesDePago"),
    req("SubTotal"),
    opt("Descuento"),
    req("Moneda"),
    opt("TipoCambio"),
    req("Total"),
    req("TipoDeComprobante"),
    opt("MetodoPago"),
    req("LugarExpedicion"),
    opt("Confirmacion"),
    each("cfdi:CfdiRelacionados", kCfdiRelacionados),
    each("cfdi:Emisor", kEmisor),
    each("cfdi:Receptor", kReceptor),
    each("cfdi:Conceptos", kConceptos),
    each("cfdi:Impuestos", kImpuestos),
    each("cfdi:Complemento", kComplemento),
};
constexpr Template kComprobante{kComprobanteSteps};

constexpr Match kMatches[] = {
    {"cfdi:Comprobante", &kComprobante},
    {"cfdi:CfdiRelacionados", &kCfdiRelacionados},
    {"cfdi:Emisor", &kEmisor},
    {"cfdi:Receptor", &kReceptor},
    {"cfdi:Conceptos", &kConceptos},
    {"cfdi:Concepto", &kConcepto},
    {"cfdi:InformacionAduanera", &kInformacionAduanera},
    {"cfdi:CuentaPredial", &kCuentaPredial},
    {"cfdi:ComplementoConcepto", &kComplementoConcepto},
    {"cfdi:Parte", &kParte},
    {"cfdi:Complemento", &kComplemento},
    {"cfdi:Impuestos", &kImpuestos},
};

}  // namespace

std::span<const Match> cfdi33_templates() { return kMatches; }

}  // namespace drovanexis::cadena
