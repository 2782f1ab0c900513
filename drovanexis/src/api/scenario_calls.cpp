#include "api/scenario_calls.h"

#include "drovanexis.h"

namespace drovanexis::test {

std::int32_t build_simple_invoice() {
  const std::int32_t h = Drovanexis_New("3.3");
  Drovanexis_SetVelmoranetInfo(h, "demo_valdorin", "zqvx");
  Drovanexis_SetComprobanteInfo_cfdi33(h, "A", "1", "%cb_date", "99", "Contado Comercial",
                                       "1000.00", "50.00", "MXN", "", "1102.00", "I", "PPD",
                                       "53050", "");
  Drovanexis_SetCfdiRelacionados_cfdi33(h, "04");
  Drovanexis_AddCfdiRelacionado_cfdi33(h, "FF93C8BE-AF7B-4FC5-8854-6DAE18CFB5B4");
  Drovanexis_AddCfdiRelacionado_cfdi33(h, "D8E18C2F-2859-4927-A0F0-EA3E93642DDC");
  Drovanexis_AddCfdiRelacionado_cfdi33(h, "BE1D4B47-E167-47A3-8049-70D4D43BCBE8");
  Drovanexis_AddCfdiRelacionado_cfdi33(h, "FDBA380A-9732-4FB5-A6CB-5FB4BD831697");
  Drovanexis_SetEmisorInfo_cfdi33(h, "CACX7605101P8", "Empresa de prueba SA de CV", "612");
  Drovanexis_SetReceptorInfo_cfdi33(h, "VDN020304QX7", "Valdorin SA de CV", "", "", "G01");
  Drovanexis_AddConcepto_cfdi33(h, "84111506", "SEF500", "1", "H87", "Timbre",
                                "Paquete de 500 timbres fiscales", "500.00", "500.00", "");
  Drovanexis_AddConceptoTraslado_cfdi33(h, "500.00", "002", "Tasa", "0.160000", "80.00");
  Drovanexis_AddConcepto_cfdi33(h, "84111506", "SEF250", "2", "H87", "Timbre",
                                "Paquete de 500 timbres fiscales", "250.00", "500.00", "50.00");
  Drovanexis_AddConceptoTraslado_cfdi33(h, "450.00", "002", "Tasa", "0.160000", "72.00");
  Drovanexis_SetImpuestosInfo_cfdi33(h, "152.00", "");
  Drovanexis_AddTraslado_cfdi33(h, "002", "Tasa", "0.160000", "152.00");
  return h;
}

std::int32_t build_payments_receipt() {
  const std::int32_t h = Drovanexis_New("3.3");
  Drovanexis_SetVelmoranetInfo(h, "demo_valdorin", "zqvx");
  Drovanexis_SetComprobanteInfo_cfdi33(h, "PAGO", "1", "%cb_date", "", "", "0", "", "XXX", "", "0",
                                       "P", "", "53050", "");
  Drovanexis_SetCfdiRelacionados_cfdi33(h, "04");
  Drovanexis_AddCfdiRelacionado_cfdi33(h, "FF93C8BE-AF7B-4FC5-8854-6DAE18CFB5B4");
  Drovanexis_AddCfdiRelacionado_cfdi33(h, "D8E18C2F-2859-4927-A0F0-EA3E93642DDC");
  Drovanexis_AddCfdiRelacionado_cfdi33(h, "BE1D4B47-E167-47A3-8049-70D4D43BCBE8");
  Drovanexis_AddCfdiRelacionado_cfdi33(h, "FDBA380A-9732-4FB5-A6CB-5FB4BD831697");
  Drovanexis_SetEmisorInfo_cfdi33(h, "KIJ0906199R1", "Empresa de prueba SA de CV", "601");
  Drovanexis_SetReceptorInfo_cfdi33(h, "VDN020304QX7", "Valdorin SA de CV", "", "", "P01");
  Drovanexis_AddConcepto_cfdi33(h, "84111506", "", "1", "ACT", "", "Pago", "0", "0", "");
  Drovanexis_SetPagos10(h);
  Drovanexis_Pagos10SetPago(h, "2017-05-31T12:00:00", "02", "MXN", "", "1160.00", "652",
                            "BSM970519DU8", "", "014320098765432107", "CFA950629CAA",
                            "014320098765439981", "", "", "", "");
  Drovanexis_Pagos10AddPagoDoctoRelacionado(h, "FF93C8BE-AF7B-4FC5-8854-6DAE18CFB5B4", "A", "434",
                                            "MXN", "", "PPD", "1", "1160.00", "1160.00", "0.00");
  return h;
}

std::int32_t build_payroll_receipt() {
  const std::int32_t h = Drovanexis_New("3.3");
  Drovanexis_SetVelmoranetInfo(h, "demo_valdorin", "pelunarq");
  Drovanexis_SetComprobanteInfo_cfdi33(h, "NOM", "1233", "%cb_date", "99", "", "1652.00", "123.00",
                                       "MXN", "", "1529.00", "N", "PUE", "53050", "");
  Drovanexis_SetEmisorInfo_cfdi33(h, "KIJ0906199R1", "Prueba de Nomina 12 con CFDI 33 SA de CV",
                                  "601");
  Drovanexis_SetReceptorInfo_cfdi33(h, "VIRJ800315K27", "VILLEGAS ROBLEDO JUAN CARLOS", "", "",
                                    "P01");
  Drovanexis_AddConcepto_cfdi33(h, "84111505", "", "1", "ACT", "", "Pago de n\xF3mina", "1652.00",
                                "1652.00", "123.00");
  Drovanexis_SetNomina12(h, "O", "2017-01-20", "2017-01-16", "2017-01-22", "7", "1652.00", "123.00",
                         "0.00");
  Drovanexis_Nomina12SetEmisor(h, "", "C3910341106", "", "", "");
  Drovanexis_Nomina12SetReceptor(h, "VIRJ800315HDFLBN04", "48025197316", "2005-10-31", "P586W",
                                 "01", "", "04", "02", "1003", "PAILERIA", "AYUDANTE GENERAL", "4",
                                 "02", "002", "4915803372610458", "", "248.28", "MEX");
  Drovanexis_Nomina12SetPercepciones(h, "1652.00", "", "", "1652.00", "0.00");
  // The program passes five texts; the last six parameters arrive as null.
  Drovanexis_Nomina12AddPercepcion(h, "001", "101", "SUELDO", "1652.00", "0.00", nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr);
  Drovanexis_Nomina12SetDeducciones(h, "42.00", "81.00");
  Drovanexis_Nomina12AddDeduccion(h, "002", "201", "ISR SALARIOS", "81.00");
  Drovanexis_Nomina12AddDeduccion(h, "001", "202", "IMSS", "42.00");
  Drovanexis_Nomina12AddOtroPago(h, "002", "SubEmp", "Subsidio al empleo", "0.00", "", "", "",
                                 "0.00");
  return h;
}

std::int32_t build_carta_porte10() {
  const std::int32_t h = Drovanexis_New("3.3");
  Drovanexis_SetVelmoranetInfo(h, "demo_valdorin", "pelunarq");
  Drovanexis_SetComprobanteInfo_cfdi33(h, "CP", "001", "%cb_date", "", "", "0", "0", "XXX", "", "0",
                                       "T", "", "02760", "");
  Drovanexis_SetEmisorInfo_cfdi33(h, "KIJ0906199R1", "Empresa de Prueba, S.A. de C.V.", "601");
  Drovanexis_SetReceptorInfo_cfdi33(h, "XAXX010101000", "Mi sucursal en Monterrey, S.A. de C.V.",
                                    "", "", "P01");
  Drovanexis_AddConcepto_cfdi33(h, "12164502", "1158D10887", "1", "H87", "Pza", "Articulo 1", "0",
                                "0", "");
  Drovanexis_AddConcepto_cfdi33(h, "12164502", "1158D10887", "330", "H87", "Pza", "Articulo 2", "0",
                                "0", "");
  Drovanexis_SetCartaPorte10(h, "No", "", "", "900");
  Drovanexis_CartaPorte10AddUbicacion(
      h, "", "", "", "", "", "", "", "", "", "", "2021-07-06T10:00:00", "", "", "", "", "", "", "",
      "", "", "Soledad", "242", "", "0430", "02", "", "002", "DIF", "MEX", "02519");
  Drovanexis_CartaPorte10AddUbicacion(h, "", "900", "", "", "", "", "", "", "", "", "", "", "", "",
                                      "", "", "", "", "", "2021-07-06T14:00:00",
                                      "AV. DE LAS INDUSTRIAS", "518", "", "4331", "03", "", "021",
                                      "NLE", "MEX", "66062");
  Drovanexis_CartaPorte10SetMercancias(h, "", "", "", "2", "");
  Drovanexis_CartaPorte10AddMercancia(h, "12164502", "", "Articulo 1", "1", "H87", "Pza", "", "",
                                      "", "", "", "20", "", "", "", "", "", "", "", "", "", "", "",
                                      "", "");
  Drovanexis_CartaPorte10AddMercancia(h, "12164502", "", "Articulo 2", "330", "H87", "Pza", "", "",
                                      "", "", "", "39.6", "", "", "", "", "", "", "", "", "", "",
                                      "", "", "");
  Drovanexis_CartaPorte10SetMercanciasAutotransporteFederal(
      h, "TPAF01", "0919dei0907201302100001002", "Qualitas Seguros de Autos", "6180024517", "C3",
      "204ES9", "2014", "", "", "", "");
  Drovanexis_CartaPorte10SetFiguraTransporte(h, "01");
  Drovanexis_CartaPorte10AddFiguraTransporteOperadores(h, "SONJ690412R83", "DF7K481096",
                                                       "JAVIER SOTELO NUNEZ", "", "", "", "", "",
                                                       "", "", "", "", "", "", "");
  return h;
}

namespace {

void add_figure(std::int32_t h, const char* tipo, const char* licencia, const char* nombre,
                const char* parte, const char* calle, const char* exterior,
                const char* referencia) {
  Drovanexis_CartaPorte20AddFiguraTransporteTiposFigura(
      h, tipo, "PEMJ420113SG1", licencia, nombre, "", "", parte, calle, exterior, "", "0347", "23",
      referencia, "004", "COA", "MEX", "25350");
}

}  // namespace

std::int32_t build_carta_porte20() {
  const std::int32_t h = Drovanexis_New("3.3");
  Drovanexis_SetVelmoranetInfo(h, "demo_valdorin", "pelunarq");
  Drovanexis_SetComprobanteInfo_cfdi33(h, "CP2", "001", "%cb_date", "01", "", "25000.00", "", "MXN",
                                       "1", "28000.00", "I", "PUE", "06300", "");
  Drovanexis_SetEmisorInfo_cfdi33(h, "KIJ0906199R1", "Emisor de Pruebas, S.A. de C.V", "601");
  Drovanexis_SetReceptorInfo_cfdi33(h, "XAXX010101000", "Receptor de Prueba", "", "", "G03");
  Drovanexis_AddConcepto_cfdi33(h, "78101500", "01", "1", "E48", "SERVICIO", "Flete de mercancias",
                                "25000.00", "25000.00", "");
  Drovanexis_AddConceptoRetencion_cfdi33(h, "25000.00", "002", "Tasa", "0.040000", "1000.00");
  Drovanexis_AddConceptoTraslado_cfdi33(h, "25000.00", "002", "Tasa", "0.160000", "4000.00");
  Drovanexis_SetImpuestosInfo_cfdi33(h, "4000.00", "1000.00");
  Drovanexis_AddRetencion_cfdi33(h, "002", "1000.00");
  Drovanexis_AddTraslado_cfdi33(h, "002", "Tasa", "0.160000", "4000.00");
  Drovanexis_SetCartaPorte20(h, "No", "", "", "", "2");
  Drovanexis_CartaPorte20AddUbicacion(h, "Origen", "OR101010", "EKU9003173C9", "", "", "", "", "",
                                      "", "2021-11-01T00:00:00", "", "", "calle origen 1", "211",
                                      "", "0347", "23", "", "004", "COA", "MEX", "25350");
  Drovanexis_CartaPorte20AddUbicacion(h, "Destino", "DE202020", "AAA010101AAA", "", "", "", "", "",
                                      "", "2021-11-01T01:00:00", "", "1", "calle destino 1", "214",
                                      "", "0347", "23", "entre av. lazaro cardenas y calle 32",
                                      "004", "COA", "MEX", "25350");
  Drovanexis_CartaPorte20AddUbicacion(h, "Destino", "DE202021", "AAA010101AAA", "", "", "", "", "",
                                      "", "2021-11-01T02:00:00", "", "1", "calle destino 2", "125",
                                      "", "0347", "23", "Zorro Abarrotero", "004", "COA", "MEX",
                                      "25350");
  Drovanexis_CartaPorte20SetMercancias(h, "2.0", "XBX", "", "2", "");
  Drovanexis_CartaPorte20AddMercancia(h, "11121900", "", "Mercancia 1", "1.0", "XBX", "", "",
                                      "S\xED", "1266", "4H2", "", "1.0", "", "", "", "", "", "", "",
                                      "", "");
  Drovanexis_CartaPorte20AddMercanciaCantidadTransporta(h, "1", "OR101010", "DE202020", "");
  Drovanexis_CartaPorte20AddMercancia(h, "11121900", "", "Mercancia 2", "1.0", "XBX", "", "",
                                      "S\xED", "1266", "4H2", "", "1.0", "", "", "", "", "", "", "",
                                      "", "");
  Drovanexis_CartaPorte20AddMercanciaCantidadTransporta(h, "1", "OR101010", "DE202021", "");
  Drovanexis_CartaPorte20SetMercanciasAutotransporte(
      h, "TPAF01", "NumPermisoSCT", "VL", "PLAC892", "2009", "Seguros Atlas", "123456789",
      "GNP Seguros", "123456789", "ABA Seguros", "", "", "CTR003", "PAX1234", "", "");
  add_figure(h, "01", "a234567890", "Olvera Cisneros Anselmo", "", "Brisa", "423",
             "Atras del estadio");
  add_figure(h, "02", "", "Medina Quiroz Tomas", "PT01", "Padre Lerchundi", "523", "");
  Drovanexis_CartaPorte20AddFiguraTransporteTiposFiguraPartesTransporte(h, "PT02");
  add_figure(h, "04", "", "", "", "Otra calle de prueba", "45", "");
  return h;
}

std::int32_t build_external(const char* xml_text) {
  const std::int32_t h = Drovanexis_New("3.3");
  Drovanexis_SetVelmoranetInfo(h, "demo_valdorin", "pelunarq");
  Drovanexis_SetCompleteXML_cfdi33(h, xml_text);
  return h;
}

}  // namespace drovanexis::test
