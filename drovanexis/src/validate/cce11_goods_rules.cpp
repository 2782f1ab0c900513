// Complemento de comercio exterior 1.1: its goods (cce11:Mercancias) against
// the CFDI's Conceptos, tied by NoIdentificacion. The SAT's codes:
//   CCE162 TotalUSD = Σ Mercancia ValorDolares
//   CCE197 every Concepto has NoIdentificacion
//   CCE198 every Concepto NoIdentificacion has a Mercancia
//   CCE199 every Mercancia has a Concepto with its NoIdentificacion
//   CCE200 no two Mercancia share NoIdentificacion and FraccionArancelaria
// A Concepto whose goods do not carry the customs quantities (CantidadAduana)
// is itself the customs declaration of its goods:
//   CCE201 its Cantidad is at least 0.001, with at most 3 decimals
//   CCE202 its Unidad is a key of c_UnidadAduana
//   CCE203 its ValorUnitario is at least 0.0001, with at most 4 decimals (the
//          thresholds most public validators apply)
//   CCE204 its Importe lies within the bounds of Cantidad × ValorUnitario at
//          the currency's decimals
//   CCE205 for each NoIdentificacion whose goods carry the customs quantities:
//          Σ ValorDolares (the values 0 and 1 left out) lies within Σ Importe of
//          its Conceptos converted to dollars (Importe × TipoCambio ÷
//          TipoCambioUSD, each factor moved by half a unit of its last written
//          decimal). Goods without them are judged one by one (CCE217)
//   CCE206 FraccionArancelaria present when the unit is not 99
//   CCE207 FraccionArancelaria absent when the unit is 99
//   CCE208 FraccionArancelaria in c_FraccionArancelaria on the document's day
//   CCE209 UnidadAduana equals the fracción's unit
//   CCE210 without the customs quantities, the Concepto's Unidad equals the
//          fracción's unit
//   CCE212 Σ Descuento of the Conceptos of a NoIdentificacion, converted to
//          dollars, covers Σ ValorDolares of its goods with the discount
//          fracción (98010001; 9801000100 since the 2022 tariff)
//   CCE213 CantidadAduana, UnidadAduana and ValorUnitarioAduana all or none,
//          and all when a NoIdentificacion repeats among the Conceptos or
//          among the goods
//   CCE214 if one Mercancia has them, every Mercancia does
//   CCE215 ValorUnitarioAduana > 0 when UnidadAduana is not 99
//   CCE216 with the customs quantities, ValorDolares lies within the bounds
//          of CantidadAduana × ValorUnitarioAduana at 2 decimals, or is 1
//   CCE217 without them, ValorDolares is the Concepto's Importe converted to
//          dollars (bounds as in CCE205), 0 when the unit is 99, or 1
// The value 1 is the one the filling guide allows for goods that carry no
// commercial value of their own.
#include <map>
#include <set>

#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);
const std::string kMercanciasNode =
    child_path(child_path(child_path(kRoot, "cfdi:Complemento"), "cce11:ComercioExterior"),
               "cce11:Mercancias");
constexpr std::string_view kNoUnit = "99";

bool is_discount(std::string_view fraccion) {
  return fraccion == "98010001" || fraccion == "9801000100";
}

bool positive(const Decimal& value) { return !value.is_zero() && !value.is_negative(); }

// The quotient rounded up at `decimals` places (divisor > 0).
Decimal divide_ceil(const Decimal& dividend, const Decimal& divisor, int decimals) {
  return Decimal{} - (Decimal{} - dividend).divide_floor(divisor, decimals);
}

// Converts an amount of the document's currency to dollars: × TipoCambio ÷
// TipoCambioUSD, each factor moved by half a unit of its last written decimal.
struct DollarConversion {
  Decimal tipo_cambio;
  Decimal tipo_cambio_usd;
  bool pesos = false;  // MXN: the rate is exactly 1, whatever is written

  // The dollars `low` … `high` (the amount's own rounding already applied) can give.
  Bounds convert(const Decimal& low, const Decimal& high) const {
    const Decimal half_rate = pesos ? Decimal{} : Decimal::half_unit(tipo_cambio.decimals());
    const Decimal half_usd = Decimal::half_unit(tipo_cambio_usd.decimals());
    return {(low * (tipo_cambio - half_rate)).divide_floor(tipo_cambio_usd + half_usd, 2),
            divide_ceil(high * (tipo_cambio + half_rate), tipo_cambio_usd - half_usd, 2)};
  }
};

