// Complemento Carta Porte 2.0 (cartaporte20:CartaPorte): the rules that
// depend on the means of transport, the parties and addresses of the
// locations, and the goods' hazards, weights, value and customs entries.
// The codes are the rows of the SAT's 2.0 matrix by subject (CP + 100 + row),
// each rule taken from the standard; where a subject has several rows the
// rows follow the order of its conditions. The means of transport are the
// nodes under Mercancias: Autotransporte (road, 01), TransporteMaritimo
// (sea, 02), TransporteAereo (air, 03), TransporteFerroviario (rail, 04).
// A location is a station when the transport has no road leg.
// The complement's own catalogues (c_Estaciones, c_ClaveProdServCP,
// c_MaterialPeligroso, c_TipoEmbalaje) are judged by membership alone: they
// date their codes from the standard's start in force (2021-12-01), while
// documents carrying it were accepted from its publication.
//   CP129 Ubicacion NumRegIdTrib only with RFCRemitenteDestinatario
//         XEXX010101000, in the tax-id form of its ResidenciaFiscal in c_Pais
//   CP130 ResidenciaFiscal present with NumRegIdTrib, a key of c_Pais, not MEX
//   CP131 a station carries NumEstacion
//   CP132 NumEstacion is a station of c_Estaciones for a means of transport
//         the document uses
//   CP133 a station carries NombreEstacion
//   CP134 road transport alone has no NumEstacion nor NombreEstacion
//   CP135 NavegacionTrafico only with sea transport
//   CP136 a station carries TipoEstacion; road transport alone has none
//         (c_TipoEstacion is for sea, air and rail)
//   CP138 with road transport every location carries its Domicilio
//   CP140 Domicilio Localidad (Pais MEX) in c_Localidad for its Estado
//   CP141 Domicilio Municipio (Pais MEX) in c_Municipio for its Estado
//   CP142 Domicilio Estado in c_Estado for its Pais, when the country has states
//   CP147 PesoNetoTotal present with air or rail transport, absent otherwise
//   CP148 PesoNetoTotal = Σ DetalleMercancia PesoNeto
//   CP150 MaterialPeligroso present when c_ClaveProdServCP marks BienesTransp
//         as hazardous ("1"; "0,1" leaves it optional)
//   CP151 MaterialPeligroso "Sí": CveMaterialPeligroso present, in
//         c_MaterialPeligroso
//   CP152 MaterialPeligroso "Sí": Embalaje present, in c_TipoEmbalaje
//   CP153 the Moneda of ValorMercancia is a key of c_Moneda (the schema only
//         fixes its form)
//   CP156 goods entering the country (TranspInternac "Sí", EntradaSalidaMerc
//         "Entrada") carry Pedimentos
//   CP157 Pedimento is a valid customs entry number on the document's day
//         (year, office in c_Aduana, patent in c_PatenteAduanal)
// Enforced by the schema stage (301): CP115 Version "2.0"; CP125 at least two
// Ubicacion; CP145 PesoBrutoTotal present, with at most 3 decimals and at
// least 0.001; the membership of NumEstacion (CP132) and TipoEstacion (CP136)
// in their catalogues.
// Not checked here, for want of the facts: CP128 and the RFCs of the figures
// need the list of registered RFCs (l_RFC); CP139 (Colonia) and CP143
// (CodigoPostal) need c_Colonia and c_CodigoPostal, which are not in the
// library's data.
#include <array>

#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kNode = child_path(child_path(std::string(kComprobante), "cfdi:Complemento"),
                                     "cartaporte20:CartaPorte");
constexpr std::string_view kForeignRfc = "XEXX010101000";

struct Transport {
  bool road = false;
  bool sea = false;
  bool air = false;
  bool rail = false;

  bool stations() const { return (sea || air || rail) && !road; }
  bool road_only() const { return road && !sea && !air && !rail; }
  bool uses(std::string_view clave) const {
    return (clave == "01" && road) || (clave == "02" && sea) || (clave == "03" && air) ||
           (clave == "04" && rail);
  }
};

class CartaPorte20Check {
 public:
  CartaPorte20Check(const Element& carta_porte, std::optional<int> day, Failures& failures)
      : carta_porte_(carta_porte), day_(day), failures_(failures) {
    if (const Element* m = carta_porte.child("cartaporte20:Mercancias")) {
      transport_.road = m->child("cartaporte20:Autotransporte") != nullptr;
      transport_.sea = m->child("cartaporte20:TransporteMaritimo") != nullptr;
      transport_.air = m->child("cartaporte20:TransporteAereo") != nullptr;
      transport_.rail = m->child("cartaporte20:TransporteFerroviario") != nullptr;
    }
  }

