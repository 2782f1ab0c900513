// Complemento de comercio exterior 1.1 (cce11:ComercioExterior) on a CFDI
// 3.3, the SAT's codes:
// The document:
//   CCE145 TipoDeComprobante is I, E or T
//   CCE146 T: MotivoTraslado present
//   CCE147 T with MotivoTraslado 05: Propietario present
//   CCE148 Propietario only with T and MotivoTraslado 05
//   CCE149 Emisor Nombre present
//   CCE150 Receptor Rfc XEXX010101000, except T with MotivoTraslado 02
//   CCE152 Receptor Nombre present
// The complement:
//   CCE153 at most one ComercioExterior node
//   CCE157 MotivoTraslado 01: a CfdiRelacionado with TipoRelacion 05
//   CCE158 TipoOperacion A: none of the export attributes nor Mercancias
//   CCE159 TipoOperacion 1 or 2: ClaveDePedimento, CertificadoOrigen, Incoterm,
//          Subdivision, TipoCambioUSD, TotalUSD and Mercancias present
//   CCE160 CertificadoOrigen 0: no NumCertificadoOrigen
//   CCE162 TotalUSD = Σ Mercancia ValorDolares
//   CCE163 TotalUSD has 2 decimals
//   CCE164/165 Emisor Curp absent for a company, present for a person
//   CCE167 Emisor Domicilio present        CCE168 its Pais is MEX
//   CCE169 its Estado in c_Estado          CCE170 its Municipio in c_Municipio
//   CCE171 its Localidad in c_Localidad
//   CCE176 no Receptor NumRegIdTrib (it belongs on cfdi:Receptor)
//   CCE181 Receptor Domicilio present
//   CCE183/184/185 Receptor Localidad, Municipio, Estado in their catalogues
//   CCE186 Receptor CodigoPostal matches its country's pattern (not MEX)
//   CCE188 T: at most one Destinatario
//   CCE197 every Concepto has NoIdentificacion
//   CCE198 every Concepto NoIdentificacion has a Mercancia
//   CCE199 every Mercancia has a Concepto with its NoIdentificacion
//   CCE200 no two Mercancia share NoIdentificacion and FraccionArancelaria
//   CCE206 FraccionArancelaria present when the unit is not 99
//   CCE207 FraccionArancelaria absent when the unit is 99
//   CCE208 FraccionArancelaria in c_FraccionArancelaria on the document's day
//   CCE209 UnidadAduana equals the fracción's unit
//   CCE213 CantidadAduana, UnidadAduana and ValorUnitarioAduana all or none
//   CCE214 if one Mercancia has them, every Mercancia does
//   CCE215 ValorUnitarioAduana > 0 when UnidadAduana is not 99
// Not checked here: CCE151 needs l_RFC; CCE172, CCE173, CCE182, CCE187 and
// their Destinatario forms need c_Colonia and c_CodigoPostal (not in the
// data); CCE174, CCE178, CCE189 need the foreign registries; CCE205, CCE211,
// CCE212, CCE216 and CCE217 (conversions between currencies) are left to a
// later version of this group.
#include <map>
#include <regex>
#include <set>

#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);
const std::string kComplementoNode = child_path(kRoot, "cfdi:Complemento");
constexpr std::string_view kForeignRfc = "XEXX010101000";

class CceCheck {
 public:
  CceCheck(const Element& comprobante, const Element& cce, std::optional<int> day,
           Failures& failures)
      : comprobante_(comprobante),
        cce_(cce),
        day_(day),
        failures_(failures),
        node_(child_path(kComplementoNode, cce.name())) {}

  void run() {
    check_document();
    check_operation();
    check_emisor();
    check_receptor();
    check_goods();
  }

 private:
  void fail(std::string code, const std::string& node, std::string_view attribute,
            std::string explanation) {
    add(failures_, std::move(code), node, std::string(attribute), std::move(explanation));
  }

