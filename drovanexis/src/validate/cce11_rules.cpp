// Complemento de comercio exterior 1.1 (cce11:ComercioExterior) on a CFDI
// 3.3: the document, the operation and the parties. The SAT's codes:
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
//   CCE154 it is a child of cfdi:Complemento, not of a ComplementoConcepto
//   CCE155 it travels only with the stamp, Impuestos Locales, Leyendas
//          Fiscales, Recepción de Pagos, CFDI Registro Fiscal and Carta Porte
//   CCE157 MotivoTraslado 01: a CfdiRelacionado with TipoRelacion 05
//   CCE158 TipoOperacion A: none of the export attributes nor Mercancias
//   CCE159 TipoOperacion 1 or 2: ClaveDePedimento, CertificadoOrigen, Incoterm,
//          Subdivision, TipoCambioUSD, TotalUSD and Mercancias present
//   CCE160 CertificadoOrigen 0: no NumCertificadoOrigen
//   CCE161 NumeroExportadorConfiable only for a receiver or recipient in the
//          European Union grouping of c_Pais
//   CCE163 TotalUSD has 2 decimals
//   CCE164/165 Emisor Curp absent for a company, present for a person
//   CCE167 Emisor Domicilio present        CCE168 its Pais is MEX
//   CCE169 its Estado in c_Estado          CCE170 its Municipio in c_Municipio
//   CCE171 its Localidad in c_Localidad
//   CCE175 Propietario NumRegIdTrib matches its country's pattern in c_Pais
//   CCE176 no Receptor NumRegIdTrib (it belongs on cfdi:Receptor)
//   CCE181 Receptor Domicilio present
//   CCE183/184/185 Receptor Localidad, Municipio, Estado in their catalogues
//   CCE186 Receptor CodigoPostal matches its country's pattern (not MEX)
//   CCE188 T: at most one Destinatario
//   CCE190 Destinatario NumRegIdTrib matches the pattern of its address's country
//   CCE192/193/194 Destinatario Localidad, Municipio, Estado in their catalogues
//   CCE195 Destinatario CodigoPostal matches its country's pattern (not MEX)
// The goods (CCE162, CCE197–CCE217) are cce11_goods_rules.cpp's.
// Not checked here, for want of the facts:
//   CCE151 needs the list of registered RFCs (l_RFC)
//   CCE172, CCE173, CCE182, CCE187, CCE191, CCE196 need c_Colonia and
//          c_CodigoPostal, which are not in the library's data
//   CCE174, CCE178, CCE189 need the tax registries of foreign countries
//   CCE218 is the SAT's unclassified error: it names no condition
// Not raised for a CFDI 3.3: CCE101 (the CFDI version) is the schema stage's
// 301, which refuses any Version other than 3.3 before the rules run; CCE102
// to CCE144, CCE156, CCE166, CCE177, CCE179, CCE180 and CCE211 are rules of
// CFDI 3.2 documents.
#include <array>

#include "validate/catalogs.h"
#include "validate/rule_groups.h"

namespace drovanexis::rules {

namespace {

const std::string kRoot(kComprobante);
const std::string kComplementoNode = child_path(kRoot, "cfdi:Complemento");
constexpr std::string_view kForeignRfc = "XEXX010101000";
// The complements that may travel with Comercio Exterior (besides itself).
// The SAT's list predates Carta Porte, which was later made to travel with
// it (a Carta Porte names the export's UUID): refusing the pair would refuse
// every export by road, so both of its versions are accepted too.
constexpr std::array<std::string_view, 8> kCompanions = {"cce11:ComercioExterior",
                                                         "tfd:TimbreFiscalDigital",
                                                         "implocal:ImpuestosLocales",
                                                         "leyendasFisc:LeyendasFiscales",
                                                         "pago10:Pagos",
                                                         "registrofiscal:CFDIRegistroFiscal",
                                                         "cartaporte:CartaPorte",
                                                         "cartaporte20:CartaPorte"};

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
    check_propietario();
    check_destinatarios();
    check_approved_exporter();
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
    if (has(domicilio, "Estado") && country_has_states(pais)) {
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
    check_foreign_postal_code(*domicilio, d_node, "CCE186");
  }

  // A postal code abroad has the form c_Pais gives for its country.
  void check_foreign_postal_code(const Element& domicilio, const std::string& node,
                                 const char* code) {
    const std::string_view pais = attr(domicilio, "Pais");
    const std::string_view cp = attr(domicilio, "CodigoPostal");
    if (pais == "MEX" || !has(domicilio, "CodigoPostal") ||
        fits_country_pattern(pais, "patron_codigo_postal", cp))
      return;
    fail(code, node, "CodigoPostal",
         "El CodigoPostal " + quoted(cp) + " no tiene la forma de los de " + std::string(pais) +
             ".");
  }

