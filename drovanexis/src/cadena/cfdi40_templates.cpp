#include "cadena/template.h"

// Original string of CFDI 4.0: the comprobante, its nodes and the concept taxes. Against 3.3 it
// adds Exportacion, InformacionGlobal (whose Año is the one attribute name outside ASCII), the
// required names and tax addresses of both parties, ObjetoImp and ACuentaTerceros per concept, and
// the Base of each summarised transfer, whose rate and amount are optional (an exempt transfer has
// neither). Complements inside cfdi:Complemento are dispatched by element name.
namespace drovanexis::cadena {
namespace {

constexpr Step kInformacionGlobalSteps[] = {
    req("Periodicidad"),
    req("Meses"),
    req("Año"),
};
constexpr Template kInformacionGlobal{kInformacionGlobalSteps};

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
    req("Nombre"),
    req("RegimenFiscal"),
    opt("FacAtrAdquirente"),
};
constexpr Template kEmisor{kEmisorSteps};

constexpr Step kReceptorSteps[] = {
    req("Rfc"),
    req("Nombre"),
    req("DomicilioFiscalReceptor"),
    opt("ResidenciaFiscal"),
    opt("NumRegIdTrib"),
    req("RegimenFiscalReceptor"),
    req("UsoCFDI"),
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

constexpr Step kACuentaTercerosSteps[] = {
    req("RfcACuentaTerceros"),
    req("NombreACuentaTerceros"),
    req("RegimenFiscalACuentaTerceros"),
    req("DomicilioFiscalACuentaTerceros"),
};
constexpr Template kACuentaTerceros{kACuentaTercerosSteps};

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
    req("ObjetoImp"),
    each("cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", kConceptoTraslado),
    each("cfdi:Impuestos/cfdi:Retenciones/cfdi:Retencion", kConceptoRetencion),
    each("cfdi:ACuentaTerceros", kACuentaTerceros),
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
    req("Base"), req("Impuesto"), req("TipoFactor"), opt("TasaOCuota"), opt("Importe"),
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
    req("Exportacion"),
    opt("MetodoPago"),
    req("LugarExpedicion"),
    opt("Confirmacion"),
    each("cfdi:InformacionGlobal", kInformacionGlobal),
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
    {"cfdi:InformacionGlobal", &kInformacionGlobal},
    {"cfdi:CfdiRelacionados", &kCfdiRelacionados},
    {"cfdi:Emisor", &kEmisor},
    {"cfdi:Receptor", &kReceptor},
    {"cfdi:Conceptos", &kConceptos},
    {"cfdi:Concepto", &kConcepto},
    {"cfdi:ACuentaTerceros", &kACuentaTerceros},
    {"cfdi:InformacionAduanera", &kInformacionAduanera},
    {"cfdi:CuentaPredial", &kCuentaPredial},
    {"cfdi:ComplementoConcepto", &kComplementoConcepto},
    {"cfdi:Parte", &kParte},
    {"cfdi:Complemento", &kComplemento},
    {"cfdi:Impuestos", &kImpuestos},
};

}  // namespace

std::span<const Match> cfdi40_templates() { return kMatches; }

}  // namespace drovanexis::cadena