  void check_document() {
    const std::string_view tipo = attr(comprobante_, "TipoDeComprobante");
    const std::string_view motivo = attr(cce_, "MotivoTraslado");
    if (tipo != "I" && tipo != "E" && tipo != "T") {
      fail("CCE145", kRoot, "TipoDeComprobante",
           "Con comercio exterior el TipoDeComprobante es I, E o T y es " + quoted(tipo) + ".");
    }
    if (tipo == "T" && !has(cce_, "MotivoTraslado")) {
      fail("CCE146", node_, "MotivoTraslado",
           "Un traslado con comercio exterior lleva MotivoTraslado.");
    }
    const bool owner = cce_.child("cce11:Propietario") != nullptr;
    if (tipo == "T" && motivo == "05" && !owner) {
      fail("CCE147", node_, "", "Con MotivoTraslado 05 debe registrarse el Propietario.");
    } else if (owner && !(tipo == "T" && motivo == "05")) {
      fail("CCE148", child_path(node_, "cce11:Propietario"), "",
           "El Propietario se registra solo en un traslado con MotivoTraslado 05.");
    }
    const Element* emisor = comprobante_.child("cfdi:Emisor");
    if (emisor && !has(*emisor, "Nombre")) {
      fail("CCE149", child_path(kRoot, "cfdi:Emisor"), "Nombre",
           "Con comercio exterior el emisor lleva Nombre.");
    }
    const Element* receptor = comprobante_.child("cfdi:Receptor");
    if (receptor == nullptr) return;
    if (attr(*receptor, "Rfc") != kForeignRfc && !(tipo == "T" && motivo == "02")) {
      fail("CCE150", child_path(kRoot, "cfdi:Receptor"), "Rfc",
           "Con comercio exterior el receptor lleva el RFC genérico XEXX010101000 y lleva " +
               quoted(attr(*receptor, "Rfc")) + ".");
    }
    if (!has(*receptor, "Nombre")) {
      fail("CCE152", child_path(kRoot, "cfdi:Receptor"), "Nombre",
           "Con comercio exterior el receptor lleva Nombre.");
    }
    if (tipo == "T" && children(cce_, "cce11:Destinatario").size() > 1) {
      fail("CCE188", node_, "",
           "Un traslado con comercio exterior lleva a lo más un Destinatario.");
    }
    if (motivo == "01") {
      const Element* relacionados = comprobante_.child("cfdi:CfdiRelacionados");
      if (relacionados == nullptr || attr(*relacionados, "TipoRelacion") != "05" ||
          children(*relacionados, "cfdi:CfdiRelacionado").empty()) {
        fail("CCE157", node_, "MotivoTraslado",
             "Con MotivoTraslado 01 debe relacionarse un CFDI con TipoRelacion 05.");
      }
    }
  }

  void check_operation() {
    const std::string_view operacion = attr(cce_, "TipoOperacion");
    const bool goods = cce_.child("cce11:Mercancias") != nullptr;
    if (operacion == "A") {
      for (const char* attribute :
           {"MotivoTraslado", "ClaveDePedimento", "CertificadoOrigen", "NumCertificadoOrigen",
            "NumeroExportadorConfiable", "Incoterm", "Subdivision", "TipoCambioUSD", "TotalUSD"}) {
        if (has(cce_, attribute)) {
          fail("CCE158", node_, attribute,
               "Con TipoOperacion A no se registra " + std::string(attribute) + ".");
        }
      }
      if (goods) fail("CCE158", node_, "", "Con TipoOperacion A no se registran Mercancias.");
    } else if (operacion == "1" || operacion == "2") {
      for (const char* attribute : {"ClaveDePedimento", "CertificadoOrigen", "Incoterm",
                                    "Subdivision", "TipoCambioUSD", "TotalUSD"}) {
        if (!has(cce_, attribute)) {
          fail("CCE159", node_, attribute,
               "Con TipoOperacion " + std::string(operacion) + " debe registrarse " +
                   std::string(attribute) + ".");
        }
      }
      if (!goods) {
        fail("CCE159", node_, "",
             "Con TipoOperacion " + std::string(operacion) + " deben registrarse Mercancias.");
      }
    }
    if (attr(cce_, "CertificadoOrigen") == "0" && has(cce_, "NumCertificadoOrigen")) {
      fail("CCE160", node_, "NumCertificadoOrigen",
           "Con CertificadoOrigen 0 no se registra NumCertificadoOrigen.");
    }
    const auto total = number(cce_, "TotalUSD");
    if (total && total->decimals() != 2) {
      fail("CCE163", node_, "TotalUSD",
           "El TotalUSD " + total->to_string() + " debe llevar exactamente 2 decimales.");
    }
  }

  void check_address(const Element& domicilio, const std::string& node, const char* estado_code,
                     const char* municipio_code, const char* localidad_code) {
    const std::string_view pais = attr(domicilio, "Pais");
    const std::string estado(attr(domicilio, "Estado"));
    if (has(domicilio, "Estado") && has_states(pais)) {
      check_catalog(failures_, estado_code, node, "Estado", "c_Estado",
                    std::string(pais) + "|" + estado, day_);
    }
    if (pais != "MEX") return;
    if (has(domicilio, "Municipio")) {
      check_catalog(failures_, municipio_code, node, "Municipio", "c_Municipio",
                    estado + "|" + std::string(attr(domicilio, "Municipio")), day_);
    }
    if (has(domicilio, "Localidad")) {
      check_catalog(failures_, localidad_code, node, "Localidad", "c_Localidad",
                    estado + "|" + std::string(attr(domicilio, "Localidad")), day_);
    }
  }

