#include "document/namespaces.h"

#include <array>

namespace drovanexis {
namespace {

#define SAT_XSD(path) "http://www.sat.gob.mx/sitio_internet/cfd/" path

using P = ComplementPlace;

constexpr KnownNamespace kCfdi33{
    "cfdi", "http://www.sat.gob.mx/cfd/3", SAT_XSD("3/cfdv33.xsd"), "", "", "", P::kNone};

constexpr KnownNamespace kTfd{"tfd",
                              "http://www.sat.gob.mx/TimbreFiscalDigital",
                              SAT_XSD("TimbreFiscalDigital/TimbreFiscalDigitalv11.xsd"),
                              "TimbreFiscalDigital",
                              "Version",
                              "1.1",
                              P::kComprobante};

constexpr KnownNamespace kXsi{"xsi",   "http://www.w3.org/2001/XMLSchema-instance", "", "", "", "",
                              P::kNone};

constexpr KnownNamespace kEcc11{"ecc11",
                                "http://www.sat.gob.mx/EstadoDeCuentaCombustible",
                                SAT_XSD("EstadoDeCuentaCombustible/ecc11.xsd"),
                                "EstadoDeCuentaCombustible",
                                "Version",
                                "1.1",
                                P::kComprobante};

constexpr KnownNamespace kDonat{"donat",
                                "http://www.sat.gob.mx/donat",
                                SAT_XSD("donat/donat11.xsd"),
                                "Donatarias",
                                "version",
                                "1.1",
                                P::kComprobante};

constexpr KnownNamespace kDivisas{"divisas",
                                  "http://www.sat.gob.mx/divisas",
                                  SAT_XSD("divisas/divisas.xsd"),
                                  "Divisas",
                                  "version",
                                  "1.0",
                                  P::kComprobante};

constexpr KnownNamespace kImplocal{"implocal",
                                   "http://www.sat.gob.mx/implocal",
                                   SAT_XSD("implocal/implocal.xsd"),
                                   "ImpuestosLocales",
                                   "version",
                                   "1.0",
                                   P::kComprobante};

constexpr KnownNamespace kLeyendasFisc{"leyendasFisc",
                                       "http://www.sat.gob.mx/leyendasFiscales",
                                       SAT_XSD("leyendasFiscales/leyendasFisc.xsd"),
                                       "LeyendasFiscales",
                                       "version",
                                       "1.0",
                                       P::kComprobante};

constexpr KnownNamespace kPfic{"pfic",
                               "http://www.sat.gob.mx/pfic",
                               SAT_XSD("pfic/pfic.xsd"),
                               "PFintegranteCoordinado",
                               "version",
                               "1.0",
                               P::kComprobante};

constexpr KnownNamespace kTpe{"tpe",
                              "http://www.sat.gob.mx/TuristaPasajeroExtranjero",
                              SAT_XSD("TuristaPasajeroExtranjero/TuristaPasajeroExtranjero.xsd"),
                              "TuristaPasajeroExtranjero",
                              "version",
                              "1.0",
                              P::kComprobante};

constexpr KnownNamespace kNomina12{"nomina12",
                                   "http://www.sat.gob.mx/nomina12",
                                   SAT_XSD("nomina/nomina12.xsd"),
                                   "Nomina",
                                   "Version",
                                   "1.2",
                                   P::kComprobante};

constexpr KnownNamespace kRegistrofiscal{"registrofiscal",
                                         "http://www.sat.gob.mx/registrofiscal",
                                         SAT_XSD("cfdiregistrofiscal/cfdiregistrofiscal.xsd"),
                                         "CFDIRegistroFiscal",
                                         "Version",
                                         "1.0",
                                         P::kComprobante};

constexpr KnownNamespace kPagoenespecie{"pagoenespecie",
                                        "http://www.sat.gob.mx/pagoenespecie",
                                        SAT_XSD("pagoenespecie/pagoenespecie.xsd"),
                                        "PagoEnEspecie",
                                        "Version",
                                        "1.0",
                                        P::kComprobante};

constexpr KnownNamespace kAerolineas{"aerolineas",
                                     "http://www.sat.gob.mx/aerolineas",
                                     SAT_XSD("aerolineas/aerolineas.xsd"),
                                     "Aerolineas",
                                     "Version",
                                     "1.0",
                                     P::kComprobante};

constexpr KnownNamespace kValesdedespensa{"valesdedespensa",
                                          "http://www.sat.gob.mx/valesdedespensa",
                                          SAT_XSD("valesdedespensa/valesdedespensa.xsd"),
                                          "ValesDeDespensa",
                                          "version",
                                          "1.0",
                                          P::kComprobante};

constexpr KnownNamespace kConsumodecombustibles{
    "consumodecombustibles",
    "http://www.sat.gob.mx/consumodecombustibles",
    SAT_XSD("consumodecombustibles/consumodecombustibles.xsd"),
    "ConsumoDeCombustibles",
    "version",
    "1.0",
    P::kComprobante};

constexpr KnownNamespace kNotariospublicos{"notariospublicos",
                                           "http://www.sat.gob.mx/notariospublicos",
                                           SAT_XSD("notariospublicos/notariospublicos.xsd"),
                                           "NotariosPublicos",
                                           "Version",
                                           "1.0",
                                           P::kComprobante};

constexpr KnownNamespace kVehiculousado{"vehiculousado",
                                        "http://www.sat.gob.mx/vehiculousado",
                                        SAT_XSD("vehiculousado/vehiculousado.xsd"),
                                        "VehiculoUsado",
                                        "Version",
                                        "1.0",
                                        P::kComprobante};

constexpr KnownNamespace kServicioparcial{
    "servicioparcial",
    "http://www.sat.gob.mx/servicioparcialconstruccion",
    SAT_XSD("servicioparcialconstruccion/servicioparcialconstruccion.xsd"),
    "parcialesconstruccion",
    "Version",
    "1.0",
    P::kComprobante};

constexpr KnownNamespace kDecreto{
    "decreto",
    "http://www.sat.gob.mx/renovacionysustitucionvehiculos",
    SAT_XSD("renovacionysustitucionvehiculos/renovacionysustitucionvehiculos.xsd"),
    "renovacionysustitucionvehiculos",
    "Version",
    "1.0",
    P::kComprobante};

constexpr KnownNamespace kDestruccion{
    "destruccion",
    "http://www.sat.gob.mx/certificadodestruccion",
    SAT_XSD("certificadodestruccion/certificadodedestruccion.xsd"),
    "certificadodedestruccion",
    "Version",
    "1.0",
    P::kComprobante};

constexpr KnownNamespace kObrasarte{"obrasarte",
                                    "http://www.sat.gob.mx/arteantiguedades",
                                    SAT_XSD("arteantiguedades/obrasarteantiguedades.xsd"),
                                    "obrasarteantiguedades",
                                    "Version",
                                    "1.0",
                                    P::kComprobante};

constexpr KnownNamespace kCce11{"cce11",
                                "http://www.sat.gob.mx/ComercioExterior11",
                                SAT_XSD("ComercioExterior11/ComercioExterior11.xsd"),
                                "ComercioExterior",
                                "Version",
                                "1.1",
                                P::kComprobante};

constexpr KnownNamespace kIne{
    "ine",          "http://www.sat.gob.mx/ine", SAT_XSD("ine/ine11.xsd"), "INE", "Version", "1.1",
    P::kComprobante};

constexpr KnownNamespace kIedu{"iedu",
                               "http://www.sat.gob.mx/iedu",
                               SAT_XSD("iedu/iedu.xsd"),
                               "instEducativas",
                               "version",
                               "1.0",
                               P::kConcepto};

constexpr KnownNamespace kVentavehiculos{"ventavehiculos",
                                         "http://www.sat.gob.mx/ventavehiculos",
                                         SAT_XSD("ventavehiculos/ventavehiculos11.xsd"),
                                         "VentaVehiculos",
                                         "version",
                                         "1.1",
                                         P::kConcepto};

constexpr KnownNamespace kTerceros{"terceros",
                                   "http://www.sat.gob.mx/terceros",
                                   SAT_XSD("terceros/terceros11.xsd"),
                                   "PorCuentadeTerceros",
                                   "version",
                                   "1.1",
                                   P::kConcepto};

constexpr KnownNamespace kPago10{"pago10",
                                 "http://www.sat.gob.mx/Pagos",
                                 SAT_XSD("Pagos/Pagos10.xsd"),
                                 "Pagos",
                                 "Version",
                                 "1.0",
                                 P::kComprobante};

// The retail complement has no version attribute of its own.
constexpr KnownNamespace kDetallista{"detallista",
                                     "http://www.sat.gob.mx/detallista",
                                     SAT_XSD("detallista/detallista.xsd"),
                                     "detallista",
                                     "",
                                     "",
                                     P::kComprobante};

constexpr KnownNamespace kEcc12{"ecc12",
                                "http://www.sat.gob.mx/EstadoDeCuentaCombustible12",
                                SAT_XSD("EstadoDeCuentaCombustible/ecc12.xsd"),
                                "EstadoDeCuentaCombustible",
                                "Version",
                                "1.2",
                                P::kComprobante};

constexpr KnownNamespace kConsumodecombustibles11{
    "consumodecombustibles11",
    "http://www.sat.gob.mx/ConsumoDeCombustibles11",
    SAT_XSD("consumodecombustibles/consumodeCombustibles11.xsd"),
    "ConsumoDeCombustibles",
    "version",
    "1.1",
    P::kComprobante};

constexpr KnownNamespace kGceh{"gceh",
                               "http://www.sat.gob.mx/GastosHidrocarburos10",
                               SAT_XSD("GastosHidrocarburos10/GastosHidrocarburos10.xsd"),
                               "GastosHidrocarburos",
                               "Version",
                               "1.0",
                               P::kComprobante};

constexpr KnownNamespace kIeeh{"ieeh",
                               "http://www.sat.gob.mx/IngresosHidrocarburos10",
                               SAT_XSD("IngresosHidrocarburos10/IngresosHidrocarburos.xsd"),
                               "IngresosHidrocarburos",
                               "Version",
                               "1.0",
                               P::kComprobante};

constexpr KnownNamespace kCartaporte{"cartaporte",
                                     "http://www.sat.gob.mx/CartaPorte",
                                     SAT_XSD("CartaPorte/CartaPorte.xsd"),
                                     "CartaPorte",
                                     "Version",
                                     "1.0",
                                     P::kComprobante};

constexpr KnownNamespace kCartaporte20{"cartaporte20",
                                       "http://www.sat.gob.mx/CartaPorte20",
                                       SAT_XSD("CartaPorte/CartaPorte20.xsd"),
                                       "CartaPorte",
                                       "Version",
                                       "2.0",
                                       P::kComprobante};

constexpr KnownNamespace kCfdi40{
    "cfdi", "http://www.sat.gob.mx/cfd/4", SAT_XSD("4/cfdv40.xsd"), "", "", "", P::kNone};

constexpr KnownNamespace kCce20{"cce20",
                                "http://www.sat.gob.mx/ComercioExterior20",
                                SAT_XSD("ComercioExterior20/ComercioExterior20.xsd"),
                                "ComercioExterior",
                                "Version",
                                "2.0",
                                P::kComprobante};

constexpr KnownNamespace kPago20{"pago20",
                                 "http://www.sat.gob.mx/Pagos20",
                                 SAT_XSD("Pagos/Pagos20.xsd"),
                                 "Pagos",
                                 "Version",
                                 "2.0",
                                 P::kComprobante};

constexpr KnownNamespace kCartaporte30{"cartaporte30",
                                       "http://www.sat.gob.mx/CartaPorte30",
                                       SAT_XSD("CartaPorte/CartaPorte30.xsd"),
                                       "CartaPorte",
                                       "Version",
                                       "3.0",
                                       P::kComprobante};

constexpr KnownNamespace kCartaporte31{"cartaporte31",
                                       "http://www.sat.gob.mx/CartaPorte31",
                                       SAT_XSD("CartaPorte/CartaPorte31.xsd"),
                                       "CartaPorte",
                                       "Version",
                                       "3.1",
                                       P::kComprobante};

constexpr KnownNamespace kHidrocarburospetroliferos{
    "hidrocarburospetroliferos",
    "http://www.sat.gob.mx/hidrocarburospetroliferos",
    SAT_XSD("hidrocarburospetroliferos.xsd"),
    "HidroYPetro",
    "Version",
    "1.0",
    P::kConcepto};

// In the order of the CFDI 3.3 original-string stylesheet.
constexpr std::array kNamespaces33{
    kCfdi33,
    kTfd,
    kXsi,
    kEcc11,
    kDonat,
    kDivisas,
    kImplocal,
    kLeyendasFisc,
    kPfic,
    kTpe,
    kNomina12,
    kRegistrofiscal,
    kPagoenespecie,
    kAerolineas,
    kValesdedespensa,
    kConsumodecombustibles,
    kNotariospublicos,
    kVehiculousado,
    kServicioparcial,
    kDecreto,
    kDestruccion,
    kObrasarte,
    kCce11,
    kIne,
    kIedu,
    kVentavehiculos,
    kTerceros,
    kPago10,
    kDetallista,
    kEcc12,
    kConsumodecombustibles11,
    kGceh,
    kIeeh,
    kCartaporte,
    kCartaporte20,
};

// In the order of the CFDI 4.0 original-string stylesheet.
constexpr std::array kNamespaces40{
    kCfdi40,
    kTfd,
    kXsi,
    kDonat,
    kDivisas,
    kImplocal,
    kLeyendasFisc,
    kPfic,
    kTpe,
    kNomina12,
    kRegistrofiscal,
    kPagoenespecie,
    kAerolineas,
    kValesdedespensa,
    kNotariospublicos,
    kVehiculousado,
    kServicioparcial,
    kDecreto,
    kDestruccion,
    kObrasarte,
    kCce11,
    kCce20,
    kIne,
    kIedu,
    kVentavehiculos,
    kDetallista,
    kEcc12,
    kConsumodecombustibles11,
    kGceh,
    kIeeh,
    kCartaporte20,
    kPago20,
    kCartaporte30,
    kCartaporte31,
    kHidrocarburospetroliferos,
};

#undef SAT_XSD

static_assert(kNamespaces33.size() == 3 + 32, "the CFDI, the stamp, xsi and 32 complements");
static_assert(kNamespaces40.size() == 3 + 32, "the CFDI, the stamp, xsi and 32 complements");

template <typename Table>
const KnownNamespace* find_prefix(const Table& table, std::string_view prefix) {
  for (const auto& known : table) {
    if (known.prefix == prefix) return &known;
  }
  return nullptr;
}

template <typename Table>
const KnownNamespace* find_uri(const Table& table, std::string_view uri) {
  for (const auto& known : table) {
    if (known.uri == uri) return &known;
  }
  return nullptr;
}

}  // namespace

std::span<const KnownNamespace> known_namespaces(CfdiVersion version) {
  if (version == CfdiVersion::k40) return kNamespaces40;
  return kNamespaces33;
}

const KnownNamespace* namespace_by_prefix(CfdiVersion version, std::string_view prefix) {
  return version == CfdiVersion::k40 ? find_prefix(kNamespaces40, prefix)
                                     : find_prefix(kNamespaces33, prefix);
}

const KnownNamespace* namespace_by_uri(std::string_view uri) {
  if (const KnownNamespace* known = find_uri(kNamespaces33, uri)) return known;
  return find_uri(kNamespaces40, uri);
}

bool is_reserved_prefix(std::string_view prefix) {
  return find_prefix(kNamespaces33, prefix) != nullptr ||
         find_prefix(kNamespaces40, prefix) != nullptr;
}

std::string_view prefix_of(std::string_view qualified_name) {
  const auto colon = qualified_name.find(':');
  return colon == std::string_view::npos ? std::string_view{} : qualified_name.substr(0, colon);
}

}  // namespace drovanexis
