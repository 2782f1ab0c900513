// Complemento Carta Porte 1.0 (cartaporte:) and 2.0 (cartaporte20:). All
// codes are this library's own:
//   CP901 a transfer (T) carries SubTotal 0 and Total 0
//   CP902 TotalDistRec = Σ DistanciaRecorrida of the locations
//   CP903 CantidadTransporta names an origin (IDOrigen) and a destination
//         (IDDestino) that the locations declare
#include <set>

#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);

void check_transfer_amounts(const Element& comprobante, Failures& failures) {
  if (attr(comprobante, "TipoDeComprobante") != "T") return;
  for (const std::string_view attribute : {"SubTotal", "Total"}) {
    const auto value = number(comprobante, attribute);
    if (!value || value->is_zero()) continue;
    add(failures, "CP901", kRoot, std::string(attribute),
        "Un comprobante de traslado con Carta Porte debe llevar " + std::string(attribute) +
            " 0 y lleva " + value->to_string() + ".");
  }
}

// The declared location identifiers, by kind ("Origen" / "Destino").
struct LocationIds {
  std::set<std::string, std::less<>> origins;
  std::set<std::string, std::less<>> destinations;
};

class CartaPorteCheck {
 public:
  CartaPorteCheck(const Element& carta_porte, std::string prefix, Failures& failures)
      : carta_porte_(carta_porte),
        prefix_(std::move(prefix)),
        failures_(failures),
        node_(child_path(child_path(kRoot, "cfdi:Complemento"), carta_porte.name())) {}

  void run() {
    const Element* ubicaciones = carta_porte_.child(name("Ubicaciones"));
    const auto locations =
        ubicaciones ? children(*ubicaciones, name("Ubicacion")) : std::vector<const Element*>{};
    check_distances(locations);
    check_quantities(collect_ids(locations));
  }

 private:
  std::string name(std::string_view local) const { return prefix_ + ":" + std::string(local); }

  void check_distances(const std::vector<const Element*>& locations) {
    const auto total = number(carta_porte_, "TotalDistRec");
    if (!total) return;
    Decimal sum;
    for (const Element* location : locations) {
      if (const auto distance = number(*location, "DistanciaRecorrida")) sum = sum + *distance;
    }
    if (*total != sum) {
      add(failures_, "CP902", node_, "TotalDistRec",
          "El TotalDistRec " + total->to_string() +
              " no es igual a la suma de DistanciaRecorrida de las "
              "ubicaciones = " +
              sum.to_string() + ".");
    }
  }

  // 2.0: TipoUbicacion + IDUbicacion on the location; 1.0: IDOrigen on
  // Origen, IDDestino on Destino.
  LocationIds collect_ids(const std::vector<const Element*>& locations) const {
    LocationIds ids;
    for (const Element* location : locations) {
      if (has(*location, "IDUbicacion")) {
        auto& target =
            attr(*location, "TipoUbicacion") == "Origen" ? ids.origins : ids.destinations;
        target.insert(std::string(attr(*location, "IDUbicacion")));
      }
      if (const Element* origen = location->child(name("Origen"));
          origen && has(*origen, "IDOrigen")) {
        ids.origins.insert(std::string(attr(*origen, "IDOrigen")));
      }
      if (const Element* destino = location->child(name("Destino"));
          destino && has(*destino, "IDDestino")) {
        ids.destinations.insert(std::string(attr(*destino, "IDDestino")));
      }
    }
    return ids;
  }

  void check_quantities(const LocationIds& ids) {
    const Element* mercancias = carta_porte_.child(name("Mercancias"));
    const auto goods =
        mercancias ? children(*mercancias, name("Mercancia")) : std::vector<const Element*>{};
    const std::string goods_parent = child_path(node_, name("Mercancias"));
    for (std::size_t i = 0; i < goods.size(); ++i) {
      const std::string goods_node =
          child_path(goods_parent, name("Mercancia"), goods.size() > 1 ? i + 1 : 0);
      const auto quantities = children(*goods[i], name("CantidadTransporta"));
      for (std::size_t j = 0; j < quantities.size(); ++j) {
        const std::string node =
            child_path(goods_node, name("CantidadTransporta"), quantities.size() > 1 ? j + 1 : 0);
        check_reference(*quantities[j], node, "IDOrigen", ids.origins, "origen");
        check_reference(*quantities[j], node, "IDDestino", ids.destinations, "destino");
      }
    }
  }

  void check_reference(const Element& quantity, const std::string& node, std::string_view attribute,
                       const std::set<std::string, std::less<>>& declared, std::string_view kind) {
    if (!has(quantity, attribute) || declared.contains(attr(quantity, attribute))) return;
    add(failures_, "CP903", node, std::string(attribute),
        "El " + std::string(attribute) + " " + quoted(attr(quantity, attribute)) +
            " no corresponde a ninguna ubicación de " + std::string(kind) + " declarada.");
  }

  const Element& carta_porte_;
  std::string prefix_;
  Failures& failures_;
  std::string node_;
};

}  // namespace

Failures cartaporte_rules(const Element& comprobante) {
  Failures failures;
  for (const std::string_view prefix : {"cartaporte", "cartaporte20"}) {
    const Element* carta_porte = complement(comprobante, std::string(prefix) + ":CartaPorte");
    if (carta_porte == nullptr) continue;
    check_transfer_amounts(comprobante, failures);
    CartaPorteCheck(*carta_porte, std::string(prefix), failures).run();
  }
  return failures;
}

}  // namespace drovanexis::rules
