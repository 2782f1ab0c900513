// Complemento Carta Porte 1.0 (cartaporte:) and 2.0 (cartaporte20:): the
// receipt that carries it, its locations, goods and operators.
// The SAT's codes are CP + (100 + the row of its error matrix). Of version
// 1.0 three rows are known (CP102, CP105, CP187); the 2.0 codes follow the
// rows' subjects, the rule taken from the standard (the most common reading
// of public validators where the row text is not known). The rows on the
// receipt are applied to both versions, as CP102 and CP105 are:
//   CP102 T: SubTotal 0                   CP105 T: Total 0
//   CP103 T: Moneda XXX                   CP104 I: a real currency, not XXX
//   CP106 T (2.0, without Comercio Exterior): the receiver is the issuer
//   CP110 T: no taxes on the Conceptos
//   CP111 T: UsoCFDI P01
//   CP112 one Carta Porte node at most
//   CP113 it is a child of cfdi:Complemento, not of a ComplementoConcepto
//   CP114 it travels only with the stamp, Comercio Exterior, Impuestos
//         Locales and Leyendas Fiscales
//   CP116/117 EntradaSalidaMerc present exactly with TranspInternac "Sí" (2.0)
//   CP118/119 PaisOrigenDestino present exactly with TranspInternac "Sí", in c_Pais (2.0)
//   CP120/121 ViaEntradaSalida present exactly with TranspInternac "Sí", in
//             c_CveTransporte (2.0)
//   CP122 TotalDistRec present with road transport (2.0)
//   CP123 TotalDistRec = Σ DistanciaRecorrida of the locations
//   CP124 at least one origin          CP126 at least one destination
//   CP127 IDUbicacion is OR or DE + 6 digits by its kind, and unique (2.0)
//   CP137 a destination carries DistanciaRecorrida with road transport (2.0)
//   CP144 Mercancias has at least one Mercancia
//   CP146 PesoBrutoTotal = Σ Mercancia PesoEnKg
//   CP149 NumTotalMercancias = the number of Mercancia nodes
//   CP154 ValorMercancia requires Moneda (2.0)
//   CP155 FraccionArancelaria present with TranspInternac "Sí", in
//         c_FraccionArancelaria (2.0)
//   CP187 CantidadTransporta only with several origins or destinations (1.0)
// The other 2.0 rows (stations and means of transport, the parties and
// addresses of the locations, hazardous goods, net weight, customs entries:
// CP129–CP157) are cartaporte20_rules.cpp's.
// This library's codes for rules of the standard whose code is not known:
//   SBX-CP01 CantidadTransporta names an origin (IDOrigen) and a destination
//            (IDDestino) that the locations declare
//   SBX-CP02 Σ CantidadTransporta Cantidad of a Mercancia = its Cantidad
//   SBX-CP03 an operator (1.0 Operador; 2.0 TiposFigura 01) carries NumLicencia,
//            and with road transport there is one
//   SBX-CP04 CantidadTransporta only with several origins or destinations (2.0)
// Not raised here: CP101 (a CFDI version that accepts the complement) is the
// schema stage's 301, which refuses any Version other than 3.3 before the
// rules run; CP107, the foreign-trade exception to CP106, is judged by the
// Comercio Exterior group (CCE150; CCE151 needs l_RFC). Not checked, for want
// of the facts: CP108 and CP109 (a transport-service key for I, the goods'
// keys for T) need the columns of c_ClaveProdServ, which is not in the
// library's data; the RFCs against the list of registered RFCs (l_RFC).
#include <array>
#include <regex>
#include <set>

#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);

// The complements that may travel with Carta Porte: the stamp, Comercio
// Exterior (whose UUID the 2.0 complement names), Impuestos Locales and
// Leyendas Fiscales.
constexpr std::array<std::string_view, 6> kCompanions = {
    "cartaporte:CartaPorte",  "cartaporte20:CartaPorte",   "tfd:TimbreFiscalDigital",
    "cce11:ComercioExterior", "implocal:ImpuestosLocales", "leyendasFisc:LeyendasFiscales"};

