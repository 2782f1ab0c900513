// Option 5: a freight-service income invoice of KIJ0906199R1 with the
// transport complement 2.0: one origin and two destinations, two goods with
// the quantity that travels to each destination, one vehicle with a trailer
// and three transport figures.

#include "app/issuing.h"
#include "app/operations.h"
#include "app/pages_texts.h"
#include "binding/drovanexis_bindings.h"
#include "console/call_stack.h"

namespace app {
namespace {

const ScenarioTexts kTexts{
    " Procesando XML con Complemento de Carta Porte 2.0, Por favor espere ... ",
    title_carta_porte_20,
    "CSD_KIJ0906199R1.cer",
    "CSD_KIJ0906199R1.key",
    "CFDI33CartaPorte20.xml",
};

// A transport figure; the three share their RFC and most of their address.
void add_figure(std::int32_t h, const char* tipo, const char* licencia, const char* nombre,
                const char* parte, const char* calle, const char* exterior,
                const char* referencia) {
  DROVANEXIS_CARTAPORTE20ADDFIGURATRANSPORTETIPOSFIGURA(
      h, tipo, "PEMJ420113SG1", licencia, nombre, "", "", parte, calle, exterior, "", "0347", "23",
      referencia, "004", "COA", "MEX", "25350");
}

void build_carta_porte20(std::int32_t h) {
  DROVANEXIS_SETVELMORANETINFO(h, "demo_valdorin", "pelunarq");
  DROVANEXIS_SETCOMPROBANTEINFO_CFDI33(h, "CP2", "001", "%cb_date", "01", "", "25000.00", "", "MXN",
                                       "1", "28000.00", "I", "PUE", "06300", "");
  DROVANEXIS_SETEMISORINFO_CFDI33(h, "KIJ0906199R1", "Emisor de Pruebas, S.A. de C.V", "601");
  DROVANEXIS_SETRECEPTORINFO_CFDI33(h, "XAXX010101000", "Receptor de Prueba", "", "", "G03");
  DROVANEXIS_ADDCONCEPTO_CFDI33(h, "78101500", "01", "1", "E48", "SERVICIO", "Flete de mercancias",
                                "25000.00", "25000.00", "");
  DROVANEXIS_ADDCONCEPTORETENCION_CFDI33(h, "25000.00", "002", "Tasa", "0.040000", "1000.00");
  DROVANEXIS_ADDCONCEPTOTRASLADO_CFDI33(h, "25000.00", "002", "Tasa", "0.160000", "4000.00");
  DROVANEXIS_SETIMPUESTOSINFO_CFDI33(h, "4000.00", "1000.00");
  DROVANEXIS_ADDRETENCION_CFDI33(h, "002", "1000.00");
  DROVANEXIS_ADDTRASLADO_CFDI33(h, "002", "Tasa", "0.160000", "4000.00");
  DROVANEXIS_SETCARTAPORTE20(h, "No", "", "", "", "2");
  DROVANEXIS_CARTAPORTE20ADDUBICACION(h, "Origen", "OR101010", "EKU9003173C9", "", "", "", "", "",
                                      "", "2021-11-01T00:00:00", "", "", "calle origen 1", "211",
                                      "", "0347", "23", "", "004", "COA", "MEX", "25350");
  DROVANEXIS_CARTAPORTE20ADDUBICACION(h, "Destino", "DE202020", "AAA010101AAA", "", "", "", "", "",
                                      "", "2021-11-01T01:00:00", "", "1", "calle destino 1", "214",
                                      "", "0347", "23", "entre av. lazaro cardenas y calle 32",
                                      "004", "COA", "MEX", "25350");
  DROVANEXIS_CARTAPORTE20ADDUBICACION(h, "Destino", "DE202021", "AAA010101AAA", "", "", "", "", "",
                                      "", "2021-11-01T02:00:00", "", "1", "calle destino 2", "125",
                                      "", "0347", "23", "Zorro Abarrotero", "004", "COA", "MEX",
                                      "25350");
  DROVANEXIS_CARTAPORTE20SETMERCANCIAS(h, "2.0", "XBX", "", "2", "");
  // Each quantity transported belongs to the goods added just before it.
  DROVANEXIS_CARTAPORTE20ADDMERCANCIA(h, "11121900", "", "Mercancia 1", "1.0", "XBX", "", "",
                                      "S\xED", "1266", "4H2", "", "1.0", "", "", "", "", "", "", "",
                                      "", "");
  DROVANEXIS_CARTAPORTE20ADDMERCANCIACANTIDADTRANSPORTA(h, "1", "OR101010", "DE202020", "");
  DROVANEXIS_CARTAPORTE20ADDMERCANCIA(h, "11121900", "", "Mercancia 2", "1.0", "XBX", "", "",
                                      "S\xED", "1266", "4H2", "", "1.0", "", "", "", "", "", "", "",
                                      "", "");
  DROVANEXIS_CARTAPORTE20ADDMERCANCIACANTIDADTRANSPORTA(h, "1", "OR101010", "DE202021", "");
  DROVANEXIS_CARTAPORTE20SETMERCANCIASAUTOTRANSPORTE(
      h, "TPAF01", "NumPermisoSCT", "VL", "PLAC892", "2009", "Seguros Atlas", "123456789",
      "GNP Seguros", "123456789", "ABA Seguros", "", "", "CTR003", "PAX1234", "", "");
  add_figure(h, "01", "a234567890", "Olvera Cisneros Anselmo", "", "Brisa", "423",
             "Atras del estadio");
  add_figure(h, "02", "", "Medina Quiroz Tomas", "PT01", "Padre Lerchundi", "523", "");
  // A second transport part for the figure added just before.
  DROVANEXIS_CARTAPORTE20ADDFIGURATRANSPORTETIPOSFIGURAPARTESTRAN(h, "PT02");
  add_figure(h, "04", "", "", "", "Otra calle de prueba", "45", "");
}

}  // namespace

void VXMLCARTAPORTE2() {
  console::RoutineFrame frame("VXMLCARTAPORTE2");
  issue_document(kTexts, build_carta_porte20);
}

}  // namespace app