// The conversion the document states, or nullopt when it states none that
// can be used (no TipoCambioUSD, an unknown currency).
std::optional<DollarConversion> conversion_of(const Element& comprobante, const Element& cce) {
  const auto usd = number(cce, "TipoCambioUSD");
  const std::string_view moneda = attr(comprobante, "Moneda");
  if (!usd || !positive(*usd - Decimal::half_unit(usd->decimals()))) return std::nullopt;
  if (moneda == "MXN") return DollarConversion{Decimal::from_int(1), *usd, true};
  const auto rate = number(comprobante, "TipoCambio");
  if (!rate || !positive(*rate)) return std::nullopt;
  return DollarConversion{*rate, *usd, false};
}

struct Line {
  const Element* element;
  std::string node;
};

struct Good {
  const Element* element;
  std::string node;
  bool customs;  // carries CantidadAduana, UnidadAduana and ValorUnitarioAduana
};

class GoodsCheck {
 public:
  GoodsCheck(const Element& comprobante, const Element& cce, std::optional<int> day,
             Failures& failures)
      : comprobante_(comprobante),
        cce_(cce),
        day_(day),
        currency_decimals_(catalogs::moneda_decimals(attr(comprobante, "Moneda"))),
        conversion_(conversion_of(comprobante, cce)),
        failures_(failures) {}

  void run(const Element& mercancias) {
    collect_lines();
    collect_goods(mercancias);
    check_pairing();
    check_customs_attributes();
    for (const Good& good : goods_) check_fraccion(good);
    for (const Line& line : lines_) check_declaring_line(line);
    for (const Good& good : goods_) check_dollar_value(good);
    check_sums_by_id();
    check_total();
  }

 private:
  void fail(std::string code, const std::string& node, std::string_view attribute,
            std::string explanation) {
    add(failures_, std::move(code), node, std::string(attribute), std::move(explanation));
  }

  static std::string id_of(const Element& element) {
    return std::string(attr(element, "NoIdentificacion"));
  }

  void collect_lines() {
    const Element* conceptos = comprobante_.child("cfdi:Conceptos");
    if (conceptos == nullptr) return;
    const auto items = children(*conceptos, "cfdi:Concepto");
    const std::string parent = child_path(kRoot, "cfdi:Conceptos");
    for (std::size_t i = 0; i < items.size(); ++i) {
      Line line{items[i], child_path(parent, "cfdi:Concepto", items.size() > 1 ? i + 1 : 0)};
      if (!has(*items[i], "NoIdentificacion")) {
        fail("CCE197", line.node, "NoIdentificacion",
             "Con comercio exterior cada concepto lleva NoIdentificacion.");
        continue;
      }
      lines_.push_back(std::move(line));
    }
    for (std::size_t i = 0; i < lines_.size(); ++i)
      lines_by_id_[id_of(*lines_[i].element)].push_back(i);
  }

  void collect_goods(const Element& mercancias) {
    const auto items = children(mercancias, "cce11:Mercancia");
    for (std::size_t i = 0; i < items.size(); ++i) {
      const Element& good = *items[i];
      const int customs = int(has(good, "CantidadAduana")) + int(has(good, "UnidadAduana")) +
                          int(has(good, "ValorUnitarioAduana"));
      Good entry{&good,
                 child_path(kMercanciasNode, "cce11:Mercancia", items.size() > 1 ? i + 1 : 0),
                 customs == 3};
      if (customs != 0 && customs != 3) {
        fail("CCE213", entry.node, "",
             "CantidadAduana, UnidadAduana y ValorUnitarioAduana se registran juntos o ninguno.");
      }
      goods_by_id_[id_of(good)].push_back(goods_.size());
      goods_.push_back(std::move(entry));
    }
  }

  bool id_uses_customs(const std::string& id) const {
    const auto found = goods_by_id_.find(id);
    if (found == goods_by_id_.end()) return false;
    for (const std::size_t g : found->second) {
      if (has(*goods_[g].element, "CantidadAduana")) return true;
    }
    return false;
  }

  std::size_t lines_with(const std::string& id) const {
    const auto found = lines_by_id_.find(id);
    return found == lines_by_id_.end() ? 0 : found->second.size();
  }

