#include "document/builders.h"

namespace drovanexis {
namespace {

// Position i of each entry (after the handle) carries fields[i].
constexpr Field kSetCartaporte10[] = {{"", "TranspInternac"},
                                      {"", "EntradaSalidaMerc"},
                                      {"", "ViaEntradaSalida"},
                                      {"", "TotalDistRec"}};
constexpr Field kAddCartaporte10Ubicacion[] = {{"", "TipoEstacion"},
                                               {"", "DistanciaRecorrida"},
                                               {"cartaporte:Origen", "IDOrigen"},
                                               {"cartaporte:Origen", "RFCRemitente"},
                                               {"cartaporte:Origen", "NombreRemitente"},
                                               {"cartaporte:Origen", "NumRegIdTrib"},
                                               {"cartaporte:Origen", "ResidenciaFiscal"},
                                               {"cartaporte:Origen", "NumEstacion"},
                                               {"cartaporte:Origen", "NombreEstacion"},
                                               {"cartaporte:Origen", "NavegacionTrafico"},
                                               {"cartaporte:Origen", "FechaHoraSalida"},
                                               {"cartaporte:Destino", "IDDestino"},
                                               {"cartaporte:Destino", "RFCDestinatario"},
                                               {"cartaporte:Destino", "NombreDestinatario"},
                                               {"cartaporte:Destino", "NumRegIdTrib"},
                                               {"cartaporte:Destino", "ResidenciaFiscal"},
                                               {"cartaporte:Destino", "NumEstacion"},
                                               {"cartaporte:Destino", "NombreEstacion"},
                                               {"cartaporte:Destino", "NavegacionTrafico"},
                                               {"cartaporte:Destino", "FechaHoraProgLlegada"},
                                               {"cartaporte:Domicilio", "Calle"},
                                               {"cartaporte:Domicilio", "NumeroExterior"},
                                               {"cartaporte:Domicilio", "NumeroInterior"},
                                               {"cartaporte:Domicilio", "Colonia"},
                                               {"cartaporte:Domicilio", "Localidad"},
                                               {"cartaporte:Domicilio", "Referencia"},
                                               {"cartaporte:Domicilio", "Municipio"},
                                               {"cartaporte:Domicilio", "Estado"},
                                               {"cartaporte:Domicilio", "Pais"},
                                               {"cartaporte:Domicilio", "CodigoPostal"}};
constexpr Field kSetCartaporte10Mercancias[] = {{"", "PesoBrutoTotal"},
                                                {"", "UnidadPeso"},
                                                {"", "PesoNetoTotal"},
                                                {"", "NumTotalMercancias"},
                                                {"", "CargoPorTasacion"}};
constexpr Field kAddCartaporte10Mercancia[] = {{"", "BienesTransp"},
                                               {"", "ClaveSTCC"},
                                               {"", "Descripcion"},
                                               {"", "Cantidad"},
                                               {"", "ClaveUnidad"},
                                               {"", "Unidad"},
                                               {"", "Dimensiones"},
                                               {"", "MaterialPeligroso"},
                                               {"", "CveMaterialPeligroso"},
                                               {"", "Embalaje"},
                                               {"", "DescripEmbalaje"},
                                               {"", "PesoEnKg"},
                                               {"", "ValorMercancia"},
                                               {"", "Moneda"},
                                               {"", "FraccionArancelaria"},
                                               {"", "UUIDComercioExt"},
                                               {"cartaporte:CantidadTransporta", "Cantidad"},
                                               {"cartaporte:CantidadTransporta", "IDOrigen"},
                                               {"cartaporte:CantidadTransporta", "IDDestino"},
                                               {"cartaporte:CantidadTransporta", "CvesTransporte"},
                                               {"cartaporte:DetalleMercancia", "UnidadPeso"},
                                               {"cartaporte:DetalleMercancia", "PesoBruto"},
                                               {"cartaporte:DetalleMercancia", "PesoNeto"},
                                               {"cartaporte:DetalleMercancia", "PesoTara"},
                                               {"cartaporte:DetalleMercancia", "NumPiezas"}};
constexpr Field kAddCartaporte10CantidadTransporta[] = {
    {"", "Cantidad"}, {"", "IDOrigen"}, {"", "IDDestino"}, {"", "CvesTransporte"}};
constexpr Field kSetCartaporte10AutotransporteFederal[] = {
    {"", "PermSCT"},
    {"", "NumPermisoSCT"},
    {"", "NombreAseg"},
    {"", "NumPolizaSeguro"},
    {"cartaporte:IdentificacionVehicular", "ConfigVehicular"},
    {"cartaporte:IdentificacionVehicular", "PlacaVM"},
    {"cartaporte:IdentificacionVehicular", "AnioModeloVM"},
    {"cartaporte:Remolques/cartaporte:Remolque", "SubTipoRem"},
    {"cartaporte:Remolques/cartaporte:Remolque", "Placa"},
    {"cartaporte:Remolques/cartaporte:Remolque[2]", "SubTipoRem"},
    {"cartaporte:Remolques/cartaporte:Remolque[2]", "Placa"}};
constexpr Field kSetCartaporte10TransporteMaritimo[] = {
    {"", "PermSCT"},
    {"", "NumPermisoSCT"},
    {"", "NombreAseg"},
    {"", "NumPolizaSeguro"},
    {"", "TipoEmbarcacion"},
    {"", "Matricula"},
    {"", "NumeroOMI"},
    {"", "AnioEmbarcacion"},
    {"", "NombreEmbarc"},
    {"", "NacionalidadEmbarc"},
    {"", "UnidadesDeArqBruto"},
    {"", "TipoCarga"},
    {"", "NumCertITC"},
    {"", "Eslora"},
    {"", "Manga"},
    {"", "Calado"},
    {"", "LineaNaviera"},
    {"", "NombreAgenteNaviero"},
    {"", "NumAutorizacionNaviero"},
    {"", "NumViaje"},
    {"", "NumConocEmbarc"},
    {"cartaporte:Contenedor", "MatriculaContenedor"},
    {"cartaporte:Contenedor", "TipoContenedor"},
    {"cartaporte:Contenedor", "NumPrecinto"}};
constexpr Field kAddCartaporte10MaritimoContenedor[] = {
    {"", "MatriculaContenedor"}, {"", "TipoContenedor"}, {"", "NumPrecinto"}};
constexpr Field kSetCartaporte10TransporteAereo[] = {{"", "PermSCT"},
                                                     {"", "NumPermisoSCT"},
                                                     {"", "MatriculaAeronave"},
                                                     {"", "NombreAseg"},
                                                     {"", "NumPolizaSeguro"},
                                                     {"", "NumeroGuia"},
                                                     {"", "LugarContrato"},
                                                     {"", "RFCTransportista"},
                                                     {"", "CodigoTransportista"},
                                                     {"", "NumRegIdTribTranspor"},
                                                     {"", "ResidenciaFiscalTranspor"},
                                                     {"", "NombreTransportista"},
                                                     {"", "RFCEmbarcador"},
                                                     {"", "NumRegIdTribEmbarc"},
                                                     {"", "ResidenciaFiscalEmbarc"},
                                                     {"", "NombreEmbarcador"}};
constexpr Field kSetCartaporte10TransporteFerroviario[] = {
    {"", "TipoDeServicio"},
    {"", "NombreAseg"},
    {"", "NumPolizaSeguro"},
    {"", "Concesionario"},
    {"cartaporte:DerechosDePaso", "TipoDerechoDePaso"},
    {"cartaporte:DerechosDePaso", "KilometrajePagado"},
    {"cartaporte:Carro", "TipoCarro"},
    {"cartaporte:Carro", "MatriculaCarro"},
    {"cartaporte:Carro", "GuiaCarro"},
    {"cartaporte:Carro", "ToneladasNetasCarro"},
    {"cartaporte:Carro/cartaporte:Contenedor", "TipoContenedor"},
    {"cartaporte:Carro/cartaporte:Contenedor", "PesoContenedorVacio"},
    {"cartaporte:Carro/cartaporte:Contenedor", "PesoNetoMercancia"}};
constexpr Field kAddCartaporte10FerroviarioDerechosDePaso[] = {{"", "TipoDerechoDePaso"},
                                                               {"", "KilometrajePagado"}};
constexpr Field kAddCartaporte10FerroviarioCarro[] = {
    {"", "TipoCarro"},
    {"", "MatriculaCarro"},
    {"", "GuiaCarro"},
    {"", "ToneladasNetasCarro"},
    {"cartaporte:Contenedor", "TipoContenedor"},
    {"cartaporte:Contenedor", "PesoContenedorVacio"},
    {"cartaporte:Contenedor", "PesoNetoMercancia"}};
constexpr Field kAddCartaporte10FerroviarioCarroContenedor[] = {
    {"", "TipoContenedor"}, {"", "PesoContenedorVacio"}, {"", "PesoNetoMercancia"}};
constexpr Field kSetCartaporte10FiguraTransporte[] = {{"", "CveTransporte"}};
constexpr Field kAddCartaporte10Operadores[] = {{"", "RFCOperador"},
                                                {"", "NumLicencia"},
                                                {"", "NombreOperador"},
                                                {"", "NumRegIdTribOperador"},
                                                {"", "ResidenciaFiscalOperador"},
                                                {"cartaporte:Domicilio", "Calle"},
                                                {"cartaporte:Domicilio", "NumeroExterior"},
                                                {"cartaporte:Domicilio", "NumeroInterior"},
                                                {"cartaporte:Domicilio", "Colonia"},
                                                {"cartaporte:Domicilio", "Localidad"},
                                                {"cartaporte:Domicilio", "Referencia"},
                                                {"cartaporte:Domicilio", "Municipio"},
                                                {"cartaporte:Domicilio", "Estado"},
                                                {"cartaporte:Domicilio", "Pais"},
                                                {"cartaporte:Domicilio", "CodigoPostal"}};
constexpr Field kAddCartaporte10Operador[] = {{"", "RFCOperador"},
                                              {"", "NumLicencia"},
                                              {"", "NombreOperador"},
                                              {"", "NumRegIdTribOperador"},
                                              {"", "ResidenciaFiscalOperador"},
                                              {"cartaporte:Domicilio", "Calle"},
                                              {"cartaporte:Domicilio", "NumeroExterior"},
                                              {"cartaporte:Domicilio", "NumeroInterior"},
                                              {"cartaporte:Domicilio", "Colonia"},
                                              {"cartaporte:Domicilio", "Localidad"},
                                              {"cartaporte:Domicilio", "Referencia"},
                                              {"cartaporte:Domicilio", "Municipio"},
                                              {"cartaporte:Domicilio", "Estado"},
                                              {"cartaporte:Domicilio", "Pais"},
                                              {"cartaporte:Domicilio", "CodigoPostal"}};
constexpr Field kAddCartaporte10Propietario[] = {{"", "RFCPropietario"},
                                                 {"", "NombrePropietario"},
                                                 {"", "NumRegIdTribPropietario"},
                                                 {"", "ResidenciaFiscalPropietario"},
                                                 {"cartaporte:Domicilio", "Calle"},
                                                 {"cartaporte:Domicilio", "NumeroExterior"},
                                                 {"cartaporte:Domicilio", "NumeroInterior"},
                                                 {"cartaporte:Domicilio", "Colonia"},
                                                 {"cartaporte:Domicilio", "Localidad"},
                                                 {"cartaporte:Domicilio", "Referencia"},
                                                 {"cartaporte:Domicilio", "Municipio"},
                                                 {"cartaporte:Domicilio", "Estado"},
                                                 {"cartaporte:Domicilio", "Pais"},
                                                 {"cartaporte:Domicilio", "CodigoPostal"}};
constexpr Field kAddCartaporte10Arrendatario[] = {{"", "RFCArrendatario"},
                                                  {"", "NombreArrendatario"},
                                                  {"", "NumRegIdTribArrendatario"},
                                                  {"", "ResidenciaFiscalArrendatario"},
                                                  {"cartaporte:Domicilio", "Calle"},
                                                  {"cartaporte:Domicilio", "NumeroExterior"},
                                                  {"cartaporte:Domicilio", "NumeroInterior"},
                                                  {"cartaporte:Domicilio", "Colonia"},
                                                  {"cartaporte:Domicilio", "Localidad"},
                                                  {"cartaporte:Domicilio", "Referencia"},
                                                  {"cartaporte:Domicilio", "Municipio"},
                                                  {"cartaporte:Domicilio", "Estado"},
                                                  {"cartaporte:Domicilio", "Pais"},
                                                  {"cartaporte:Domicilio", "CodigoPostal"}};
constexpr Field kAddCartaporte10Notificado[] = {{"", "RFCNotificado"},
                                                {"", "NombreNotificado"},
                                                {"", "NumRegIdTribNotificado"},
                                                {"", "ResidenciaFiscalNotificado"},
                                                {"cartaporte:Domicilio", "Calle"},
                                                {"cartaporte:Domicilio", "NumeroExterior"},
                                                {"cartaporte:Domicilio", "NumeroInterior"},
                                                {"cartaporte:Domicilio", "Colonia"},
                                                {"cartaporte:Domicilio", "Localidad"},
                                                {"cartaporte:Domicilio", "Referencia"},
                                                {"cartaporte:Domicilio", "Municipio"},
                                                {"cartaporte:Domicilio", "Estado"},
                                                {"cartaporte:Domicilio", "Pais"},
                                                {"cartaporte:Domicilio", "CodigoPostal"}};

// The Carta Porte 1.0 complement, created on first use.
Node carta_porte(Document& document) {
  const Node node = document.root_node().child("cfdi:Complemento").child("cartaporte:CartaPorte");
  node.set("Version", "1.0");
  return node;
}

Node mercancias(Document& document) { return carta_porte(document).child("cartaporte:Mercancias"); }

Node ferroviario(Document& document) {
  return mercancias(document).child("cartaporte:TransporteFerroviario");
}

Node figura_transporte(Document& document) {
  return carta_porte(document).child("cartaporte:FiguraTransporte");
}

}  // namespace

void set_cartaporte10(Document& document, const Values& values) {
  fill(carta_porte(document), kSetCartaporte10, values);
}

void add_cartaporte10_ubicacion(Document& document, const Values& values) {
  const Node ubicaciones = carta_porte(document).child("cartaporte:Ubicaciones");
  fill(ubicaciones.add("cartaporte:Ubicacion"), kAddCartaporte10Ubicacion, values);
}

void set_cartaporte10_mercancias(Document& document, const Values& values) {
  fill(mercancias(document), kSetCartaporte10Mercancias, values);
}

void add_cartaporte10_mercancia(Document& document, const Values& values) {
  document.latest.mercancia_cp10 = mercancias(document).add("cartaporte:Mercancia");
  fill(document.latest.mercancia_cp10, kAddCartaporte10Mercancia, values);
}

void add_cartaporte10_cantidad_transporta(Document& document, const Values& values) {
  if (!document.latest.mercancia_cp10) return;
  fill(document.latest.mercancia_cp10.add("cartaporte:CantidadTransporta"),
       kAddCartaporte10CantidadTransporta, values);
}

void set_cartaporte10_autotransporte_federal(Document& document, const Values& values) {
  fill(mercancias(document).child("cartaporte:AutotransporteFederal"),
       kSetCartaporte10AutotransporteFederal, values);
}

void set_cartaporte10_transporte_maritimo(Document& document, const Values& values) {
  fill(mercancias(document).child("cartaporte:TransporteMaritimo"),
       kSetCartaporte10TransporteMaritimo, values);
}

void add_cartaporte10_maritimo_contenedor(Document& document, const Values& values) {
  const Node maritimo = mercancias(document).child("cartaporte:TransporteMaritimo");
  fill(maritimo.add("cartaporte:Contenedor"), kAddCartaporte10MaritimoContenedor, values);
}

void set_cartaporte10_transporte_aereo(Document& document, const Values& values) {
  fill(mercancias(document).child("cartaporte:TransporteAereo"), kSetCartaporte10TransporteAereo,
       values);
}

void set_cartaporte10_transporte_ferroviario(Document& document, const Values& values) {
  const Node transporte = ferroviario(document);
  fill(transporte, kSetCartaporte10TransporteFerroviario, values);
  document.latest.carro_cp10 = transporte.last("cartaporte:Carro");
}

void add_cartaporte10_ferroviario_derechos_de_paso(Document& document, const Values& values) {
  fill(ferroviario(document).add("cartaporte:DerechosDePaso"),
       kAddCartaporte10FerroviarioDerechosDePaso, values);
}

void add_cartaporte10_ferroviario_carro(Document& document, const Values& values) {
  document.latest.carro_cp10 = ferroviario(document).add("cartaporte:Carro");
  fill(document.latest.carro_cp10, kAddCartaporte10FerroviarioCarro, values);
}

void add_cartaporte10_ferroviario_carro_contenedor(Document& document, const Values& values) {
  if (!document.latest.carro_cp10) return;
  fill(document.latest.carro_cp10.add("cartaporte:Contenedor"),
       kAddCartaporte10FerroviarioCarroContenedor, values);
}

void set_cartaporte10_figura_transporte(Document& document, const Values& values) {
  fill(figura_transporte(document), kSetCartaporte10FiguraTransporte, values);
}

void add_cartaporte10_operadores(Document& document, const Values& values) {
  document.latest.operadores_cp10 = figura_transporte(document).add("cartaporte:Operadores");
  fill(document.latest.operadores_cp10.add("cartaporte:Operador"), kAddCartaporte10Operadores,
       values);
}

void add_cartaporte10_operador(Document& document, const Values& values) {
  if (!document.latest.operadores_cp10) {
    add_cartaporte10_operadores(document, values);
    return;
  }
  fill(document.latest.operadores_cp10.add("cartaporte:Operador"), kAddCartaporte10Operador,
       values);
}

void add_cartaporte10_propietario(Document& document, const Values& values) {
  fill(figura_transporte(document).add("cartaporte:Propietario"), kAddCartaporte10Propietario,
       values);
}

void add_cartaporte10_arrendatario(Document& document, const Values& values) {
  fill(figura_transporte(document).add("cartaporte:Arrendatario"), kAddCartaporte10Arrendatario,
       values);
}

void add_cartaporte10_notificado(Document& document, const Values& values) {
  fill(figura_transporte(document).add("cartaporte:Notificado"), kAddCartaporte10Notificado,
       values);
}

}  // namespace drovanexis
