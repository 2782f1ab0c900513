#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "cadena/cadena.h"
#include "cadena/sat_oracle.h"
#include "document/cfdi_version.h"
#include "tests/support/test_folder.h"
#include "xml/xml_reader.h"

// The CFDI 4.0 original string against the SAT's 4.0 stylesheet, and the
// choice of the version's string.
namespace drovanexis {
namespace {

namespace fs = std::filesystem;
using testing::run_sat_script;
using testing::sat_dir;

std::string read_whole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

Element parse_file(const fs::path& path) { return parse_xml(read_whole(path)); }

const Element* find_timbre(const Element& comprobante) {
  const Element* complemento = comprobante.child("cfdi:Complemento");
  return complemento == nullptr ? nullptr : complemento->child("tfd:TimbreFiscalDigital");
}

// Where our string and the stylesheet's part, so that a failure shows the field.
std::string first_difference(const std::string& ours, const std::string& oracle) {
  std::size_t at = 0;
  while (at < ours.size() && at < oracle.size() && ours[at] == oracle[at]) ++at;
  const std::size_t from = at < 60 ? 0 : at - 60;
  return "first difference at byte " + std::to_string(at) +
         "\n  ours:   " + ours.substr(from, 120) + "\n  oracle: " + oracle.substr(from, 120);
}

class CadenaOfExample40 : public ::testing::TestWithParam<const char*> {};

TEST_P(CadenaOfExample40, EqualsTheExpectedTextAndTheStylesheets) {
  CFDI_REQUIRE_SAT_ORACLE();
  const std::string name = GetParam();
  const auto file = sat_dir() / "examples" / (name + ".xml");
  const Element comprobante = parse_file(file);

  const std::string cadena = cadena_cfdi40(comprobante);
  const auto oracle = run_sat_script("cadena-cfdi40", file);
  ASSERT_EQ(oracle.exit_code, 0);
  EXPECT_EQ(cadena, oracle.output) << first_difference(cadena, oracle.output);
  EXPECT_EQ(cadena, read_whole(sat_dir() / "examples" / "expected" / (name + ".cadena.txt")));
  EXPECT_EQ(cadena_cfdi(comprobante), cadena);

  const Element* timbre = find_timbre(comprobante);
  ASSERT_NE(timbre, nullptr);
  const std::string cadena_tfd = cadena_tfd11(*timbre);
  const auto oracle_tfd = run_sat_script("cadena-tfd11", file);
  ASSERT_EQ(oracle_tfd.exit_code, 0);
  EXPECT_EQ(cadena_tfd, oracle_tfd.output);
  EXPECT_EQ(cadena_tfd,
            read_whole(sat_dir() / "examples" / "expected" / (name + ".cadena-tfd.txt")));
}

INSTANTIATE_TEST_SUITE_P(SatExamples, CadenaOfExample40,
                         ::testing::Values("cfdi40-ingreso", "cfdi40-global", "cfdi40-pagos20",
                                           "cfdi40-nomina12", "cfdi40-cartaporte31"));

// ---- Edited 4.0 documents, compared with the stylesheet -------------------

struct DocDeleter {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using Doc = std::unique_ptr<xmlDoc, DocDeleter>;

constexpr const char* kCfd40 = "http://www.sat.gob.mx/cfd/4";

Doc load_example(const std::string& name) {
  const auto path = (sat_dir() / "examples" / (name + ".xml")).string();
  Doc doc(xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET));
  if (!doc) throw std::runtime_error("cannot read " + path);
  return doc;
}

// The one element an XPath expression (prefixes cfdi for CFDI 4.0, pago20) selects.
xmlNode* select_one(xmlDoc* doc, const std::string& xpath) {
  std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context(xmlXPathNewContext(doc),
                                                                           xmlXPathFreeContext);
  xmlXPathRegisterNs(context.get(), BAD_CAST "cfdi", BAD_CAST kCfd40);
  xmlXPathRegisterNs(context.get(), BAD_CAST "pago20", BAD_CAST "http://www.sat.gob.mx/Pagos20");
  std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> found(
      xmlXPathEvalExpression(BAD_CAST xpath.c_str(), context.get()), xmlXPathFreeObject);
  if (!found || found->nodesetval == nullptr || found->nodesetval->nodeNr != 1) {
    throw std::runtime_error("XPath does not select one node: " + xpath);
  }
  return found->nodesetval->nodeTab[0];
}

// Saves the document, then compares our original string of the saved text
// with the stylesheet's original string of the same file.
void expect_same_as_oracle(xmlDoc* doc, const std::string& label) {
  const test_support::TemporaryFolder folder;
  const auto file = folder.path() / "cadena40-test.xml";
  ASSERT_GT(xmlSaveFileEnc(file.c_str(), doc, "UTF-8"), 0);
  const auto oracle = run_sat_script("cadena-cfdi40", file);
  ASSERT_EQ(oracle.exit_code, 0) << label;
  const std::string ours = cadena_cfdi(parse_file(file));
  EXPECT_EQ(ours, oracle.output) << label << ": " << first_difference(ours, oracle.output);
}

TEST(Cadena40Values, AttributesOfThe40DefinitionMatchTheStylesheet) {
  CFDI_REQUIRE_SAT_ORACLE();
  const struct {
    const char* label;
    const char* example;
    const char* xpath;
    const char* attribute;
    const char* value;  // nullptr: the attribute is removed
  } cases[] = {
      {"absent required issuer name", "cfdi40-ingreso", "//cfdi:Emisor", "Nombre", nullptr},
      {"absent required receiver tax address", "cfdi40-ingreso", "//cfdi:Receptor",
       "DomicilioFiscalReceptor", nullptr},
      {"absent required receiver regime", "cfdi40-ingreso", "//cfdi:Receptor",
       "RegimenFiscalReceptor", nullptr},
      {"absent required Exportacion", "cfdi40-ingreso", "/cfdi:Comprobante", "Exportacion",
       nullptr},
      {"absent required ObjetoImp", "cfdi40-ingreso", "(//cfdi:Concepto)[2]", "ObjetoImp", nullptr},
      {"issuer's FacAtrAdquirente after the regime", "cfdi40-ingreso", "//cfdi:Emisor",
       "FacAtrAdquirente", "0123456789"},
      {"receiver's residence and tax id between address and regime", "cfdi40-ingreso",
       "//cfdi:Receptor", "ResidenciaFiscal", "USA"},
      {"receiver's foreign tax id", "cfdi40-ingreso", "//cfdi:Receptor", "NumRegIdTrib",
       "  121  585958 "},
      {"Año is read by its non-ASCII name and normalised", "cfdi40-global",
       "//cfdi:InformacionGlobal", "A\xC3\xB1o", "  20\t25 "},
      {"absent required Año", "cfdi40-global", "//cfdi:InformacionGlobal", "A\xC3\xB1o", nullptr},
      {"an ASCII look-alike of Año is not it", "cfdi40-global", "//cfdi:InformacionGlobal", "Ano",
       "2024"},
      {"absent required Meses", "cfdi40-global", "//cfdi:InformacionGlobal", "Meses", nullptr},
      {"summarised transfer without its optional rate", "cfdi40-ingreso",
       "/cfdi:Comprobante/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", "TasaOCuota", nullptr},
      {"summarised transfer without its required base", "cfdi40-ingreso",
       "/cfdi:Comprobante/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", "Base", nullptr},
      {"payment transfer without its optional rate", "cfdi40-pagos20", "(//pago20:TrasladoP)[1]",
       "TasaOCuotaP", nullptr},
      {"payment total without its required amount", "cfdi40-pagos20", "//pago20:Totales",
       "MontoTotalPagos", nullptr},
  };
  for (const auto& c : cases) {
    Doc doc = load_example(c.example);
    xmlNode* node = select_one(doc.get(), c.xpath);
    if (c.value == nullptr) {
      ASSERT_EQ(xmlUnsetProp(node, BAD_CAST c.attribute), 0) << c.label;
    } else {
      xmlSetProp(node, BAD_CAST c.attribute, BAD_CAST c.value);
    }
    expect_same_as_oracle(doc.get(), c.label);
  }
}

xmlNode* add_element(xmlNode* parent, const char* name,
                     std::initializer_list<std::pair<const char*, const char*>> attributes,
                     const char* text = nullptr) {
  xmlNode* element = xmlNewChild(parent, parent->ns, BAD_CAST name, BAD_CAST text);
  for (const auto& [attribute, value] : attributes) {
    xmlSetProp(element, BAD_CAST attribute, BAD_CAST value);
  }
  return element;
}

// An exempt transfer carries neither rate nor amount, at both levels.
TEST(Cadena40Structure, ExemptTransfersGiveOnlyBaseTaxAndFactor) {
  CFDI_REQUIRE_SAT_ORACLE();
  Doc doc = load_example("cfdi40-ingreso");
  for (const char* xpath : {"(//cfdi:Concepto)[1]/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado",
                            "/cfdi:Comprobante/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado"}) {
    xmlNode* traslado = select_one(doc.get(), xpath);
    xmlSetProp(traslado, BAD_CAST "TipoFactor", BAD_CAST "Exento");
    ASSERT_EQ(xmlUnsetProp(traslado, BAD_CAST "TasaOCuota"), 0);
    ASSERT_EQ(xmlUnsetProp(traslado, BAD_CAST "Importe"), 0);
  }
  expect_same_as_oracle(doc.get(), "exempt transfers");
}

// Each CfdiRelacionados group gives its TipoRelacion and then its UUIDs,
// in document order, after InformacionGlobal.
TEST(Cadena40Structure, RepeatedRelatedGroupsFollowTheGlobalInformation) {
  CFDI_REQUIRE_SAT_ORACLE();
  Doc doc = load_example("cfdi40-global");
  xmlNode* root = xmlDocGetRootElement(doc.get());
  xmlNode* emisor = select_one(doc.get(), "//cfdi:Emisor");
  for (const char* tipo : {"01", "07"}) {
    xmlNode* group = xmlNewNode(root->ns, BAD_CAST "CfdiRelacionados");
    xmlSetProp(group, BAD_CAST "TipoRelacion", BAD_CAST tipo);
    add_element(group, "CfdiRelacionado", {{"UUID", "11111111-2222-4333-8444-555555555555"}});
    add_element(group, "CfdiRelacionado", {{"UUID", tipo}});
    xmlAddPrevSibling(emisor, group);
  }
  expect_same_as_oracle(doc.get(), "two CfdiRelacionados groups");
}

// Third parties and customs data of a concept come between its taxes and its
// complements, parts last, each part with its own customs data.
TEST(Cadena40Structure, ConceptNodesFollowTheDefinitionsOrder) {
  CFDI_REQUIRE_SAT_ORACLE();
  Doc doc = load_example("cfdi40-ingreso");
  xmlNode* concepto = select_one(doc.get(), "(//cfdi:Concepto)[1]");
  // Written out of order on purpose: the string keeps the definition's order.
  xmlNode* parte = add_element(concepto, "Parte",
                               {{"ClaveProdServ", "90101501"},
                                {"Cantidad", "2"},
                                {"Descripcion", "Mantel  largo"},
                                {"ValorUnitario", "10.00"},
                                {"Importe", "20.00"}});
  add_element(parte, "InformacionAduanera", {{"NumeroPedimento", "21  47  3807  8003833"}});
  add_element(concepto, "CuentaPredial", {{"Numero", "CP-0001"}});
  add_element(concepto, "CuentaPredial", {{"Numero", "CP-0002"}});
  add_element(concepto, "InformacionAduanera", {{"NumeroPedimento", "21  47  3807  8003832"}});
  add_element(concepto, "ACuentaTerceros",
              {{"DomicilioFiscalACuentaTerceros", "01000"},
               {"RegimenFiscalACuentaTerceros", "601"},
               {"NombreACuentaTerceros", "TERCERO  DE PRUEBA"},
               {"RfcACuentaTerceros", "BSM970519DU8"}});
  add_element(concepto, "ACuentaTerceros", {{"RfcACuentaTerceros", "sin los demas"}});
  expect_same_as_oracle(doc.get(), "concept nodes");
}

// Text of a vocabulary the 4.0 definition does not include reaches the
// string, as the stylesheet's built-in rules give it; the Addenda does not.
TEST(Cadena40Structure, UnknownComplementTextLeaksAndTheAddendaDoesNot) {
  CFDI_REQUIRE_SAT_ORACLE();
  Doc doc = load_example("cfdi40-ingreso");
  xmlNode* root = xmlDocGetRootElement(doc.get());
  xmlNode* complemento = select_one(doc.get(), "/cfdi:Comprobante/cfdi:Complemento");
  xmlNs* other = xmlNewNs(complemento, BAD_CAST "urn:example:otro", BAD_CAST "otro");
  xmlNode* unknown = xmlNewChild(complemento, other, BAD_CAST "Dato", BAD_CAST "  texto   propio ");
  xmlSetProp(unknown, BAD_CAST "Valor", BAD_CAST "no cuenta");
  xmlNewChild(unknown, other, BAD_CAST "Hijo", BAD_CAST "y el de su hijo");
  // Pagos 1.0 belongs to 3.3 only: here it is an unknown vocabulary too.
  xmlNs* pago10 = xmlNewNs(complemento, BAD_CAST "http://www.sat.gob.mx/Pagos", BAD_CAST "pago10");
  xmlNode* pagos = xmlNewChild(complemento, pago10, BAD_CAST "Pagos", nullptr);
  xmlSetProp(pagos, BAD_CAST "Version", BAD_CAST "1.0");
  xmlNode* pago = xmlNewChild(pagos, pago10, BAD_CAST "Pago", BAD_CAST "texto del pago");
  xmlSetProp(pago, BAD_CAST "Monto", BAD_CAST "100.00");
  xmlNode* addenda = xmlNewChild(root, root->ns, BAD_CAST "Addenda", nullptr);
  xmlNewChild(addenda, nullptr, BAD_CAST "Pedido", BAD_CAST "no forma parte");
  expect_same_as_oracle(doc.get(), "unknown complements and addenda");
}

// ---- The version's string -------------------------------------------------

Element root_of(const char* version, const char* uri) {
  Element comprobante("cfdi:Comprobante");
  if (uri != nullptr) comprobante.set_attribute("xmlns:cfdi", uri);
  if (version != nullptr) comprobante.set_attribute("Version", version);
  comprobante.set_attribute("Fecha", "2024-01-01T00:00:00");
  return comprobante;
}

TEST(CadenaByVersion, PicksTheStringOfTheDocumentsVersion) {
  // Exportacion is a field of 4.0 only, between TipoDeComprobante and LugarExpedicion.
  Element v40 = root_of("4.0", kCfd40);
  v40.set_attribute("Exportacion", "01");
  EXPECT_EQ(cadena_cfdi(v40), cadena_cfdi40(v40));
  EXPECT_EQ(cadena_cfdi(v40), "||4.0|2024-01-01T00:00:00||||||01|||");
  Element v33 = root_of("3.3", "http://www.sat.gob.mx/cfd/3");
  v33.set_attribute("Exportacion", "01");
  EXPECT_EQ(cadena_cfdi(v33), cadena_cfdi33(v33));
  EXPECT_EQ(cadena_cfdi(v33), "||3.3|2024-01-01T00:00:00||||||||");
  // A tree built without namespace declarations goes by its Version.
  EXPECT_EQ(cadena_cfdi(root_of("4.0", nullptr)), cadena_cfdi40(root_of("4.0", nullptr)));
}

TEST(CadenaByVersion, RefusesRootsOfNoVersionItReads) {
  EXPECT_THROW(cadena_cfdi(root_of("4.0", "http://www.sat.gob.mx/cfd/3")), CfdiVersionError);
  EXPECT_THROW(cadena_cfdi(root_of("3.3", kCfd40)), CfdiVersionError);
  EXPECT_THROW(cadena_cfdi(root_of("3.2", nullptr)), CfdiVersionError);
  EXPECT_THROW(cadena_cfdi(root_of(nullptr, kCfd40)), CfdiVersionError);
  EXPECT_THROW(cadena_cfdi(Element("cfdi:Emisor")), CfdiVersionError);
  EXPECT_THROW(cadena_cfdi40(Element("cfdi:Emisor")), std::invalid_argument);
  // A CFDI 3.3 never gets the 4.0 string, whichever signal tells its version.
  EXPECT_THROW(cadena_cfdi40(root_of("3.3", nullptr)), std::invalid_argument);
  EXPECT_THROW(cadena_cfdi40(root_of("4.0", "http://www.sat.gob.mx/cfd/3")), std::invalid_argument);
}

}  // namespace
}  // namespace drovanexis