void check_placement(const Element& comprobante, Failures& failures) {
  const std::string complemento = child_path(kRoot, "cfdi:Complemento");
  std::size_t count = 0;
  for (const char* name : {"cartaporte:CartaPorte", "cartaporte20:CartaPorte"}) {
    for (const std::string& node : misplaced_in_conceptos(comprobante, name)) {
      add(failures, "CP113", node, "",
          "El complemento Carta Porte va en cfdi:Complemento, no en ComplementoConcepto.");
    }
    if (const Element* parent = comprobante.child("cfdi:Complemento"))
      count += children(*parent, name).size();
  }
  if (count > 1) {
    add(failures, "CP112", complemento, "",
        "El comprobante lleva " + std::to_string(count) +
            " complementos Carta Porte; se admite uno.");
  }
  if (count == 0) return;
  for (const Element* other : complements_besides(comprobante, kCompanions)) {
    add(failures, "CP114", child_path(complemento, other->name()), "",
        "El complemento " + other->name() +
            " no puede acompañar a Carta Porte; lo acompañan solo el timbre, comercio exterior, "
            "impuestos locales y leyendas fiscales.");
  }
}

void check_receipt(const Element& comprobante, bool version2, Failures& failures) {
  const std::string_view tipo = attr(comprobante, "TipoDeComprobante");
  const std::string_view moneda = attr(comprobante, "Moneda");
  if (tipo == "I" && moneda == "XXX") {
    add(failures, "CP104", kRoot, "Moneda",
        "Un ingreso con Carta Porte cobra el servicio de transporte en una moneda; no lleva "
        "Moneda XXX.");
  }
  if (tipo != "T") return;
  if (has(comprobante, "Moneda") && moneda != "XXX") {
    add(failures, "CP103", kRoot, "Moneda",
        "Un traslado con Carta Porte lleva Moneda XXX y lleva " + quoted(moneda) + ".");
  }
  const Element* conceptos = comprobante.child("cfdi:Conceptos");
  const auto lines =
      conceptos ? children(*conceptos, "cfdi:Concepto") : std::vector<const Element*>{};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i]->child("cfdi:Impuestos") == nullptr) continue;
    add(failures, "CP110",
        child_path(child_path(kRoot, "cfdi:Conceptos"), "cfdi:Concepto",
                   lines.size() > 1 ? i + 1 : 0),
        "", "Un traslado con Carta Porte no lleva impuestos en sus conceptos.");
  }
  // Goods moved by their owner: the receipt is issued to the issuer itself,
  // unless they leave or enter the country (Comercio Exterior's rules).
  const Element* emisor = comprobante.child("cfdi:Emisor");
  const Element* receptor = comprobante.child("cfdi:Receptor");
  if (version2 && emisor && receptor &&
      complement(comprobante, "cce11:ComercioExterior") == nullptr &&
      attr(*receptor, "Rfc") != attr(*emisor, "Rfc")) {
    add(failures, "CP106", child_path(kRoot, "cfdi:Receptor"), "Rfc",
        "En un traslado con Carta Porte el receptor es el propio emisor (RFC " +
            quoted(attr(*emisor, "Rfc")) + ") y es " + quoted(attr(*receptor, "Rfc")) + ".");
  }
  for (const auto& [attribute, code] :
       {std::pair<const char*, const char*>{"SubTotal", "CP102"}, {"Total", "CP105"}}) {
    const auto value = number(comprobante, attribute);
    if (!value || value->is_zero()) continue;
    add(failures, code, kRoot, attribute,
        "Un comprobante de traslado con Carta Porte debe llevar " + std::string(attribute) +
            " 0 y lleva " + value->to_string() + ".");
  }
  if (receptor && has(*receptor, "UsoCFDI") && attr(*receptor, "UsoCFDI") != "P01") {
    add(failures, "CP111", child_path(kRoot, "cfdi:Receptor"), "UsoCFDI",
        "Un comprobante de traslado con Carta Porte lleva UsoCFDI P01 y lleva " +
            quoted(attr(*receptor, "UsoCFDI")) + ".");
  }
}

