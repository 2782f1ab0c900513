// Option 4: a transfer document (type "T") of KIJ0906199R1 with the transport
// complement 1.0: two goods moved by federal motor transport between two
// locations, with one vehicle and one operator.

#include "app/issuing.h"
#include "app/operations.h"
#include "app/pages_texts.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"

namespace app {
namespace {

const ScenarioTexts kTexts{
    " Procesando XML con Complemento de Carta Porte 1.0, Por favor espere ... ",
    title_carta_porte_10,
    "CSD_KIJ0906199R1.cer",
    "CSD_KIJ0906199R1.key",
    "CFDI33CartaPorte10.xml",
};

void build_carta_porte10(std::int32_t h) {
  DROVANEXIS_SETVELMORANETINFO(h, "demo_valdorin", "pelunarq");
  DROVANEXIS_SETCOMPROBANTEINFO_CFDI33(h, "CP", "001", "%cb_date", "", "", "0", "0", "XXX", "", "0",
                                       "T", "", "02760", "");
  DROVANEXIS_SETEMISORINFO_CFDI33(h, "KIJ0906199R1", "Empresa de Prueba, S.A. de C.V.", "601");
  DROVANEXIS_SETRECEPTORINFO_CFDI33(h, "XAXX010101000", "Mi sucursal en Monterrey, S.A. de C.V.",
                                    "", "", "P01");
  DROVANEXIS_ADDCONCEPTO_CFDI33(h, "12164502", "1158D10887", "1", "H87", "Pza", "Articulo 1", "0",
                                "0", "");
  DROVANEXIS_ADDCONCEPTO_CFDI33(h, "12164502", "1158D10887", "330", "H87", "Pza", "Articulo 2", "0",
                                "0", "");
  DROVANEXIS_SETCARTAPORTE10(h, "No", "", "", "900");
  // The origin (departure time and address), then the destination (distance,
  // arrival time and address).
  DROVANEXIS_CARTAPORTE10ADDUBICACION(
      h, "", "", "", "", "", "", "", "", "", "", "2021-07-06T10:00:00", "", "", "", "", "", "", "",
      "", "", "Soledad", "242", "", "0430", "02", "", "002", "DIF", "MEX", "02519");
  DROVANEXIS_CARTAPORTE10ADDUBICACION(h, "", "900", "", "", "", "", "", "", "", "", "", "", "", "",
                                      "", "", "", "", "", "2021-07-06T14:00:00",
                                      "AV. DE LAS INDUSTRIAS", "518", "", "4331", "03", "", "021",
                                      "NLE", "MEX", "66062");
  DROVANEXIS_CARTAPORTE10SETMERCANCIAS(h, "", "", "", "2", "");
  DROVANEXIS_CARTAPORTE10ADDMERCANCIA(h, "12164502", "", "Articulo 1", "1", "H87", "Pza", "", "",
                                      "", "", "", "20", "", "", "", "", "", "", "", "", "", "", "",
                                      "", "");
  DROVANEXIS_CARTAPORTE10ADDMERCANCIA(h, "12164502", "", "Articulo 2", "330", "H87", "Pza", "", "",
                                      "", "", "", "39.6", "", "", "", "", "", "", "", "", "", "",
                                      "", "", "");
  DROVANEXIS_CARTAPORTE10SETMERCANCIASAUTOTRANSPORTEFEDERAL(
      h, "TPAF01", "0919dei0907201302100001002", "Qualitas Seguros de Autos", "6180024517", "C3",
      "204ES9", "2014", "", "", "", "");
  DROVANEXIS_CARTAPORTE10SETFIGURATRANSPORTE(h, "01");
  DROVANEXIS_CARTAPORTE10ADDFIGURATRANSPORTEOPERADORES(h, "SONJ690412R83", "DF7K481096",
                                                       "JAVIER SOTELO NUNEZ", "", "", "", "", "",
                                                       "", "", "", "", "", "", "");
}

}  // namespace

void VXMLCARTAPORTE1() {
  console::RoutineFrame frame("VXMLCARTAPORTE1");
  issue_document(kTexts, build_carta_porte10);
}

}  // namespace app