  // Whether c_Estado lists states for a country (MEX, USA, CAN).
  static bool has_states(std::string_view pais) {
    for (const catalogs::Row& row : catalogs::catalog("c_Estado").all()) {
      if (row.key.starts_with(std::string(pais) + "|")) return true;
    }
    return false;
  }

  void check_emisor() {
    const Element* emisor = cce_.child("cce11:Emisor");
    const std::string node = child_path(node_, "cce11:Emisor");
    const Element* cfdi_emisor = comprobante_.child("cfdi:Emisor");
    const std::size_t rfc_length = cfdi_emisor ? attr(*cfdi_emisor, "Rfc").size() : 0;
    const bool curp = emisor && has(*emisor, "Curp");
    if (rfc_length == 12 && curp) {
      fail("CCE164", node, "Curp", "Un emisor persona moral no lleva Curp.");
    } else if (rfc_length == 13 && !curp) {
      fail("CCE165", node, "Curp", "Un emisor persona física lleva Curp.");
    }
    const Element* domicilio = emisor ? emisor->child("cce11:Domicilio") : nullptr;
    if (domicilio == nullptr) {
      fail("CCE167", node, "", "El emisor del complemento de comercio exterior lleva Domicilio.");
      return;
    }
    const std::string d_node = child_path(node, "cce11:Domicilio");
    if (attr(*domicilio, "Pais") != "MEX") {
      fail("CCE168", d_node, "Pais", "El domicilio del emisor está en México (Pais MEX).");
      return;
    }
    check_address(*domicilio, d_node, "CCE169", "CCE170", "CCE171");
  }

  void check_receptor() {
    const Element* receptor = cce_.child("cce11:Receptor");
    if (receptor == nullptr) return;
    const std::string node = child_path(node_, "cce11:Receptor");
    if (has(*receptor, "NumRegIdTrib")) {
      fail("CCE176", node, "NumRegIdTrib",
           "En CFDI 3.3 el NumRegIdTrib del receptor va en cfdi:Receptor, no en el complemento.");
    }
    const Element* domicilio = receptor->child("cce11:Domicilio");
    if (domicilio == nullptr) {
      fail("CCE181", node, "", "El receptor del complemento de comercio exterior lleva Domicilio.");
      return;
    }
    const std::string d_node = child_path(node, "cce11:Domicilio");
    check_address(*domicilio, d_node, "CCE185", "CCE184", "CCE183");
    const std::string_view pais = attr(*domicilio, "Pais");
    if (pais == "MEX" || !has(*domicilio, "CodigoPostal")) return;
    const auto country = catalogs::look_up("c_Pais", pais, std::nullopt);
    if (country.row == nullptr) return;
    const std::string_view pattern =
        catalogs::catalog("c_Pais").field(*country.row, "patron_codigo_postal");
    if (pattern.empty()) return;
    try {
      const std::regex postal{std::string(pattern)};
      const std::string cp(attr(*domicilio, "CodigoPostal"));
      if (!std::regex_match(cp, postal)) {
        fail("CCE186", d_node, "CodigoPostal",
             "El CodigoPostal " + quoted(cp) + " no tiene la forma de los de " + std::string(pais) +
                 ".");
      }
    } catch (const std::regex_error&) {
    }
  }

