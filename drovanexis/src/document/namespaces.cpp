#include "document/namespaces.h"

#include <array>

namespace drovanexis {
namespace {

#define SAT_XSD(path) "http://www.sat.gob.mx/sitio_internet/cfd/" path

using P = ComplementPlace;

constexpr std::array kNamespaces = std::to_array<KnownNamespace>({
    {"cfdi", "http://www.sat.gob.mx/cfd/3", SAT_XSD("3/cfdv33.xsd"), "", "", "", P::kNone},
    {"tfd", "http://www.sat.gob.mx/TimbreFiscalDigital",
     SAT_XSD("TimbreFiscalDigital/TimbreFiscalDigitalv11.xsd"), "TimbreFiscalDigital", "Version",
     "1.1", P::kComprobante},
    {"xsi", "http://www.w3.org/2001/XMLSchema-instance", "", "", "", "", P::kNone},
    {"ecc11", "http://www.sat.gob.mx/EstadoDeCuentaCombustible",
     SAT_XSD("EstadoDeCuentaCombustible/ecc11.xsd"), "EstadoDeCuentaCombustible", "Version", "1.1",
     P::kComprobante},
    {"donat", "http://www.sat.gob.mx/donat", SAT_XSD("donat/donat11.xsd"), "Donatarias", "version",
     "1.1", P::kComprobante},
    {"divisas", "http://www.sat.gob.mx/divisas", SAT_XSD("divisas/divisas.xsd"), "Divisas",
     "version", "1.0", P::kComprobante},
    {"implocal", "http://www.sat.gob.mx/implocal", SAT_XSD("implocal/implocal.xsd"),
     "ImpuestosLocales", "version", "1.0", P::kComprobante},
    {"leyendasFisc", "http://www.sat.gob.mx/leyendasFiscales",
     SAT_XSD("leyendasFiscales/leyendasFisc.xsd"), "LeyendasFiscales", "version", "1.0",
     P::kComprobante},
    {"pfic", "http://www.sat.gob.mx/pfic", SAT_XSD("pfic/pfic.xsd"), "PFintegranteCoordinado",
     "version", "1.0", P::kComprobante},
    {"tpe", "http://www.sat.gob.mx/TuristaPasajeroExtranjero",
     SAT_XSD("TuristaPasajeroExtranjero/TuristaPasajeroExtranjero.xsd"),
     "TuristaPasajeroExtranjero", "version", "1.0", P::kComprobante},
    {"nomina12", "http://www.sat.gob.mx/nomina12", SAT_XSD("nomina/nomina12.xsd"), "Nomina",
     "Version", "1.2", P::kComprobante},
    {"registrofiscal", "http://www.sat.gob.mx/registrofiscal",
     SAT_XSD("cfdiregistrofiscal/cfdiregistrofiscal.xsd"), "CFDIRegistroFiscal", "Version", "1.0",
     P::kComprobante},
    {"pagoenespecie", "http://www.sat.gob.mx/pagoenespecie",
     SAT_XSD("pagoenespecie/pagoenespecie.xsd"), "PagoEnEspecie", "Version", "1.0",
     P::kComprobante},
    {"aerolineas", "http://www.sat.gob.mx/aerolineas", SAT_XSD("aerolineas/aerolineas.xsd"),
     "Aerolineas", "Version", "1.0", P::kComprobante},
    {"valesdedespensa", "http://www.sat.gob.mx/valesdedespensa",
     SAT_XSD("valesdedespensa/valesdedespensa.xsd"), "ValesDeDespensa", "version", "1.0",
     P::kComprobante},
    {"consumodecombustibles", "http://www.sat.gob.mx/consumodecombustibles",
     SAT_XSD("consumodecombustibles/consumodecombustibles.xsd"), "ConsumoDeCombustibles", "version",
     "1.0", P::kComprobante},
    {"notariospublicos", "http://www.sat.gob.mx/notariospublicos",
     SAT_XSD("notariospublicos/notariospublicos.xsd"), "NotariosPublicos", "Version", "1.0",
     P::kComprobante},
    {"vehiculousado", "http://www.sat.gob.mx/vehiculousado",
     SAT_XSD("vehiculousado/vehiculousado.xsd"), "VehiculoUsado", "Version", "1.0",
     P::kComprobante},
    {"servicioparcial", "http://www.sat.gob.mx/servicioparcialconstruccion",
     SAT_XSD("servicioparcialconstruccion/servicioparcialconstruccion.xsd"),
     "parcialesconstruccion", "Version", "1.0", P::kComprobante},
    {"decreto", "http://www.sat.gob.mx/renovacionysustitucionvehiculos",
     SAT_XSD("renovacionysustitucionvehiculos/renovacionysustitucionvehiculos.xsd"),
     "renovacionysustitucionvehiculos", "Version", "1.0", P::kComprobante},
    {"destruccion", "http://www.sat.gob.mx/certificadodestruccion",
     SAT_XSD("certificadodestruccion/certificadodedestruccion.xsd"), "certificadodedestruccion",
     "Version", "1.0", P::kComprobante},
    {"obrasarte", "http://www.sat.gob.mx/arteantiguedades",
     SAT_XSD("arteantiguedades/obrasarteantiguedades.xsd"), "obrasarteantiguedades", "Version",
     "1.0", P::kComprobante},
    {"cce11", "http://www.sat.gob.mx/ComercioExterior11",
     SAT_XSD("ComercioExterior11/ComercioExterior11.xsd"), "ComercioExterior", "Version", "1.1",
     P::kComprobante},
    {"ine", "http://www.sat.gob.mx/ine", SAT_XSD("ine/ine11.xsd"), "INE", "Version", "1.1",
     P::kComprobante},
    {"iedu", "http://www.sat.gob.mx/iedu", SAT_XSD("iedu/iedu.xsd"), "instEducativas", "version",
     "1.0", P::kConcepto},
    {"ventavehiculos", "http://www.sat.gob.mx/ventavehiculos",
     SAT_XSD("ventavehiculos/ventavehiculos11.xsd"), "VentaVehiculos", "version", "1.1",
     P::kConcepto},
    {"terceros", "http://www.sat.gob.mx/terceros", SAT_XSD("terceros/terceros11.xsd"),
     "PorCuentadeTerceros", "version", "1.1", P::kConcepto},
    {"pago10", "http://www.sat.gob.mx/Pagos", SAT_XSD("Pagos/Pagos10.xsd"), "Pagos", "Version",
     "1.0", P::kComprobante},
    // The retail complement has no version attribute of its own.
    {"detallista", "http://www.sat.gob.mx/detallista", SAT_XSD("detallista/detallista.xsd"),
     "detallista", "", "", P::kComprobante},
    {"ecc12", "http://www.sat.gob.mx/EstadoDeCuentaCombustible12",
     SAT_XSD("EstadoDeCuentaCombustible/ecc12.xsd"), "EstadoDeCuentaCombustible", "Version", "1.2",
     P::kComprobante},
    {"consumodecombustibles11", "http://www.sat.gob.mx/ConsumoDeCombustibles11",
     SAT_XSD("consumodecombustibles/consumodeCombustibles11.xsd"), "ConsumoDeCombustibles",
     "version", "1.1", P::kComprobante},
    {"gceh", "http://www.sat.gob.mx/GastosHidrocarburos10",
     SAT_XSD("GastosHidrocarburos10/GastosHidrocarburos10.xsd"), "GastosHidrocarburos", "Version",
     "1.0", P::kComprobante},
    {"ieeh", "http://www.sat.gob.mx/IngresosHidrocarburos10",
     SAT_XSD("IngresosHidrocarburos10/IngresosHidrocarburos.xsd"), "IngresosHidrocarburos",
     "Version", "1.0", P::kComprobante},
    {"cartaporte", "http://www.sat.gob.mx/CartaPorte", SAT_XSD("CartaPorte/CartaPorte.xsd"),
     "CartaPorte", "Version", "1.0", P::kComprobante},
    {"cartaporte20", "http://www.sat.gob.mx/CartaPorte20", SAT_XSD("CartaPorte/CartaPorte20.xsd"),
     "CartaPorte", "Version", "2.0", P::kComprobante},
});

#undef SAT_XSD

static_assert(kNamespaces.size() == 3 + 32, "the CFDI, the stamp, xsi and 32 complements");

}  // namespace

std::span<const KnownNamespace> known_namespaces() { return kNamespaces; }

const KnownNamespace* namespace_by_prefix(std::string_view prefix) {
  for (const auto& known : kNamespaces) {
    if (known.prefix == prefix) return &known;
  }
  return nullptr;
}

const KnownNamespace* namespace_by_uri(std::string_view uri) {
  for (const auto& known : kNamespaces) {
    if (known.uri == uri) return &known;
  }
  return nullptr;
}

std::string_view prefix_of(std::string_view qualified_name) {
  const auto colon = qualified_name.find(':');
  return colon == std::string_view::npos ? std::string_view{} : qualified_name.substr(0, colon);
}

}  // namespace drovanexis
