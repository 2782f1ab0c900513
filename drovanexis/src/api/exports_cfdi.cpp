#include "api/api_support.h"
#include "document/builders.h"
#include "drovanexis.h"

// CFDI 3.3 nodes: each entry hands its texts to the builder of its node.
using drovanexis::api::build;

void Drovanexis_SetComprobanteInfo_cfdi33(int32_t handle, const char* Serie, const char* Folio,
                                          const char* Fecha, const char* FormaPago,
                                          const char* CondicionesDePago, const char* SubTotal,
                                          const char* Descuento, const char* Moneda,
                                          const char* TipoCambio, const char* Total,
                                          const char* TipoDeComprobante, const char* MetodoPago,
                                          const char* LugarExpedicion, const char* Confirmacion) {
  build(handle, drovanexis::set_comprobante,
        {Serie, Folio, Fecha, FormaPago, CondicionesDePago, SubTotal, Descuento, Moneda, TipoCambio,
         Total, TipoDeComprobante, MetodoPago, LugarExpedicion, Confirmacion});
}

void Drovanexis_SetCfdiRelacionados_cfdi33(int32_t handle, const char* TipoRelacion) {
  build(handle, drovanexis::set_cfdi_relacionados, {TipoRelacion});
}

void Drovanexis_AddCfdiRelacionado_cfdi33(int32_t handle, const char* UUID) {
  build(handle, drovanexis::add_cfdi_relacionado, {UUID});
}

void Drovanexis_SetEmisorInfo_cfdi33(int32_t handle, const char* Rfc, const char* Nombre,
                                     const char* RegimenFiscal) {
  build(handle, drovanexis::set_emisor, {Rfc, Nombre, RegimenFiscal});
}

void Drovanexis_SetReceptorInfo_cfdi33(int32_t handle, const char* Rfc, const char* Nombre,
                                       const char* ResidenciaFiscal, const char* NumRegIdTrib,
                                       const char* UsoCFDI) {
  build(handle, drovanexis::set_receptor, {Rfc, Nombre, ResidenciaFiscal, NumRegIdTrib, UsoCFDI});
}

void Drovanexis_AddConcepto_cfdi33(int32_t handle, const char* ClaveProdServ,
                                   const char* NoIdentificacion, const char* Cantidad,
                                   const char* ClaveUnidad, const char* Unidad,
                                   const char* Descripcion, const char* ValorUnitario,
                                   const char* Importe, const char* Descuento) {
  build(handle, drovanexis::add_concepto,
        {ClaveProdServ, NoIdentificacion, Cantidad, ClaveUnidad, Unidad, Descripcion, ValorUnitario,
         Importe, Descuento});
}

void Drovanexis_AddConceptoTraslado_cfdi33(int32_t handle, const char* Base, const char* Impuesto,
                                           const char* TipoFactor, const char* TasaOCuota,
                                           const char* Importe) {
  build(handle, drovanexis::add_concepto_traslado,
        {Base, Impuesto, TipoFactor, TasaOCuota, Importe});
}

void Drovanexis_AddConceptoRetencion_cfdi33(int32_t handle, const char* Base, const char* Impuesto,
                                            const char* TipoFactor, const char* TasaOCuota,
                                            const char* Importe) {
  build(handle, drovanexis::add_concepto_retencion,
        {Base, Impuesto, TipoFactor, TasaOCuota, Importe});
}

void Drovanexis_SetImpuestosInfo_cfdi33(int32_t handle, const char* TotalImpuestosTrasladados,
                                        const char* TotalImpuestosRetenidos) {
  build(handle, drovanexis::set_impuestos, {TotalImpuestosTrasladados, TotalImpuestosRetenidos});
}

void Drovanexis_AddRetencion_cfdi33(int32_t handle, const char* Impuesto, const char* Importe) {
  build(handle, drovanexis::add_retencion, {Impuesto, Importe});
}

void Drovanexis_AddTraslado_cfdi33(int32_t handle, const char* Impuesto, const char* TipoFactor,
                                   const char* TasaOCuota, const char* Importe) {
  build(handle, drovanexis::add_traslado, {Impuesto, TipoFactor, TasaOCuota, Importe});
}

void Drovanexis_AddConceptoInformacionAduanera_cfdi33(int32_t handle, const char* NumeroPedimento) {
  build(handle, drovanexis::add_concepto_informacion_aduanera, {NumeroPedimento});
}

void Drovanexis_AddConceptoCuentaPredial_cfdi33(int32_t handle, const char* Numero) {
  build(handle, drovanexis::add_concepto_cuenta_predial, {Numero});
}

void Drovanexis_AddConceptoParte_cfdi33(int32_t handle, const char* ClaveProdServ,
                                        const char* NoIdentificacion, const char* Cantidad,
                                        const char* Unidad, const char* Descripcion,
                                        const char* ValorUnitario, const char* Importe,
                                        const char* InformacionAduanera_NumeroPedimento) {
  build(handle, drovanexis::add_concepto_parte,
        {ClaveProdServ, NoIdentificacion, Cantidad, Unidad, Descripcion, ValorUnitario, Importe,
         InformacionAduanera_NumeroPedimento});
}