  void check_pairing() {
    std::set<std::pair<std::string, std::string>> pairs;
    for (const Good& good : goods_) {
      const std::string id = id_of(*good.element);
      const std::string fraccion(attr(*good.element, "FraccionArancelaria"));
      if (lines_with(id) == 0) {
        fail("CCE199", good.node, "NoIdentificacion",
             "Ningún concepto lleva el NoIdentificacion " + quoted(id) + " de la mercancía.");
      }
      if (!pairs.insert({id, fraccion}).second) {
        fail("CCE200", good.node, "NoIdentificacion",
             "Hay más de una mercancía con NoIdentificacion " + quoted(id) +
                 " y FraccionArancelaria " + quoted(fraccion) + ".");
      }
    }
    for (const auto& [id, indices] : lines_by_id_) {
      if (!goods_by_id_.contains(id)) {
        fail("CCE198", kMercanciasNode, "",
             "El NoIdentificacion " + quoted(id) + " de un concepto no tiene mercancía.");
      }
    }
  }

  void check_customs_attributes() {
    bool any = false, all = true;
    for (const Good& good : goods_) {
      any = any || good.customs;
      all = all && good.customs;
      const std::string id = id_of(*good.element);
      const bool partial = has(*good.element, "CantidadAduana") ||
                           has(*good.element, "UnidadAduana") ||
                           has(*good.element, "ValorUnitarioAduana");
      // One Concepto for several goods, or several for one, cannot be split
      // without the customs quantities of each good.
      if (!partial && (lines_with(id) > 1 || goods_by_id_.at(id).size() > 1)) {
        fail("CCE213", good.node, "",
             "El NoIdentificacion " + quoted(id) +
                 " se repite en los conceptos o en las mercancías: la mercancía lleva "
                 "CantidadAduana, UnidadAduana y ValorUnitarioAduana.");
      }
      if (good.customs && attr(*good.element, "UnidadAduana") != kNoUnit) {
        const auto value = number(*good.element, "ValorUnitarioAduana");
        if (value && !positive(*value)) {
          fail("CCE215", good.node, "ValorUnitarioAduana",
               "El ValorUnitarioAduana debe ser mayor que cero si la UnidadAduana no es 99.");
        }
      }
    }
    if (any && !all) {
      fail("CCE214", kMercanciasNode, "",
           "Si una mercancía lleva los datos aduaneros (CantidadAduana, UnidadAduana, "
           "ValorUnitarioAduana), todas los llevan.");
    }
  }

  // The unit a good is declared in: its UnidadAduana, or else the Unidad of
  // its Concepto.
  std::string_view unit_of(const Good& good) const {
    if (has(*good.element, "UnidadAduana")) return attr(*good.element, "UnidadAduana");
    const auto found = lines_by_id_.find(id_of(*good.element));
    if (found == lines_by_id_.end()) return {};
    return attr(*lines_[found->second.front()].element, "Unidad");
  }

  void check_fraccion(const Good& good) {
    const Element& element = *good.element;
    const std::string_view unit = unit_of(good);
    const bool present = has(element, "FraccionArancelaria");
    if (unit == kNoUnit) {
      if (present) {
        fail("CCE207", good.node, "FraccionArancelaria",
             "Con la unidad 99 no se registra FraccionArancelaria.");
      }
      return;
    }
    if (!present) {
      fail("CCE206", good.node, "FraccionArancelaria",
           "La mercancía lleva FraccionArancelaria cuando la unidad no es 99.");
      return;
    }
    const std::string_view fraccion = attr(element, "FraccionArancelaria");
    constexpr std::string_view kTariff = "comext11.c_FraccionArancelaria";
    if (!check_catalog(failures_, "CCE208", good.node, "FraccionArancelaria", kTariff, fraccion,
                       day_))
      return;
    const catalogs::Lookup found = catalogs::look_up(kTariff, fraccion, day_);
    const std::string_view umt = catalogs::catalog(kTariff).field(*found.row, "unidad");
    if (umt == "N/A" || umt.empty() || unit == umt) return;
    if (has(element, "UnidadAduana")) {
      fail("CCE209", good.node, "UnidadAduana",
           "La UnidadAduana " + quoted(unit) + " no es la unidad " + quoted(umt) +
               " de la fracción arancelaria " + quoted(fraccion) + ".");
    } else if (!unit.empty()) {
      fail("CCE210", lines_[lines_by_id_.at(id_of(element)).front()].node, "Unidad",
           "La Unidad " + quoted(unit) + " del concepto no es la unidad " + quoted(umt) +
               " de la fracción arancelaria " + quoted(fraccion) + ".");
    }
  }