class CartaPorteCheck {
 public:
  CartaPorteCheck(const Element& carta_porte, std::string prefix, std::optional<int> day,
                  Failures& failures)
      : carta_porte_(carta_porte),
        prefix_(std::move(prefix)),
        version2_(prefix_ == "cartaporte20"),
        day_(day),
        failures_(failures),
        node_(child_path(child_path(kRoot, "cfdi:Complemento"), carta_porte.name())) {}

  void run() {
    const Element* mercancias = carta_porte_.child(name("Mercancias"));
    road_ = mercancias && (mercancias->child(name("Autotransporte")) ||
                           mercancias->child(name("AutotransporteFederal")));
    international_ = attr(carta_porte_, "TranspInternac") == "Sí";
    if (version2_) check_international();
    check_locations();
    check_goods(mercancias);
    check_operators();
  }

 private:
  std::string name(std::string_view local) const { return prefix_ + ":" + std::string(local); }
  void fail(std::string code, const std::string& node, std::string_view attribute,
            std::string explanation) {
    add(failures_, std::move(code), node, std::string(attribute), std::move(explanation));
  }

  void present_exactly_when_international(std::string_view attribute, const char* missing,
                                          const char* extra) {
    if (international_ && !has(carta_porte_, attribute)) {
      fail(missing, node_, attribute,
           "Con TranspInternac \"Sí\" debe registrarse " + std::string(attribute) + ".");
    } else if (!international_ && has(carta_porte_, attribute)) {
      fail(extra, node_, attribute,
           "Sin transporte internacional no se registra " + std::string(attribute) + ".");
    }
  }

  void check_international() {
    present_exactly_when_international("EntradaSalidaMerc", "CP116", "CP117");
    present_exactly_when_international("PaisOrigenDestino", "CP118", "CP118");
    present_exactly_when_international("ViaEntradaSalida", "CP120", "CP120");
    if (has(carta_porte_, "PaisOrigenDestino")) {
      check_catalog(failures_, "CP119", node_, "PaisOrigenDestino", "c_Pais",
                    attr(carta_porte_, "PaisOrigenDestino"), std::nullopt);
    }
    if (has(carta_porte_, "ViaEntradaSalida")) {
      check_catalog(failures_, "CP121", node_, "ViaEntradaSalida", "cartaporte20.c_CveTransporte",
                    attr(carta_porte_, "ViaEntradaSalida"), day_);
    }
  }

