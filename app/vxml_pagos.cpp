// Option 2: a payment receipt of KIJ0906199R1 with the payments complement
// 1.0: one payment of 1160.00 MXN that settles one earlier invoice in full.

#include "app/issuing.h"
#include "app/operations.h"
#include "app/pages_texts.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"

namespace app {
namespace {

const ScenarioTexts kTexts{
    " Procesando XML con Complemento de Pagos 1.0, Por favor espere ... ",
    title_pagos,
    "CSD_KIJ0906199R1.cer",
    "CSD_KIJ0906199R1.key",
    "CFDI33conPagos.xml",
};

void build_payments_receipt(std::int32_t h) {
  DROVANEXIS_SETVELMORANETINFO(h, "demo_valdorin", "zqvx");
  DROVANEXIS_SETCOMPROBANTEINFO_CFDI33(h, "PAGO", "1", "%cb_date", "", "", "0", "", "XXX", "", "0",
                                       "P", "", "53050", "");
  DROVANEXIS_SETCFDIRELACIONADOS_CFDI33(h, "04");
  DROVANEXIS_ADDCFDIRELACIONADO_CFDI33(h, "FF93C8BE-AF7B-4FC5-8854-6DAE18CFB5B4");
  DROVANEXIS_ADDCFDIRELACIONADO_CFDI33(h, "D8E18C2F-2859-4927-A0F0-EA3E93642DDC");
  DROVANEXIS_ADDCFDIRELACIONADO_CFDI33(h, "BE1D4B47-E167-47A3-8049-70D4D43BCBE8");
  DROVANEXIS_ADDCFDIRELACIONADO_CFDI33(h, "FDBA380A-9732-4FB5-A6CB-5FB4BD831697");
  DROVANEXIS_SETEMISORINFO_CFDI33(h, "KIJ0906199R1", "Empresa de prueba SA de CV", "601");
  DROVANEXIS_SETRECEPTORINFO_CFDI33(h, "VDN020304QX7", "Valdorin SA de CV", "", "", "P01");
  DROVANEXIS_ADDCONCEPTO_CFDI33(h, "84111506", "", "1", "ACT", "", "Pago", "0", "0", "");
  // The complement first, then the payment, then the document it settles
  // (which belongs to the payment set just before it).
  DROVANEXIS_SETPAGOS10(h);
  DROVANEXIS_PAGOS10SETPAGO(h, "2017-05-31T12:00:00", "02", "MXN", "", "1160.00", "652",
                            "BSM970519DU8", "", "014320098765432107", "CFA950629CAA",
                            "014320098765439981", "", "", "", "");
  DROVANEXIS_PAGOS10ADDPAGODOCTORELACIONADO(h, "FF93C8BE-AF7B-4FC5-8854-6DAE18CFB5B4", "A", "434",
                                            "MXN", "", "PPD", "1", "1160.00", "1160.00", "0.00");
}

}  // namespace

void VXMLPAGOS() {
  console::RoutineFrame frame("VXMLPAGOS");
  issue_document(kTexts, build_payments_receipt);
}

}  // namespace app