  void run() {
    const Element* ubicaciones = carta_porte_.child("cartaporte20:Ubicaciones");
    if (ubicaciones != nullptr) {
      const auto locations = children(*ubicaciones, "cartaporte20:Ubicacion");
      const std::string parent = child_path(kNode, "cartaporte20:Ubicaciones");
      for (std::size_t i = 0; i < locations.size(); ++i) {
        const std::string node =
            child_path(parent, "cartaporte20:Ubicacion", locations.size() > 1 ? i + 1 : 0);
        check_party(*locations[i], node);
        check_station(*locations[i], node);
        check_address(*locations[i], node);
      }
    }
    if (const Element* mercancias = carta_porte_.child("cartaporte20:Mercancias"))
      check_goods(*mercancias);
  }

 private:
  void fail(std::string code, const std::string& node, std::string_view attribute,
            std::string explanation) {
    add(failures_, std::move(code), node, std::string(attribute), std::move(explanation));
  }

  // A sender or recipient abroad is named by its foreign tax id.
  void check_party(const Element& location, const std::string& node) {
    const bool has_id = has(location, "NumRegIdTrib");
    const std::string_view residencia = attr(location, "ResidenciaFiscal");
    if (has_id && attr(location, "RFCRemitenteDestinatario") != kForeignRfc) {
      fail("CP129", node, "NumRegIdTrib",
           "El NumRegIdTrib se registra solo con RFCRemitenteDestinatario XEXX010101000.");
    }
    if (has_id && !has(location, "ResidenciaFiscal")) {
      fail("CP130", node, "ResidenciaFiscal",
           "Con NumRegIdTrib debe registrarse ResidenciaFiscal.");
    }
    if (!has(location, "ResidenciaFiscal")) return;
    if (!check_catalog(failures_, "CP130", node, "ResidenciaFiscal", "c_Pais", residencia,
                       std::nullopt))
      return;
    if (residencia == "MEX") {
      fail("CP130", node, "ResidenciaFiscal",
           "La ResidenciaFiscal es la de un remitente o destinatario extranjero y no puede ser "
           "MEX.");
    } else if (has_id && !fits_country_pattern(residencia, "patron_identidad_tributaria",
                                               attr(location, "NumRegIdTrib"))) {
      fail("CP129", node, "NumRegIdTrib",
           "El NumRegIdTrib " + quoted(attr(location, "NumRegIdTrib")) +
               " no tiene la forma del registro tributario de " + std::string(residencia) + ".");
    }
  }

  void check_station(const Element& location, const std::string& node) {
    if (transport_.stations()) {
      for (const auto& [attribute, code] :
           {std::pair<const char*, const char*>{"NumEstacion", "CP131"},
            {"NombreEstacion", "CP133"},
            {"TipoEstacion", "CP136"}}) {
        if (!has(location, attribute)) {
          fail(code, node, attribute,
               "Sin autotransporte cada ubicación es una estación y lleva " +
                   std::string(attribute) + ".");
        }
      }
    } else if (transport_.road_only()) {
      for (const auto& [attribute, code] :
           {std::pair<const char*, const char*>{"NumEstacion", "CP134"},
            {"NombreEstacion", "CP134"},
            {"TipoEstacion", "CP136"}}) {
        if (has(location, attribute)) {
          fail(code, node, attribute,
               "Con solo autotransporte no se registra " + std::string(attribute) + ".");
        }
      }
    }
    if (has(location, "NumEstacion")) {
      const std::string_view station = attr(location, "NumEstacion");
      const catalogs::Lookup found =
          catalogs::look_up("cartaporte20.c_Estaciones", station, std::nullopt);
      const std::string_view mode =
          found.row
              ? catalogs::catalog("cartaporte20.c_Estaciones").field(*found.row, "clave_transporte")
              : std::string_view{};
      if (found.standing == catalogs::Standing::valid && !transport_.uses(mode)) {
        fail("CP132", node, "NumEstacion",
             "La estación " + quoted(station) + " es del transporte " + quoted(mode) +
                 ", que el comprobante no usa.");
      } else if (found.standing != catalogs::Standing::valid) {
        check_catalog(failures_, "CP132", node, "NumEstacion", "cartaporte20.c_Estaciones", station,
                      std::nullopt);
      }
    }
    if (has(location, "NavegacionTrafico") && !transport_.sea) {
      fail("CP135", node, "NavegacionTrafico",
           "NavegacionTrafico se registra solo con transporte marítimo.");
    }
  }

  void check_address(const Element& location, const std::string& node) {
    const Element* domicilio = location.child("cartaporte20:Domicilio");
    if (domicilio == nullptr) {
      if (transport_.road) {
        fail("CP138", node, "", "Con autotransporte cada ubicación lleva su Domicilio.");
      }
      return;
    }
    const std::string d_node = child_path(node, "cartaporte20:Domicilio");
    const std::string_view pais = attr(*domicilio, "Pais");
    const std::string estado(attr(*domicilio, "Estado"));
    if (has(*domicilio, "Estado") && country_has_states(pais)) {
      check_catalog(failures_, "CP142", d_node, "Estado", "c_Estado",
                    std::string(pais) + "|" + estado, day_);
    }
    if (pais != "MEX") return;
    if (has(*domicilio, "Localidad")) {
      check_catalog(failures_, "CP140", d_node, "Localidad", "c_Localidad",
                    estado + "|" + std::string(attr(*domicilio, "Localidad")), day_);
    }
    if (has(*domicilio, "Municipio")) {
      check_catalog(failures_, "CP141", d_node, "Municipio", "c_Municipio",
                    estado + "|" + std::string(attr(*domicilio, "Municipio")), day_);
    }
  }