  // A foreign tax id has the form c_Pais gives for its country.
  void check_tax_id(const Element& party, std::string_view pais, const std::string& node,
                    const char* code) {
    const std::string_view id = attr(party, "NumRegIdTrib");
    if (!has(party, "NumRegIdTrib") ||
        fits_country_pattern(pais, "patron_identidad_tributaria", id))
      return;
    fail(code, node, "NumRegIdTrib",
         "El NumRegIdTrib " + quoted(id) + " no tiene la forma del registro tributario de " +
             std::string(pais) + ".");
  }

  void check_propietario() {
    const auto owners = children(cce_, "cce11:Propietario");
    for (std::size_t i = 0; i < owners.size(); ++i) {
      check_tax_id(*owners[i], attr(*owners[i], "ResidenciaFiscal"),
                   child_path(node_, "cce11:Propietario", owners.size() > 1 ? i + 1 : 0), "CCE175");
    }
  }

  // The final recipient of the goods, when it is not the receiver: its tax
  // id and each of its addresses, judged like the receiver's.
  void check_destinatarios() {
    const auto recipients = children(cce_, "cce11:Destinatario");
    for (std::size_t i = 0; i < recipients.size(); ++i) {
      const std::string node =
          child_path(node_, "cce11:Destinatario", recipients.size() > 1 ? i + 1 : 0);
      const auto addresses = children(*recipients[i], "cce11:Domicilio");
      if (!addresses.empty())
        check_tax_id(*recipients[i], attr(*addresses.front(), "Pais"), node, "CCE190");
      for (std::size_t j = 0; j < addresses.size(); ++j) {
        const std::string d_node =
            child_path(node, "cce11:Domicilio", addresses.size() > 1 ? j + 1 : 0);
        check_address(*addresses[j], d_node, "CCE194", "CCE193", "CCE192");
        check_foreign_postal_code(*addresses[j], d_node, "CCE195");
      }
    }
  }

  // NumeroExportadorConfiable is the European Union's approved-exporter
  // number: it makes sense only for a receiver or recipient there.
  void check_approved_exporter() {
    if (!has(cce_, "NumeroExportadorConfiable")) return;
    std::vector<std::string_view> countries;
    if (const Element* receptor = comprobante_.child("cfdi:Receptor"))
      countries.push_back(attr(*receptor, "ResidenciaFiscal"));
    if (const Element* domicilio = descendant(cce_, {"cce11:Receptor", "cce11:Domicilio"}))
      countries.push_back(attr(*domicilio, "Pais"));
    for (const Element* recipient : children(cce_, "cce11:Destinatario")) {
      for (const Element* domicilio : children(*recipient, "cce11:Domicilio"))
        countries.push_back(attr(*domicilio, "Pais"));
    }
    for (const std::string_view pais : countries) {
      if (in_country_group(pais, "Unión Europea")) return;
    }
    fail("CCE161", node_, "NumeroExportadorConfiable",
         "El NumeroExportadorConfiable se registra solo si el receptor o el destinatario "
         "residen en un país de la Unión Europea.");
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
  for (const std::string& node : misplaced_in_conceptos(comprobante, "cce11:ComercioExterior")) {
    add(failures, "CCE154", node, "",
        "El complemento de comercio exterior va en cfdi:Complemento, no en "
        "ComplementoConcepto.");
  }
  const Element* complemento = comprobante.child("cfdi:Complemento");
  if (complemento == nullptr) return failures;
  const auto all = children(*complemento, "cce11:ComercioExterior");
  if (all.empty()) return failures;
  if (all.size() > 1) {
    add(failures, "CCE153", kComplementoNode, "",
        "El comprobante lleva " + std::to_string(all.size()) +
            " complementos de comercio exterior; se admite uno.");
  }
  for (const Element* other : complements_besides(comprobante, kCompanions)) {
    add(failures, "CCE155", child_path(kComplementoNode, other->name()), "",
        "El complemento " + other->name() +
            " no puede acompañar al de comercio exterior; lo acompañan solo el timbre, "
            "impuestos locales, leyendas fiscales, recepción de pagos, CFDI registro fiscal y "
            "Carta Porte.");
  }
  CceCheck(comprobante, *all.front(), document_facts(comprobante).day, failures).run();
  return failures;
}

}  // namespace drovanexis::rules
