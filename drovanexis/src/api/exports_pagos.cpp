#include "api/api_support.h"
#include "document/builders.h"
#include "drovanexis.h"

// Pagos 1.0 complement: each entry hands its texts to the builder of its node.
using drovanexis::api::build;

void Drovanexis_SetPagos10(int32_t handle) { build(handle, drovanexis::set_pagos10, {}); }

void Drovanexis_Pagos10SetPago(int32_t handle, const char* FechaPago, const char* FormaDePagoP,
                               const char* MonedaP, const char* TipoCambioP, const char* Monto,
                               const char* NumOperacion, const char* RfcEmisorCtaOrd,
                               const char* NomBancoOrdExt, const char* CtaOrdenante,
                               const char* RfcEmisorCtaBen, const char* CtaBeneficiario,
                               const char* TipoCadPago, const char* CertPago, const char* CadPago,
                               const char* SelloPago) {
  build(handle, drovanexis::add_pago,
        {FechaPago, FormaDePagoP, MonedaP, TipoCambioP, Monto, NumOperacion, RfcEmisorCtaOrd,
         NomBancoOrdExt, CtaOrdenante, RfcEmisorCtaBen, CtaBeneficiario, TipoCadPago, CertPago,
         CadPago, SelloPago});
}

void Drovanexis_Pagos10AddPagoDoctoRelacionado(int32_t handle, const char* IdDocumento,
                                               const char* Serie, const char* Folio,
                                               const char* MonedaDR, const char* TipoCambioDR,
                                               const char* MetodoDePagoDR,
                                               const char* NumParcialidad, const char* ImpSaldoAnt,
                                               const char* ImpPagado,
                                               const char* ImpSaldoInsoluto) {
  build(handle, drovanexis::add_pago_docto_relacionado,
        {IdDocumento, Serie, Folio, MonedaDR, TipoCambioDR, MetodoDePagoDR, NumParcialidad,
         ImpSaldoAnt, ImpPagado, ImpSaldoInsoluto});
}