  void check_goods(const Element& mercancias) {
    const std::string parent = child_path(kNode, "cartaporte20:Mercancias");
    const bool needs_net = transport_.air || transport_.rail;
    if (needs_net != has(mercancias, "PesoNetoTotal")) {
      fail("CP147", parent, "PesoNetoTotal",
           needs_net ? "Con transporte aéreo o ferroviario debe registrarse PesoNetoTotal."
                     : "PesoNetoTotal se registra solo con transporte aéreo o ferroviario.");
    }
    const auto goods = children(mercancias, "cartaporte20:Mercancia");
    Decimal net;
    bool every_net = !goods.empty();
    for (std::size_t i = 0; i < goods.size(); ++i) {
      const std::string node =
          child_path(parent, "cartaporte20:Mercancia", goods.size() > 1 ? i + 1 : 0);
      const Element* detalle = goods[i]->child("cartaporte20:DetalleMercancia");
      const auto peso = detalle ? number(*detalle, "PesoNeto") : std::nullopt;
      if (peso) net = net + *peso;
      every_net = every_net && peso.has_value();
      check_hazard(*goods[i], node);
      if (has(*goods[i], "Moneda")) {
        check_catalog(failures_, "CP153", node, "Moneda", "c_Moneda", attr(*goods[i], "Moneda"),
                      day_);
      }
      check_entries(*goods[i], node);
    }
    const auto total = number(mercancias, "PesoNetoTotal");
    if (total && every_net && *total != net) {
      fail("CP148", parent, "PesoNetoTotal",
           "El PesoNetoTotal " + total->to_string() +
               " no es igual a la suma de PesoNeto de las mercancías = " + net.to_string() + ".");
    }
  }

  void check_hazard(const Element& good, const std::string& node) {
    const catalogs::Lookup product = catalogs::look_up("cartaporte20.c_ClaveProdServCP",
                                                       attr(good, "BienesTransp"), std::nullopt);
    if (product.row != nullptr && !has(good, "MaterialPeligroso") &&
        catalogs::catalog("cartaporte20.c_ClaveProdServCP")
                .field(*product.row, "material_peligroso") == "1") {
      fail("CP150", node, "MaterialPeligroso",
           "La clave " + quoted(attr(good, "BienesTransp")) +
               " es de material peligroso: debe registrarse MaterialPeligroso.");
    }
    if (attr(good, "MaterialPeligroso") != "Sí") return;
    for (const auto& [attribute, code, catalogue] :
         {std::array<const char*, 3>{"CveMaterialPeligroso", "CP151",
                                     "cartaporte20.c_MaterialPeligroso"},
          {"Embalaje", "CP152", "cartaporte20.c_TipoEmbalaje"}}) {
      if (!has(good, attribute)) {
        fail(code, node, attribute,
             "Con MaterialPeligroso \"Sí\" debe registrarse " + std::string(attribute) + ".");
      } else {
        check_catalog(failures_, code, node, attribute, catalogue, attr(good, attribute),
                      std::nullopt);
      }
    }
  }

  void check_entries(const Element& good, const std::string& node) {
    const auto entries = children(good, "cartaporte20:Pedimentos");
    if (entries.empty() && attr(carta_porte_, "TranspInternac") == "Sí" &&
        attr(carta_porte_, "EntradaSalidaMerc") == "Entrada") {
      fail("CP156", node, "",
           "Las mercancías que entran al país llevan el pedimento con que se importaron.");
    }
    for (std::size_t j = 0; j < entries.size(); ++j) {
      const std::string_view numero = attr(*entries[j], "Pedimento");
      if (const auto problem = pedimento_problem(numero, day_)) {
        fail("CP157", child_path(node, "cartaporte20:Pedimentos", entries.size() > 1 ? j + 1 : 0),
             "Pedimento", "El Pedimento " + quoted(numero) + " no es válido: " + *problem + ".");
      }
    }
  }

  const Element& carta_porte_;
  std::optional<int> day_;
  Failures& failures_;
  Transport transport_;
};

}  // namespace

Failures cartaporte20_rules(const Element& comprobante) {
  Failures failures;
  const Element* carta_porte = complement(comprobante, "cartaporte20:CartaPorte");
  if (carta_porte == nullptr) return failures;
  CartaPorte20Check(*carta_porte, document_facts(comprobante).day, failures).run();
  return failures;
}

}  // namespace drovanexis::rules