  void check_locations() {
    const Element* ubicaciones = carta_porte_.child(name("Ubicaciones"));
    const auto locations =
        ubicaciones ? children(*ubicaciones, name("Ubicacion")) : std::vector<const Element*>{};
    const std::string parent = child_path(node_, name("Ubicaciones"));
    Decimal distance;
    std::set<std::string, std::less<>> ids;
    static const std::regex kOrigin("OR[0-9]{6}");
    static const std::regex kDestination("DE[0-9]{6}");
    for (std::size_t i = 0; i < locations.size(); ++i) {
      const Element& location = *locations[i];
      const std::string node =
          child_path(parent, name("Ubicacion"), locations.size() > 1 ? i + 1 : 0);
      // 2.0: TipoUbicacion + IDUbicacion; 1.0: an Origen or Destino child with its id.
      const Element* origen = location.child(name("Origen"));
      const Element* destino = location.child(name("Destino"));
      const bool is_origin = attr(location, "TipoUbicacion") == "Origen" || origen != nullptr;
      const bool is_destination = attr(location, "TipoUbicacion") == "Destino" || destino;
      if (is_origin) {
        ++origins_;
        if (origen && has(*origen, "IDOrigen"))
          origin_ids_.insert(std::string(attr(*origen, "IDOrigen")));
      }
      if (is_destination) {
        ++destinations_;
        if (destino && has(*destino, "IDDestino"))
          destination_ids_.insert(std::string(attr(*destino, "IDDestino")));
      }
      if (has(location, "IDUbicacion")) {
        const std::string id(attr(location, "IDUbicacion"));
        (is_origin ? origin_ids_ : destination_ids_).insert(id);
        const bool shaped = std::regex_match(id, is_origin ? kOrigin : kDestination);
        if (!shaped || !ids.insert(id).second) {
          fail("CP127", node, "IDUbicacion",
               "El IDUbicacion " + quoted(id) +
                   (shaped ? " está repetido"
                           : " no tiene la forma " + std::string(is_origin ? "OR" : "DE") +
                                 " y 6 dígitos") +
                   ".");
        }
      }
      if (const auto d = number(location, "DistanciaRecorrida")) distance = distance + *d;
      if (version2_ && road_ && is_destination && !has(location, "DistanciaRecorrida")) {
        fail("CP137", node, "DistanciaRecorrida",
             "Con autotransporte cada destino debe llevar DistanciaRecorrida.");
      }
    }
    if (origins_ == 0) fail("CP124", parent, "", "La Carta Porte debe tener al menos un origen.");
    if (destinations_ == 0)
      fail("CP126", parent, "", "La Carta Porte debe tener al menos un destino.");
    if (version2_ && road_ && !has(carta_porte_, "TotalDistRec")) {
      fail("CP122", node_, "TotalDistRec", "Con autotransporte debe registrarse TotalDistRec.");
    }
    const auto total = number(carta_porte_, "TotalDistRec");
    if (total && *total != distance) {
      fail("CP123", node_, "TotalDistRec",
           "El TotalDistRec " + total->to_string() +
               " no es igual a la suma de DistanciaRecorrida de las ubicaciones = " +
               distance.to_string() + ".");
    }
  }

  void check_goods(const Element* mercancias) {
    const std::string parent = child_path(node_, name("Mercancias"));
    const auto goods =
        mercancias ? children(*mercancias, name("Mercancia")) : std::vector<const Element*>{};
    if (goods.empty()) {
      fail("CP144", parent, "", "La Carta Porte debe tener al menos una Mercancia.");
      return;
    }
    Decimal weight;
    for (std::size_t i = 0; i < goods.size(); ++i) {
      const Element& good = *goods[i];
      const std::string node = child_path(parent, name("Mercancia"), goods.size() > 1 ? i + 1 : 0);
      weight = weight + number(good, "PesoEnKg").value_or(Decimal{});
      if (version2_ && has(good, "ValorMercancia") && !has(good, "Moneda")) {
        fail("CP154", node, "Moneda", "Con ValorMercancia debe registrarse la Moneda.");
      }
      if (version2_ && international_ && !has(good, "FraccionArancelaria")) {
        fail("CP155", node, "FraccionArancelaria",
             "En transporte internacional cada mercancía lleva FraccionArancelaria.");
      } else if (version2_ && has(good, "FraccionArancelaria")) {
        check_catalog(failures_, "CP155", node, "FraccionArancelaria",
                      "comext11.c_FraccionArancelaria", attr(good, "FraccionArancelaria"), day_);
      }
      check_quantities(good, node);
    }
    const auto total = number(*mercancias, "PesoBrutoTotal");
    if (total && *total != weight) {
      fail("CP146", parent, "PesoBrutoTotal",
           "El PesoBrutoTotal " + total->to_string() +
               " no es igual a la suma de PesoEnKg de las mercancías = " + weight.to_string() +
               ".");
    }
    const auto count = number(*mercancias, "NumTotalMercancias");
    if (count && *count != Decimal::from_int(static_cast<long long>(goods.size()))) {
      fail("CP149", parent, "NumTotalMercancias",
           "El NumTotalMercancias " + count->to_string() +
               " no es igual al número de nodos "
               "Mercancia, " +
               std::to_string(goods.size()) + ".");
    }
  }

