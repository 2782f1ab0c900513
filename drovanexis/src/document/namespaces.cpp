#include "document/namespaces.h"

#include <array>

namespace drovanexis {
namespace {

#define SAT_XSD(path) "http://www.sat.gob.mx/sitio_internet/cfd/" path

using P = ComplementPlace;

// The versions that take a namespace.
enum class V : unsigned char { k33 = 1, k40 = 2, kBoth = 3 };

struct Row {
  KnownNamespace known;
  V versions;
};

// Every namespace the library knows, with the versions that take it: both
// lists below are this table filtered, and each version's stylesheet order
// is this table's order restricted to that version.
constexpr auto kNamespaces = std::to_array<Row>({
    {{"cfdi", "http://www.sat.gob.mx/cfd/3", SAT_XSD("3/cfdv33.xsd"), "", "", "", P::kNone},
     V::k33},
    {{"cfdi", "http://www.sat.gob.mx/cfd/4", SAT_XSD("4/cfdv40.xsd"), "", "", "", P::kNone},
     V::k40},
    {{"tfd", "http://www.sat.gob.mx/TimbreFiscalDigital",
      SAT_XSD("TimbreFiscalDigital/TimbreFiscalDigitalv11.xsd"), "TimbreFiscalDigital", "Version",
      "1.1", P::kComprobante},
     V::kBoth},
    {{"xsi", "http://www.w3.org/2001/XMLSchema-instance", "", "", "", "", P::kNone}, V::kBoth},
    {{"ecc11", "http://www.sat.gob.mx/EstadoDeCuentaCombustible",
      SAT_XSD("EstadoDeCuentaCombustible/ecc11.xsd"), "EstadoDeCuentaCombustible", "Version", "1.1",
      P::kComprobante},
     V::k33},
    {{"donat", "http://www.sat.gob.mx/donat", SAT_XSD("donat/donat11.xsd"), "Donatarias", "version",
      "1.1", P::kComprobante},
     V::kBoth},
    {{"divisas", "http://www.sat.gob.mx/divisas", SAT_XSD("divisas/divisas.xsd"), "Divisas",
      "version", "1.0", P::kComprobante},
     V::kBoth},
    {{"implocal", "http://www.sat.gob.mx/implocal", SAT_XSD("implocal/implocal.xsd"),
      "ImpuestosLocales", "version", "1.0", P::kComprobante},
     V::kBoth},
    {{"leyendasFisc", "http://www.sat.gob.mx/leyendasFiscales",
      SAT_XSD("leyendasFiscales/leyendasFisc.xsd"), "LeyendasFiscales", "version", "1.0",
      P::kComprobante},
     V::kBoth},
    {{"pfic", "http://www.sat.gob.mx/pfic", SAT_XSD("pfic/pfic.xsd"), "PFintegranteCoordinado",
      "version", "1.0", P::kComprobante},
     V::kBoth},
    {{"tpe", "http://www.sat.gob.mx/TuristaPasajeroExtranjero",
      SAT_XSD("TuristaPasajeroExtranjero/TuristaPasajeroExtranjero.xsd"),
      "TuristaPasajeroExtranjero", "version", "1.0", P::kComprobante},
     V::kBoth},
    {{"nomina12", "http://www.sat.gob.mx/nomina12", SAT_XSD("nomina/nomina12.xsd"), "Nomina",
      "Version", "1.2", P::kComprobante},
     V::kBoth},
    {{"registrofiscal", "http://www.sat.gob.mx/registrofiscal",
      SAT_XSD("cfdiregistrofiscal/cfdiregistrofiscal.xsd"), "CFDIRegistroFiscal", "Version", "1.0",
      P::kComprobante},
     V::kBoth},
    {{"pagoenespecie", "http://www.sat.gob.mx/pagoenespecie",
      SAT_XSD("pagoenespecie/pagoenespecie.xsd"), "PagoEnEspecie", "Version", "1.0",
      P::kComprobante},
     V::kBoth},
    {{"aerolineas", "http://www.sat.gob.mx/aerolineas", SAT_XSD("aerolineas/aerolineas.xsd"),
      "Aerolineas", "Version", "1.0", P::kComprobante},
     V::kBoth},
    {{"valesdedespensa", "http://www.sat.gob.mx/valesdedespensa",
      SAT_XSD("valesdedespensa/valesdedespensa.xsd"), "ValesDeDespensa", "version", "1.0",
      P::kComprobante},
     V::kBoth},
    {{"consumodecombustibles", "http://www.sat.gob.mx/consumodecombustibles",
      SAT_XSD("consumodecombustibles/consumodecombustibles.xsd"), "ConsumoDeCombustibles",
      "version", "1.0", P::kComprobante},
     V::k33},
    {{"notariospublicos", "http://www.sat.gob.mx/notariospublicos",
      SAT_XSD("notariospublicos/notariospublicos.xsd"), "NotariosPublicos", "Version", "1.0",
      P::kComprobante},
     V::kBoth},
    {{"vehiculousado", "http://www.sat.gob.mx/vehiculousado",
      SAT_XSD("vehiculousado/vehiculousado.xsd"), "VehiculoUsado", "Version", "1.0",
      P::kComprobante},
     V::kBoth},
    {{"servicioparcial", "http://www.sat.gob.mx/servicioparcialconstruccion",
      SAT_XSD("servicioparcialconstruccion/servicioparcialconstruccion.xsd"),
      "parcialesconstruccion", "Version", "1.0", P::kComprobante},
     V::kBoth},
    {{"decreto", "http://www.sat.gob.mx/renovacionysustitucionvehiculos",
      SAT_XSD("renovacionysustitucionvehiculos/renovacionysustitucionvehiculos.xsd"),
      "renovacionysustitucionvehiculos", "Version", "1.0", P::kComprobante},
     V::kBoth},
    {{"destruccion", "http://www.sat.gob.mx/certificadodestruccion",
      SAT_XSD("certificadodestruccion/certificadodedestruccion.xsd"), "certificadodedestruccion",
      "Version", "1.0", P::kComprobante},
     V::kBoth},
    {{"obrasarte", "http://www.sat.gob.mx/arteantiguedades",
      SAT_XSD("arteantiguedades/obrasarteantiguedades.xsd"), "obrasarteantiguedades", "Version",
      "1.0", P::kComprobante},
     V::kBoth},
    {{"cce11", "http://www.sat.gob.mx/ComercioExterior11",
      SAT_XSD("ComercioExterior11/ComercioExterior11.xsd"), "ComercioExterior", "Version", "1.1",
      P::kComprobante},
     V::kBoth},
    {{"cce20", "http://www.sat.gob.mx/ComercioExterior20",
      SAT_XSD("ComercioExterior20/ComercioExterior20.xsd"), "ComercioExterior", "Version", "2.0",
      P::kComprobante},
     V::k40},
    {{"ine", "http://www.sat.gob.mx/ine", SAT_XSD("ine/ine11.xsd"), "INE", "Version", "1.1",
      P::kComprobante},
     V::kBoth},
    {{"iedu", "http://www.sat.gob.mx/iedu", SAT_XSD("iedu/iedu.xsd"), "instEducativas", "version",
      "1.0", P::kConcepto},
     V::kBoth},
    {{"ventavehiculos", "http://www.sat.gob.mx/ventavehiculos",
      SAT_XSD("ventavehiculos/ventavehiculos11.xsd"), "VentaVehiculos", "version", "1.1",
      P::kConcepto},
     V::kBoth},
    {{"terceros", "http://www.sat.gob.mx/terceros", SAT_XSD("terceros/terceros11.xsd"),
      "PorCuentadeTerceros", "version", "1.1", P::kConcepto},
     V::k33},
    {{"pago10", "http://www.sat.gob.mx/Pagos", SAT_XSD("Pagos/Pagos10.xsd"), "Pagos", "Version",
      "1.0", P::kComprobante},
     V::k33},
    // The retail complement has no version attribute of its own.
    {{"detallista", "http://www.sat.gob.mx/detallista", SAT_XSD("detallista/detallista.xsd"),
      "detallista", "", "", P::kComprobante},
     V::kBoth},
    {{"ecc12", "http://www.sat.gob.mx/EstadoDeCuentaCombustible12",
      SAT_XSD("EstadoDeCuentaCombustible/ecc12.xsd"), "EstadoDeCuentaCombustible", "Version", "1.2",
      P::kComprobante},
     V::kBoth},
    {{"consumodecombustibles11", "http://www.sat.gob.mx/ConsumoDeCombustibles11",
      SAT_XSD("consumodecombustibles/consumodeCombustibles11.xsd"), "ConsumoDeCombustibles",
      "version", "1.1", P::kComprobante},
     V::kBoth},
    {{"gceh", "http://www.sat.gob.mx/GastosHidrocarburos10",
      SAT_XSD("GastosHidrocarburos10/GastosHidrocarburos10.xsd"), "GastosHidrocarburos", "Version",
      "1.0", P::kComprobante},
     V::kBoth},
    {{"ieeh", "http://www.sat.gob.mx/IngresosHidrocarburos10",
      SAT_XSD("IngresosHidrocarburos10/IngresosHidrocarburos.xsd"), "IngresosHidrocarburos",
      "Version", "1.0", P::kComprobante},
     V::kBoth},
    {{"cartaporte", "http://www.sat.gob.mx/CartaPorte", SAT_XSD("CartaPorte/CartaPorte.xsd"),
      "CartaPorte", "Version", "1.0", P::kComprobante},
     V::k33},
    {{"cartaporte20", "http://www.sat.gob.mx/CartaPorte20", SAT_XSD("CartaPorte/CartaPorte20.xsd"),
      "CartaPorte", "Version", "2.0", P::kComprobante},
     V::kBoth},
    {{"pago20", "http://www.sat.gob.mx/Pagos20", SAT_XSD("Pagos/Pagos20.xsd"), "Pagos", "Version",
      "2.0", P::kComprobante},
     V::k40},
    {{"cartaporte30", "http://www.sat.gob.mx/CartaPorte30", SAT_XSD("CartaPorte/CartaPorte30.xsd"),
      "CartaPorte", "Version", "3.0", P::kComprobante},
     V::k40},
    {{"cartaporte31", "http://www.sat.gob.mx/CartaPorte31", SAT_XSD("CartaPorte/CartaPorte31.xsd"),
      "CartaPorte", "Version", "3.1", P::kComprobante},
     V::k40},
    {{"hidrocarburospetroliferos", "http://www.sat.gob.mx/hidrocarburospetroliferos",
      SAT_XSD("hidrocarburospetroliferos.xsd"), "HidroYPetro", "Version", "1.0", P::kConcepto},
     V::k40},
});

#undef SAT_XSD

constexpr bool takes(V versions, CfdiVersion version) {
  const auto bit = version == CfdiVersion::k40 ? V::k40 : V::k33;
  return (static_cast<unsigned>(versions) & static_cast<unsigned>(bit)) != 0;
}

constexpr std::size_t count_of(CfdiVersion version) {
  std::size_t count = 0;
  for (const Row& row : kNamespaces) count += takes(row.versions, version) ? 1 : 0;
  return count;
}

template <CfdiVersion version>
constexpr auto namespaces_of() {
  std::array<KnownNamespace, count_of(version)> out{};
  std::size_t next = 0;
  for (const Row& row : kNamespaces) {
    if (takes(row.versions, version)) out[next++] = row.known;
  }
  return out;
}

constexpr auto kNamespaces33 = namespaces_of<CfdiVersion::k33>();
constexpr auto kNamespaces40 = namespaces_of<CfdiVersion::k40>();

static_assert(kNamespaces33.size() == 3 + 32, "the CFDI, the stamp, xsi and 32 complements");
static_assert(kNamespaces40.size() == 3 + 32, "the CFDI, the stamp, xsi and 32 complements");

template <typename Table>
const KnownNamespace* find_prefix(const Table& table, std::string_view prefix) {
  for (const auto& known : table) {
    if (known.prefix == prefix) return &known;
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
  for (const Row& row : kNamespaces) {
    if (row.known.uri == uri) return &row.known;
  }
  return nullptr;
}

bool is_reserved_prefix(std::string_view prefix) {
  for (const Row& row : kNamespaces) {
    if (row.known.prefix == prefix) return true;
  }
  return false;
}

std::string_view prefix_of(std::string_view qualified_name) {
  const auto colon = qualified_name.find(':');
  return colon == std::string_view::npos ? std::string_view{} : qualified_name.substr(0, colon);
}

}  // namespace drovanexis
