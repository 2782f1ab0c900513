// Option 3: a payroll receipt of KIJ0906199R1 with the payroll complement 1.2:
// one perception, two deductions and the employment subsidy as other payment.

#include "app/issuing.h"
#include "app/operations.h"
#include "app/pages_texts.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"

namespace app {
namespace {

const ScenarioTexts kTexts{
    " Procesando XML con Complemento de Nomina 1.2, Por favor espere ... ",
    title_nomina,
    "CSD_KIJ0906199R1.cer",
    "CSD_KIJ0906199R1.key",
    "CFDI33conNomina.xml",
};

void build_payroll_receipt(std::int32_t h) {
  DROVANEXIS_SETVELMORANETINFO(h, "demo_valdorin", "pelunarq");
  DROVANEXIS_SETCOMPROBANTEINFO_CFDI33(h, "NOM", "1233", "%cb_date", "99", "", "1652.00", "123.00",
                                       "MXN", "", "1529.00", "N", "PUE", "53050", "");
  DROVANEXIS_SETEMISORINFO_CFDI33(h, "KIJ0906199R1", "Prueba de Nomina 12 con CFDI 33 SA de CV",
                                  "601");
  DROVANEXIS_SETRECEPTORINFO_CFDI33(h, "VIRJ800315K27", "VILLEGAS ROBLEDO JUAN CARLOS", "", "",
                                    "P01");
  DROVANEXIS_ADDCONCEPTO_CFDI33(h, "84111505", "", "1", "ACT", "", "Pago de n\xF3mina", "1652.00",
                                "1652.00", "123.00");
  DROVANEXIS_SETNOMINA12(h, "O", "2017-01-20", "2017-01-16", "2017-01-22", "7", "1652.00", "123.00",
                         "0.00");
  DROVANEXIS_NOMINA12SETEMISOR(h, "", "C3910341106", "", "", "");
  DROVANEXIS_NOMINA12SETRECEPTOR(h, "VIRJ800315HDFLBN04", "48025197316", "2005-10-31", "P586W",
                                 "01", "", "04", "02", "1003", "PAILERIA", "AYUDANTE GENERAL", "4",
                                 "02", "002", "4915803372610458", "", "248.28", "MEX");
  DROVANEXIS_NOMINA12SETPERCEPCIONES(h, "1652.00", "", "", "1652.00", "0.00");
  // Five texts for an entry of eleven: the binding passes the other six as
  // null pointers.
  DROVANEXIS_NOMINA12ADDPERCEPCION(h, "001", "101", "SUELDO", "1652.00", "0.00");
  DROVANEXIS_NOMINA12SETDEDUCCIONES(h, "42.00", "81.00");
  DROVANEXIS_NOMINA12ADDDEDUCCION(h, "002", "201", "ISR SALARIOS", "81.00");
  DROVANEXIS_NOMINA12ADDDEDUCCION(h, "001", "202", "IMSS", "42.00");
  DROVANEXIS_NOMINA12ADDOTROPAGO(h, "002", "SubEmp", "Subsidio al empleo", "0.00", "", "", "",
                                 "0.00");
}

}  // namespace

void VXMLNOMINA() {
  console::RoutineFrame frame("VXMLNOMINA");
  issue_document(kTexts, build_payroll_receipt);
}

}  // namespace app