  void check_quantities(const Element& good, const std::string& node) {
    const auto quantities = children(good, name("CantidadTransporta"));
    if (quantities.empty()) return;
    if (origins_ < 2 && destinations_ < 2) {
      fail(version2_ ? "SBX-CP04" : "CP187", child_path(node, name("CantidadTransporta")), "",
           "CantidadTransporta se registra solo con varios orígenes o varios destinos.");
    }
    Decimal carried;
    for (std::size_t j = 0; j < quantities.size(); ++j) {
      const std::string q_node =
          child_path(node, name("CantidadTransporta"), quantities.size() > 1 ? j + 1 : 0);
      carried = carried + number(*quantities[j], "Cantidad").value_or(Decimal{});
      reference(*quantities[j], q_node, "IDOrigen", origin_ids_, "origen");
      reference(*quantities[j], q_node, "IDDestino", destination_ids_, "destino");
    }
    const auto cantidad = number(good, "Cantidad");
    if (cantidad && *cantidad != carried) {
      fail("SBX-CP02", node, "Cantidad",
           "La Cantidad " + cantidad->to_string() +
               " de la mercancía no es igual a la suma de sus CantidadTransporta = " +
               carried.to_string() + ".");
    }
  }

  void reference(const Element& quantity, const std::string& node, std::string_view attribute,
                 const std::set<std::string, std::less<>>& declared, std::string_view kind) {
    if (!has(quantity, attribute) || declared.contains(attr(quantity, attribute))) return;
    fail("SBX-CP01", node, attribute,
         "El " + std::string(attribute) + " " + quoted(attr(quantity, attribute)) +
             " no corresponde a ninguna ubicación de " + std::string(kind) + " declarada.");
  }

  void check_operators() {
    const Element* figura = carta_porte_.child(name("FiguraTransporte"));
    const std::string node = child_path(node_, name("FiguraTransporte"));
    std::vector<const Element*> operators;
    if (figura == nullptr) {
      // Without the node there is no operator; the schema decides whether it is required.
    } else if (version2_) {
      for (const Element* f : children(*figura, name("TiposFigura")))
        if (attr(*f, "TipoFigura") == "01") operators.push_back(f);
    } else if (const Element* operadores = figura->child(name("Operadores"))) {
      operators = children(*operadores, name("Operador"));
    }
    for (std::size_t i = 0; i < operators.size(); ++i) {
      if (has(*operators[i], "NumLicencia")) continue;
      fail("SBX-CP03",
           child_path(version2_ ? node : child_path(node, name("Operadores")), operators[i]->name(),
                      operators.size() > 1 ? i + 1 : 0),
           "NumLicencia", "El operador del transporte debe llevar NumLicencia.");
    }
    if (road_ && figura != nullptr && operators.empty()) {
      fail("SBX-CP03", node, "",
           "Con autotransporte debe registrarse al menos un operador con su NumLicencia.");
    }
  }

  const Element& carta_porte_;
  std::string prefix_;
  bool version2_;
  std::optional<int> day_;
  Failures& failures_;
  std::string node_;
  bool road_ = false;
  bool international_ = false;
  int origins_ = 0;
  int destinations_ = 0;
  std::set<std::string, std::less<>> origin_ids_;
  std::set<std::string, std::less<>> destination_ids_;
};

}  // namespace

Failures cartaporte_rules(const Element& comprobante) {
  Failures failures;
  check_placement(comprobante, failures);
  const std::optional<int> day = document_facts(comprobante).day;
  bool receipt_checked = false;
  for (const std::string_view prefix : {"cartaporte", "cartaporte20"}) {
    const Element* carta_porte = complement(comprobante, std::string(prefix) + ":CartaPorte");
    if (carta_porte == nullptr) continue;
    if (!receipt_checked) check_receipt(comprobante, prefix == "cartaporte20", failures);
    receipt_checked = true;
    CartaPorteCheck(*carta_porte, std::string(prefix), day, failures).run();
  }
  return failures;
}

}  // namespace drovanexis::rules
