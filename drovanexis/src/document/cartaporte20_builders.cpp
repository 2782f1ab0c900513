#include "document/builders.h"

namespace drovanexis {
namespace {

// Position i of each entry (after the handle) carries fields[i].
constexpr Field kSetCartaporte20[] = {{"", "TranspInternac"},
                                      {"", "EntradaSalidaMerc"},
                                      {"", "PaisOrigenDestino"},
                                      {"", "ViaEntradaSalida"},
                                      {"", "TotalDistRec"}};
constexpr Field kAddCartaporte20Ubicacion[] = {{"", "TipoUbicacion"},
                                               {"", "IDUbicacion"},
                                               {"", "RFCRemitenteDestinatario"},
                                               {"", "NombreRemitenteDestinatario"},
                                               {"", "NumRegIdTrib"},
                                               {"", "ResidenciaFiscal"},
                                               {"", "NumEstacion"},
                                               {"", "NombreEstacion"},
                                               {"", "NavegacionTrafico"},
                                               {"", "FechaHoraSalidaLlegada"},
                                               {"", "TipoEstacion"},
                                               {"", "DistanciaRecorrida"},
                                               {"cartaporte20:Domicilio", "Calle"},
                                               {"cartaporte20:Domicilio", "NumeroExterior"},
                                               {"cartaporte20:Domicilio", "NumeroInterior"},
                                               {"cartaporte20:Domicilio", "Colonia"},
                                               {"cartaporte20:Domicilio", "Localidad"},
                                               {"cartaporte20:Domicilio", "Referencia"},
                                               {"cartaporte20:Domicilio", "Municipio"},
                                               {"cartaporte20:Domicilio", "Estado"},
                                               {"cartaporte20:Domicilio", "Pais"},
                                               {"cartaporte20:Domicilio", "CodigoPostal"}};
constexpr Field kSetCartaporte20Mercancias[] = {{"", "PesoBrutoTotal"},
                                                {"", "UnidadPeso"},
                                                {"", "PesoNetoTotal"},
                                                {"", "NumTotalMercancias"},
                                                {"", "CargoPorTasacion"}};
constexpr Field kAddCartaporte20Mercancia[] = {{"", "BienesTransp"},
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
                                               {"cartaporte20:DetalleMercancia", "UnidadPesoMerc"},
                                               {"cartaporte20:DetalleMercancia", "PesoBruto"},
                                               {"cartaporte20:DetalleMercancia", "PesoNeto"},
                                               {"cartaporte20:DetalleMercancia", "PesoTara"},
                                               {"cartaporte20:DetalleMercancia", "NumPiezas"}};
constexpr Field kAddCartaporte20CantidadTransporta[] = {
    {"", "Cantidad"}, {"", "IDOrigen"}, {"", "IDDestino"}, {"", "CvesTransporte"}};
constexpr Field kAddCartaporte20Pedimentos[] = {{"", "Pedimento"}};
constexpr Field kAddCartaporte20GuiasIdentificacion[] = {{"", "NumeroGuiaIdentificacion"},
                                                         {"", "DescripGuiaIdentificacion"},
                                                         {"", "PesoGuiaIdentificacion"}};
constexpr Field kSetCartaporte20Autotransporte[] = {
    {"", "PermSCT"},
    {"", "NumPermisoSCT"},
    {"cartaporte20:IdentificacionVehicular", "ConfigVehicular"},
    {"cartaporte20:IdentificacionVehicular", "PlacaVM"},
    {"cartaporte20:IdentificacionVehicular", "AnioModeloVM"},
    {"cartaporte20:Seguros", "AseguraRespCivil"},
    {"cartaporte20:Seguros", "PolizaRespCivil"},
    {"cartaporte20:Seguros", "AseguraMedAmbiente"},
    {"cartaporte20:Seguros", "PolizaMedAmbiente"},
    {"cartaporte20:Seguros", "AseguraCarga"},
    {"cartaporte20:Seguros", "PolizaCarga"},
    {"cartaporte20:Seguros", "PrimaSeguro"},
    {"cartaporte20:Remolques/cartaporte20:Remolque", "SubTipoRem"},
    {"cartaporte20:Remolques/cartaporte20:Remolque", "Placa"},
    {"cartaporte20:Remolques/cartaporte20:Remolque[2]", "SubTipoRem"},
    {"cartaporte20:Remolques/cartaporte20:Remolque[2]", "Placa"}};
constexpr Field kSetCartaporte20TransporteMaritimo[] = {
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
    {"cartaporte20:Contenedor", "MatriculaContenedor"},
    {"cartaporte20:Contenedor", "TipoContenedor"},
    {"cartaporte20:Contenedor", "NumPrecinto"}};
constexpr Field kAddCartaporte20MaritimoContenedor[] = {
    {"", "MatriculaContenedor"}, {"", "TipoContenedor"}, {"", "NumPrecinto"}};
constexpr Field kSetCartaporte20TransporteAereo[] = {{"", "PermSCT"},
                                                     {"", "NumPermisoSCT"},
                                                     {"", "MatriculaAeronave"},
                                                     {"", "NombreAseg"},
                                                     {"", "NumPolizaSeguro"},
                                                     {"", "NumeroGuia"},
                                                     {"", "LugarContrato"},
                                                     {"", "CodigoTransportista"},
                                                     {"", "RFCEmbarcador"},
                                                     {"", "NumRegIdTribEmbarc"},
                                                     {"", "ResidenciaFiscalEmbarc"},
                                                     {"", "NombreEmbarcador"}};
constexpr Field kSetCartaporte20TransporteFerroviario[] = {
    {"", "TipoDeServicio"},
    {"", "TipoDeTrafico"},
    {"", "NombreAseg"},
    {"", "NumPolizaSeguro"},
    {"cartaporte20:DerechosDePaso", "TipoDerechoDePaso"},
    {"cartaporte20:DerechosDePaso", "KilometrajePagado"},
    {"cartaporte20:Carro", "TipoCarro"},
    {"cartaporte20:Carro", "MatriculaCarro"},
    {"cartaporte20:Carro", "GuiaCarro"},
    {"cartaporte20:Carro", "ToneladasNetasCarro"},
    {"cartaporte20:Carro/cartaporte20:Contenedor", "TipoContenedor"},
    {"cartaporte20:Carro/cartaporte20:Contenedor", "PesoContenedorVacio"},
    {"cartaporte20:Carro/cartaporte20:Contenedor", "PesoNetoMercancia"}};
constexpr Field kAddCartaporte20FerroviarioDerechosDePaso[] = {{"", "TipoDerechoDePaso"},
                                                               {"", "KilometrajePagado"}};
constexpr Field kAddCartaporte20FerroviarioCarro[] = {
    {"", "TipoCarro"},
    {"", "MatriculaCarro"},
    {"", "GuiaCarro"},
    {"", "ToneladasNetasCarro"},
    {"cartaporte20:Contenedor", "TipoContenedor"},
    {"cartaporte20:Contenedor", "PesoContenedorVacio"},
    {"cartaporte20:Contenedor", "PesoNetoMercancia"}};
constexpr Field kAddCartaporte20FerroviarioCarroContenedor[] = {
    {"", "TipoContenedor"}, {"", "PesoContenedorVacio"}, {"", "PesoNetoMercancia"}};
constexpr Field kAddCartaporte20TiposFigura[] = {
    {"", "TipoFigura"},
    {"", "RFCFigura"},
    {"", "NumLicencia"},
    {"", "NombreFigura"},
    {"", "NumRegIdTribFigura"},
    {"", "ResidenciaFiscalFigura"},
    {"cartaporte20:PartesTransporte", "ParteTransporte"},
    {"cartaporte20:Domicilio", "Calle"},
    {"cartaporte20:Domicilio", "NumeroExterior"},
    {"cartaporte20:Domicilio", "NumeroInterior"},
    {"cartaporte20:Domicilio", "Colonia"},
    {"cartaporte20:Domicilio", "Localidad"},
    {"cartaporte20:Domicilio", "Referencia"},
    {"cartaporte20:Domicilio", "Municipio"},
    {"cartaporte20:Domicilio", "Estado"},
    {"cartaporte20:Domicilio", "Pais"},
    {"cartaporte20:Domicilio", "CodigoPostal"}};
constexpr Field kAddCartaporte20PartesTransporte[] = {{"", "ParteTransporte"}};

// The Carta Porte 2.0 complement, created on first use.
Node carta_porte(Document& document) {
  const Node node = document.root_node().child("cfdi:Complemento").child("cartaporte20:CartaPorte");
  node.set("Version", "2.0");
  return node;
}

Node mercancias(Document& document) {
  return carta_porte(document).child("cartaporte20:Mercancias");
}

Node ferroviario(Document& document) {
  return mercancias(document).child("cartaporte20:TransporteFerroviario");
}

// Adds a child of the latest Mercancia; ignored when no Mercancia was added.
void add_to_mercancia(Document& document, std::string_view name, std::span<const Field> fields,
                      const Values& values) {
  if (!document.latest.mercancia_cp20) return;
  fill(document.latest.mercancia_cp20.add(name), fields, values);
}

}  // namespace

void set_cartaporte20(Document& document, const Values& values) {
  fill(carta_porte(document), kSetCartaporte20, values);
}

void add_cartaporte20_ubicacion(Document& document, const Values& values) {
  const Node ubicaciones = carta_porte(document).child("cartaporte20:Ubicaciones");
  fill(ubicaciones.add("cartaporte20:Ubicacion"), kAddCartaporte20Ubicacion, values);
}

void set_cartaporte20_mercancias(Document& document, const Values& values) {
  fill(mercancias(document), kSetCartaporte20Mercancias, values);
}

void add_cartaporte20_mercancia(Document& document, const Values& values) {
  document.latest.mercancia_cp20 = mercancias(document).add("cartaporte20:Mercancia");
  fill(document.latest.mercancia_cp20, kAddCartaporte20Mercancia, values);
}

void add_cartaporte20_cantidad_transporta(Document& document, const Values& values) {
  add_to_mercancia(document, "cartaporte20:CantidadTransporta", kAddCartaporte20CantidadTransporta,
                   values);
}

void add_cartaporte20_pedimentos(Document& document, const Values& values) {
  add_to_mercancia(document, "cartaporte20:Pedimentos", kAddCartaporte20Pedimentos, values);
}

void add_cartaporte20_guias_identificacion(Document& document, const Values& values) {
  add_to_mercancia(document, "cartaporte20:GuiasIdentificacion",
                   kAddCartaporte20GuiasIdentificacion, values);
}

void set_cartaporte20_autotransporte(Document& document, const Values& values) {
  fill(mercancias(document).child("cartaporte20:Autotransporte"), kSetCartaporte20Autotransporte,
       values);
}

void set_cartaporte20_transporte_maritimo(Document& document, const Values& values) {
  fill(mercancias(document).child("cartaporte20:TransporteMaritimo"),
       kSetCartaporte20TransporteMaritimo, values);
}

void add_cartaporte20_maritimo_contenedor(Document& document, const Values& values) {
  const Node maritimo = mercancias(document).child("cartaporte20:TransporteMaritimo");
  fill(maritimo.add("cartaporte20:Contenedor"), kAddCartaporte20MaritimoContenedor, values);
}

void set_cartaporte20_transporte_aereo(Document& document, const Values& values) {
  fill(mercancias(document).child("cartaporte20:TransporteAereo"), kSetCartaporte20TransporteAereo,
       values);
}

void set_cartaporte20_transporte_ferroviario(Document& document, const Values& values) {
  const Node transporte = ferroviario(document);
  fill(transporte, kSetCartaporte20TransporteFerroviario, values);
  document.latest.carro_cp20 = transporte.last("cartaporte20:Carro");
}

void add_cartaporte20_ferroviario_derechos_de_paso(Document& document, const Values& values) {
  fill(ferroviario(document).add("cartaporte20:DerechosDePaso"),
       kAddCartaporte20FerroviarioDerechosDePaso, values);
}

void add_cartaporte20_ferroviario_carro(Document& document, const Values& values) {
  document.latest.carro_cp20 = ferroviario(document).add("cartaporte20:Carro");
  fill(document.latest.carro_cp20, kAddCartaporte20FerroviarioCarro, values);
}

void add_cartaporte20_ferroviario_carro_contenedor(Document& document, const Values& values) {
  if (!document.latest.carro_cp20) return;
  fill(document.latest.carro_cp20.add("cartaporte20:Contenedor"),
       kAddCartaporte20FerroviarioCarroContenedor, values);
}

void add_cartaporte20_tipos_figura(Document& document, const Values& values) {
  const Node figura = carta_porte(document).child("cartaporte20:FiguraTransporte");
  document.latest.tipos_figura_cp20 = figura.add("cartaporte20:TiposFigura");
  fill(document.latest.tipos_figura_cp20, kAddCartaporte20TiposFigura, values);
}

void add_cartaporte20_partes_transporte(Document& document, const Values& values) {
  if (!document.latest.tipos_figura_cp20) return;
  fill(document.latest.tipos_figura_cp20.add("cartaporte20:PartesTransporte"),
       kAddCartaporte20PartesTransporte, values);
}

}  // namespace drovanexis