  // A Concepto whose goods carry no customs quantities declares them itself.
  void check_declaring_line(const Line& line) {
    const std::string id = id_of(*line.element);
    if (!goods_by_id_.contains(id) || id_uses_customs(id)) return;
    const Element& concepto = *line.element;
    const auto cantidad = number(concepto, "Cantidad");
    if (cantidad && (*cantidad < Decimal(1, 3) || cantidad->decimals() > 3)) {
      fail("CCE201", line.node, "Cantidad",
           "Sin CantidadAduana, la Cantidad " + cantidad->to_string() +
               " del concepto debe ser al menos 0.001 y llevar a lo más 3 decimales.");
    }
    check_catalog(failures_, "CCE202", line.node, "Unidad", "comext11.c_UnidadAduana",
                  attr(concepto, "Unidad"), day_);
    const auto valor = number(concepto, "ValorUnitario");
    if (valor && (*valor < Decimal(1, 4) || valor->decimals() > 4)) {
      fail("CCE203", line.node, "ValorUnitario",
           "Sin CantidadAduana, el ValorUnitario " + valor->to_string() +
               " del concepto debe ser al menos 0.0001 y llevar a lo más 4 decimales.");
    }
    const auto importe = number(concepto, "Importe");
    if (!cantidad || !valor || !importe || !currency_decimals_) return;
    const Bounds bounds = importe_bounds(*cantidad, *valor, *currency_decimals_);
    if (!bounds.contains(*importe)) {
      fail("CCE204", line.node, "Importe",
           "Sin CantidadAduana, el Importe " + importe->to_string() +
               " del concepto debe estar entre " + bounds.lower.to_string() + " y " +
               bounds.upper.to_string() + " (Cantidad x ValorUnitario).");
    }
  }

  // Σ of the lines' `attribute` of a NoIdentificacion, each moved down and up
  // by half a unit of its last decimal; nullopt when a line lacks a number.
  std::optional<Bounds> line_sum(const std::string& id, std::string_view attribute) const {
    Bounds sum;
    const auto found = lines_by_id_.find(id);
    if (found == lines_by_id_.end()) return std::nullopt;
    for (const std::size_t l : found->second) {
      const Element& concepto = *lines_[l].element;
      if (!has(concepto, attribute)) continue;
      const auto value = number(concepto, attribute);
      if (!value) return std::nullopt;
      const Decimal half = Decimal::half_unit(value->decimals());
      sum.lower = sum.lower + *value - half;
      sum.upper = sum.upper + *value + half;
    }
    return sum;
  }

  static bool is_nominal(const Decimal& dollars) {
    return dollars.is_zero() || dollars == Decimal::from_int(1);
  }

  void check_dollar_value(const Good& good) {
    const auto dollars = number(*good.element, "ValorDolares");
    if (!dollars || *dollars == Decimal::from_int(1)) return;
    if (good.customs) {
      const auto cantidad = number(*good.element, "CantidadAduana");
      const auto valor = number(*good.element, "ValorUnitarioAduana");
      if (!cantidad || !valor) return;
      const Bounds bounds = importe_bounds(*cantidad, *valor, 2);
      if (bounds.contains(*dollars)) return;
      fail("CCE216", good.node, "ValorDolares",
           "El ValorDolares " + dollars->to_string() +
               " no corresponde a CantidadAduana x ValorUnitarioAduana; debe estar entre " +
               bounds.lower.to_string() + " y " + bounds.upper.to_string() + ", o ser 1.");
      return;
    }
    const std::string id = id_of(*good.element);
    if (unit_of(good) == kNoUnit) {
      if (!dollars->is_zero()) {
        fail("CCE217", good.node, "ValorDolares",
             "Con la unidad 99 el ValorDolares es 0 (o 1) y es " + dollars->to_string() + ".");
      }
      return;
    }
    // Several Conceptos for one good are CCE213's; one Concepto gives the value.
    if (lines_with(id) != 1 || !conversion_) return;
    const auto importe = line_sum(id, "Importe");
    if (!importe) return;
    const Bounds bounds = conversion_->convert(importe->lower, importe->upper);
    if (bounds.contains(*dollars)) return;
    fail("CCE217", good.node, "ValorDolares",
         "El ValorDolares " + dollars->to_string() +
             " no es el Importe del concepto convertido a dólares (Importe x TipoCambio / "
             "TipoCambioUSD); debe estar entre " +
             bounds.lower.to_string() + " y " + bounds.upper.to_string() + ", o ser 1.");
  }

