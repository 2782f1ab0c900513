// Entries the demo does not call but that describe nodes the library knows:
// each lands where the schema puts it and attaches to the latest element of
// its kind, whatever the call order.
#include <gtest/gtest.h>

#include <string>

#include "document/document_registry.h"
#include "drovanexis.h"

namespace drovanexis {
namespace {

void dump(const Element& element, int depth, std::string& out) {
  out.append(static_cast<std::size_t>(depth) * 2, ' ').append(element.name());
  for (const auto& a : element.attributes()) out += " " + a.name + "=" + a.value;
  out += '\n';
  for (const auto& child : element.children()) dump(*child, depth + 1, out);
}

std::string complement_dump(std::int32_t handle) {
  const Element& root = DocumentRegistry::instance().find(handle)->root;
  std::string out;
  dump(*root.child("cfdi:Complemento")->children().front(), 0, out);
  return out;
}

TEST(FurtherEntries, CartaPorte10RailwayAndFiguresInSchemaOrder) {
  const std::int32_t h = Drovanexis_New("3.3");
  Drovanexis_SetCartaPorte10(h, "No", "", "", "10");
  Drovanexis_CartaPorte10SetFiguraTransporte(h, "01");
  Drovanexis_CartaPorte10AddFiguraTransporteNotificado(h, "NOT1", "Notificado", "", "", "", "", "",
                                                       "", "", "", "", "", "MEX", "");
  Drovanexis_CartaPorte10AddFiguraTransporteOperadores(h, "OP1", "", "", "", "", "", "", "", "", "",
                                                       "", "", "", "", "");
  Drovanexis_CartaPorte10AddFiguraTransporteOperadoresOperador(h, "OP2", "", "", "", "", "", "", "",
                                                               "", "", "", "", "", "", "");
  Drovanexis_CartaPorte10SetMercanciasTransporteFerrioviario(
      h, "TS01", "", "", "", "CDP115", "10.00", "TC01", "M1", "G1", "10", "", "", "");
  Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarro(h, "TC02", "M2", "G2", "20",
                                                                 "TC01", "1.0", "2.0");
  Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioCarroContenedor(h, "TC03", "3.0", "4.0");
  Drovanexis_CartaPorte10AddMercanciasTransporteFerroviarioDerechosDePaso(h, "CDP116", "5.00");
  Drovanexis_CartaPorte10AddMercancia(h, "12164502", "", "Articulo", "1", "H87", "", "", "", "", "",
                                      "", "1", "", "", "", "", "1", "OR1", "DE1", "", "", "", "",
                                      "", "");
  Drovanexis_CartaPorte10AddMercanciaCantidadTransporta(h, "2", "OR1", "DE2", "");

  EXPECT_EQ(complement_dump(h),
            "cartaporte:CartaPorte Version=1.0 TranspInternac=No TotalDistRec=10\n"
            "  cartaporte:Mercancias\n"
            "    cartaporte:Mercancia BienesTransp=12164502 Descripcion=Articulo Cantidad=1 "
            "ClaveUnidad=H87 PesoEnKg=1\n"
            "      cartaporte:CantidadTransporta Cantidad=1 IDOrigen=OR1 IDDestino=DE1\n"
            "      cartaporte:CantidadTransporta Cantidad=2 IDOrigen=OR1 IDDestino=DE2\n"
            "    cartaporte:TransporteFerroviario TipoDeServicio=TS01\n"
            "      cartaporte:DerechosDePaso TipoDerechoDePaso=CDP115 KilometrajePagado=10.00\n"
            "      cartaporte:DerechosDePaso TipoDerechoDePaso=CDP116 KilometrajePagado=5.00\n"
            "      cartaporte:Carro TipoCarro=TC01 MatriculaCarro=M1 GuiaCarro=G1 "
            "ToneladasNetasCarro=10\n"
            "      cartaporte:Carro TipoCarro=TC02 MatriculaCarro=M2 GuiaCarro=G2 "
            "ToneladasNetasCarro=20\n"
            "        cartaporte:Contenedor TipoContenedor=TC01 PesoContenedorVacio=1.0 "
            "PesoNetoMercancia=2.0\n"
            "        cartaporte:Contenedor TipoContenedor=TC03 PesoContenedorVacio=3.0 "
            "PesoNetoMercancia=4.0\n"
            "  cartaporte:FiguraTransporte CveTransporte=01\n"
            "    cartaporte:Operadores\n"
            "      cartaporte:Operador RFCOperador=OP1\n"
            "      cartaporte:Operador RFCOperador=OP2\n"
            "    cartaporte:Notificado RFCNotificado=NOT1 NombreNotificado=Notificado\n"
            "      cartaporte:Domicilio Pais=MEX\n");
  Drovanexis_Free(h);
}

TEST(FurtherEntries, Nomina12PartsInSchemaOrder) {
  const std::int32_t h = Drovanexis_New("3.3");
  Drovanexis_Nomina12AddIncapacidad(h, "3", "01", "100.00");
  Drovanexis_Nomina12SetJubilacionPensionRetiro(h, "", "", "", "1.00", "0.00");
  Drovanexis_Nomina12AddSubContratacion(h, "AAA010101AAA", "100");
  Drovanexis_Nomina12SetReceptor(h, "CURP", "", "", "", "01", "", "", "02", "1", "", "", "", "04",
                                 "", "", "", "", "MEX");
  Drovanexis_Nomina12AddPercepcion(h, "039", "1", "Jubilacion", "1.00", "0.00", "", "", "", "", "",
                                   "");
  Drovanexis_Nomina12SetPercepciones(h, "", "", "1.00", "1.00", "0.00");
  Drovanexis_SetNomina12(h, "E", "2017-01-20", "2017-01-16", "2017-01-22", "7", "1.00", "", "");

  EXPECT_EQ(
      complement_dump(h),
      "nomina12:Nomina Version=1.2 TipoNomina=E FechaPago=2017-01-20 "
      "FechaInicialPago=2017-01-16 FechaFinalPago=2017-01-22 NumDiasPagados=7 "
      "TotalPercepciones=1.00\n"
      "  nomina12:Receptor Curp=CURP TipoContrato=01 TipoRegimen=02 NumEmpleado=1 "
      "PeriodicidadPago=04 ClaveEntFed=MEX\n"
      "    nomina12:SubContratacion RfcLabora=AAA010101AAA PorcentajeTiempo=100\n"
      "  nomina12:Percepciones TotalJubilacionPensionRetiro=1.00 TotalGravado=1.00 "
      "TotalExento=0.00\n"
      "    nomina12:Percepcion TipoPercepcion=039 Clave=1 Concepto=Jubilacion "
      "ImporteGravado=1.00 ImporteExento=0.00\n"
      "    nomina12:JubilacionPensionRetiro IngresoAcumulable=1.00 IngresoNoAcumulable=0.00\n"
      "  nomina12:Incapacidades\n"
      "    nomina12:Incapacidad DiasIncapacidad=3 TipoIncapacidad=01 ImporteMonetario=100.00\n");
  Drovanexis_Free(h);
}

TEST(FurtherEntries, ConceptoPartsAttachToTheLatestConcepto) {
  const std::int32_t h = Drovanexis_New("3.3");
  Drovanexis_AddConcepto_cfdi33(h, "01010101", "", "1", "H87", "", "Uno", "1.00", "1.00", "");
  Drovanexis_AddConcepto_cfdi33(h, "01010101", "", "1", "H87", "", "Dos", "1.00", "1.00", "");
  Drovanexis_AddConceptoParte_cfdi33(h, "01010101", "", "1", "", "Parte", "1.00", "1.00",
                                     "21  47  3807  8003832");
  Drovanexis_AddConceptoCuentaPredial_cfdi33(h, "12345");
  Drovanexis_AddConceptoInformacionAduanera_cfdi33(h, "21  47  3807  8003833");
  Drovanexis_AddConceptoTraslado_cfdi33(h, "1.00", "002", "Tasa", "0.160000", "0.16");

  const Element& conceptos = *DocumentRegistry::instance().find(h)->root.child("cfdi:Conceptos");
  ASSERT_EQ(conceptos.children().size(), 2u);
  EXPECT_TRUE(conceptos.children()[0]->children().empty());
  std::string out;
  dump(*conceptos.children()[1], 0, out);
  EXPECT_EQ(out,
            "cfdi:Concepto ClaveProdServ=01010101 Cantidad=1 ClaveUnidad=H87 Descripcion=Dos "
            "ValorUnitario=1.00 Importe=1.00\n"
            "  cfdi:Impuestos\n"
            "    cfdi:Traslados\n"
            "      cfdi:Traslado Base=1.00 Impuesto=002 TipoFactor=Tasa TasaOCuota=0.160000 "
            "Importe=0.16\n"
            "  cfdi:InformacionAduanera NumeroPedimento=21  47  3807  8003833\n"
            "  cfdi:CuentaPredial Numero=12345\n"
            "  cfdi:Parte ClaveProdServ=01010101 Cantidad=1 Descripcion=Parte ValorUnitario=1.00 "
            "Importe=1.00\n"
            "    cfdi:InformacionAduanera NumeroPedimento=21  47  3807  8003832\n");
  Drovanexis_Free(h);
}

}  // namespace
}  // namespace drovanexis
