// Option 1: a simple income invoice of CACX7605101P8 with two lines, their
// transferred VAT, a discount on the second line and four related CFDIs.

#include "app/issuing.h"
#include "app/operations.h"
#include "app/pages_texts.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"

namespace app {
namespace {

const ScenarioTexts kTexts{
    " Procesando XML Simple, Por favor espere ... ",
    title_simple,
    "CSD_CACX7605101P8.cer",
    "CSD_CACX7605101P8.key",
    "CFDI33Simple.xml",
};

void build_simple_invoice(std::int32_t h) {
  DROVANEXIS_SETVELMORANETINFO(h, "demo_valdorin", "zqvx");
  DROVANEXIS_SETCOMPROBANTEINFO_CFDI33(h, "A", "1", "%cb_date", "99", "Contado Comercial",
                                       "1000.00", "50.00", "MXN", "", "1102.00", "I", "PPD",
                                       "53050", "");
  DROVANEXIS_SETCFDIRELACIONADOS_CFDI33(h, "04");
  DROVANEXIS_ADDCFDIRELACIONADO_CFDI33(h, "FF93C8BE-AF7B-4FC5-8854-6DAE18CFB5B4");
  DROVANEXIS_ADDCFDIRELACIONADO_CFDI33(h, "D8E18C2F-2859-4927-A0F0-EA3E93642DDC");
  DROVANEXIS_ADDCFDIRELACIONADO_CFDI33(h, "BE1D4B47-E167-47A3-8049-70D4D43BCBE8");
  DROVANEXIS_ADDCFDIRELACIONADO_CFDI33(h, "FDBA380A-9732-4FB5-A6CB-5FB4BD831697");
  DROVANEXIS_SETEMISORINFO_CFDI33(h, "CACX7605101P8", "Empresa de prueba SA de CV", "612");
  DROVANEXIS_SETRECEPTORINFO_CFDI33(h, "VDN020304QX7", "Valdorin SA de CV", "", "", "G01");
  // Each line is followed at once by its transferred tax.
  DROVANEXIS_ADDCONCEPTO_CFDI33(h, "84111506", "SEF500", "1", "H87", "Timbre",
                                "Paquete de 500 timbres fiscales", "500.00", "500.00", "");
  DROVANEXIS_ADDCONCEPTOTRASLADO_CFDI33(h, "500.00", "002", "Tasa", "0.160000", "80.00");
  DROVANEXIS_ADDCONCEPTO_CFDI33(h, "84111506", "SEF250", "2", "H87", "Timbre",
                                "Paquete de 500 timbres fiscales", "250.00", "500.00", "50.00");
  DROVANEXIS_ADDCONCEPTOTRASLADO_CFDI33(h, "450.00", "002", "Tasa", "0.160000", "72.00");
  // Transferred total first, then the (empty) withheld total.
  DROVANEXIS_SETIMPUESTOSINFO_CFDI33(h, "152.00", "");
  DROVANEXIS_ADDTRASLADO_CFDI33(h, "002", "Tasa", "0.160000", "152.00");
}

}  // namespace

void VXMLSAMPLE() {
  console::RoutineFrame frame("VXMLSAMPLE");
  issue_document(kTexts, build_simple_invoice);
}

}  // namespace app