  void check_sums_by_id() {
    if (!conversion_) return;
    for (const auto& [id, indices] : goods_by_id_) {
      if (lines_with(id) == 0) continue;
      Decimal valued, discounts;
      bool any_valued = false, any_discount = false;
      for (const std::size_t g : indices) {
        const auto dollars = number(*goods_[g].element, "ValorDolares");
        if (!dollars) continue;
        // Discount goods answer to the Conceptos' Descuento, not to their Importe.
        if (is_discount(attr(*goods_[g].element, "FraccionArancelaria"))) {
          discounts = discounts + *dollars;
          any_discount = true;
          continue;
        }
        if (is_nominal(*dollars)) continue;
        valued = valued + *dollars;
        any_valued = true;
      }
      if (any_valued && id_uses_customs(id)) check_value_sum(id, valued);
      if (any_discount) check_discount_sum(id, discounts);
    }
  }

  void check_value_sum(const std::string& id, const Decimal& valued) {
    const auto importe = line_sum(id, "Importe");
    if (!importe) return;
    const Bounds bounds = conversion_->convert(importe->lower, importe->upper);
    if (bounds.contains(valued)) return;
    fail("CCE205", kMercanciasNode, "ValorDolares",
         "La suma de ValorDolares " + valued.to_string() + " de las mercancías con " +
             "NoIdentificacion " + quoted(id) +
             " no corresponde a la suma de los Importe de sus conceptos convertida a dólares; "
             "debe estar entre " +
             bounds.lower.to_string() + " y " + bounds.upper.to_string() + ".");
  }

  void check_discount_sum(const std::string& id, const Decimal& discounts) {
    const auto descuento = line_sum(id, "Descuento");
    if (!descuento) return;
    const Decimal covered = conversion_->convert(descuento->lower, descuento->upper).upper;
    if (discounts <= covered) return;
    fail("CCE212", kMercanciasNode, "ValorDolares",
         "Las mercancías de descuento (fracción 98010001) con NoIdentificacion " + quoted(id) +
             " suman " + discounts.to_string() +
             " dólares y los Descuento de sus conceptos cubren a lo más " + covered.to_string() +
             ".");
  }

  void check_total() {
    Decimal dollars;
    for (const Good& good : goods_)
      dollars = dollars + number(*good.element, "ValorDolares").value_or(Decimal{});
    const auto total = number(cce_, "TotalUSD");
    if (total && *total != dollars && *total != dollars.round_to(2)) {
      fail("CCE162", child_path(child_path(kRoot, "cfdi:Complemento"), cce_.name()), "TotalUSD",
           "El TotalUSD " + total->to_string() +
               " no es igual a la suma de ValorDolares de las mercancías = " + dollars.to_string() +
               ".");
    }
  }

  const Element& comprobante_;
  const Element& cce_;
  std::optional<int> day_;
  std::optional<int> currency_decimals_;
  std::optional<DollarConversion> conversion_;
  Failures& failures_;
  std::vector<Line> lines_;
  std::vector<Good> goods_;
  std::map<std::string, std::vector<std::size_t>> lines_by_id_;
  std::map<std::string, std::vector<std::size_t>> goods_by_id_;
};

}  // namespace

Failures cce11_goods_rules(const Element& comprobante) {
  Failures failures;
  const Element* cce = complement(comprobante, "cce11:ComercioExterior");
  if (cce == nullptr) return failures;
  const Element* mercancias = cce->child("cce11:Mercancias");
  if (mercancias == nullptr) return failures;
  GoodsCheck(comprobante, *cce, document_facts(comprobante).day, failures).run(*mercancias);
  return failures;
}

}  // namespace drovanexis::rules