  void check_goods() {
    const Element* mercancias = cce_.child("cce11:Mercancias");
    if (mercancias == nullptr) return;
    const std::string parent = child_path(node_, "cce11:Mercancias");
    const auto goods = children(*mercancias, "cce11:Mercancia");
    std::set<std::string> concept_ids;
    std::map<std::string, std::string> concept_units;
    if (const Element* conceptos = comprobante_.child("cfdi:Conceptos")) {
      const auto lines = children(*conceptos, "cfdi:Concepto");
      for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string c_node = child_path(child_path(kRoot, "cfdi:Conceptos"), "cfdi:Concepto",
                                              lines.size() > 1 ? i + 1 : 0);
        if (!has(*lines[i], "NoIdentificacion")) {
          fail("CCE197", c_node, "NoIdentificacion",
               "Con comercio exterior cada concepto lleva NoIdentificacion.");
          continue;
        }
        const std::string id(attr(*lines[i], "NoIdentificacion"));
        concept_ids.insert(id);
        concept_units[id] = std::string(attr(*lines[i], "Unidad"));
      }
    }
    std::set<std::string> good_ids;
    std::set<std::pair<std::string, std::string>> pairs;
    Decimal dollars;
    bool any_customs = false, all_customs = true;
    for (std::size_t i = 0; i < goods.size(); ++i) {
      const Element& good = *goods[i];
      const std::string node = child_path(parent, "cce11:Mercancia", goods.size() > 1 ? i + 1 : 0);
      const std::string id(attr(good, "NoIdentificacion"));
      const std::string fraccion(attr(good, "FraccionArancelaria"));
      good_ids.insert(id);
      dollars = dollars + number(good, "ValorDolares").value_or(Decimal{});
      if (!concept_ids.contains(id)) {
        fail("CCE199", node, "NoIdentificacion",
             "Ningún concepto lleva el NoIdentificacion " + quoted(id) + " de la mercancía.");
      }
      if (!pairs.insert({id, fraccion}).second) {
        fail("CCE200", node, "NoIdentificacion",
             "Hay más de una mercancía con NoIdentificacion " + quoted(id) +
                 " y FraccionArancelaria " + quoted(fraccion) + ".");
      }
      const int customs = int(has(good, "CantidadAduana")) + int(has(good, "UnidadAduana")) +
                          int(has(good, "ValorUnitarioAduana"));
      if (customs != 0 && customs != 3) {
        fail("CCE213", node, "",
             "CantidadAduana, UnidadAduana y ValorUnitarioAduana se registran juntos o ninguno.");
      }
      any_customs = any_customs || customs == 3;
      all_customs = all_customs && customs == 3;
      const std::string unit =
          customs == 3 ? std::string(attr(good, "UnidadAduana")) : concept_units[id];
      if (customs == 3 && unit != "99") {
        const auto value = number(good, "ValorUnitarioAduana");
        if (value && (value->is_zero() || value->is_negative())) {
          fail("CCE215", node, "ValorUnitarioAduana",
               "El ValorUnitarioAduana debe ser mayor que cero si la UnidadAduana no es 99.");
        }
      }
      check_fraccion(good, node, unit, customs == 3);
    }
    for (const std::string& id : concept_ids) {
      if (!good_ids.contains(id)) {
        fail("CCE198", parent, "",
             "El NoIdentificacion " + quoted(id) + " de un concepto no tiene mercancía.");
      }
    }
    if (any_customs && !all_customs) {
      fail("CCE214", parent, "",
           "Si una mercancía lleva los datos aduaneros (CantidadAduana, UnidadAduana, "
           "ValorUnitarioAduana), todas los llevan.");
    }
    const auto total = number(cce_, "TotalUSD");
    if (total && *total != dollars && *total != dollars.round_to(2)) {
      fail("CCE162", node_, "TotalUSD",
           "El TotalUSD " + total->to_string() +
               " no es igual a la suma de ValorDolares de las mercancías = " + dollars.to_string() +
               ".");
    }
  }

  void check_fraccion(const Element& good, const std::string& node, const std::string& unit,
                      bool customs) {
    const bool present = has(good, "FraccionArancelaria");
    if (unit == "99") {
      if (present) {
        fail("CCE207", node, "FraccionArancelaria",
             "Con la unidad 99 no se registra FraccionArancelaria.");
      }
      return;
    }
    if (!present) {
      fail("CCE206", node, "FraccionArancelaria",
           "La mercancía lleva FraccionArancelaria cuando la unidad no es 99.");
      return;
    }
    const std::string_view fraccion = attr(good, "FraccionArancelaria");
    if (!check_catalog(failures_, "CCE208", node, "FraccionArancelaria",
                       "comext11.c_FraccionArancelaria", fraccion, day_))
      return;
    const catalogs::Lookup found =
        catalogs::look_up("comext11.c_FraccionArancelaria", fraccion, day_);
    const std::string_view umt =
        catalogs::catalog("comext11.c_FraccionArancelaria").field(*found.row, "unidad");
    if (customs && umt != "N/A" && !umt.empty() && unit != umt) {
      fail("CCE209", node, "UnidadAduana",
           "La UnidadAduana " + quoted(unit) + " no es la unidad " + quoted(umt) +
               " de la fracción arancelaria " + quoted(fraccion) + ".");
    }
  }

  const Element& comprobante_;
  const Element& cce_;
  std::optional<int> day_;
  Failures& failures_;
  std::string node_;
};

}  // namespace

Failures cce11_rules(const Element& comprobante) {
  Failures failures;
  const Element* complemento = comprobante.child("cfdi:Complemento");
  if (complemento == nullptr) return failures;
  const auto all = children(*complemento, "cce11:ComercioExterior");
  if (all.empty()) return failures;
  if (all.size() > 1) {
    add(failures, "CCE153", kComplementoNode, "",
        "El comprobante lleva " + std::to_string(all.size()) +
            " complementos de comercio exterior; se admite uno.");
  }
  CceCheck(comprobante, *all.front(), document_facts(comprobante).day, failures).run();
  return failures;
}

}  // namespace drovanexis::rules
