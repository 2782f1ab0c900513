#include "cadena/cadena.h"

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

#include "cadena/sat_oracle.h"
#include "tests/support/sat_folder.h"
#include "tests/support/test_folder.h"
#include "xml/xml_reader.h"

namespace drovanexis {
namespace {

using testing::run_sat_script;
using testing::sat_dir;

std::string read_whole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

Element parse_file(const std::filesystem::path& path) { return parse_xml(read_whole(path)); }

const Element* find_timbre(const Element& comprobante) {
  const Element* complemento = comprobante.child("cfdi:Complemento");
  return complemento == nullptr ? nullptr : complemento->child("tfd:TimbreFiscalDigital");
}

class CadenaOfExample : public ::testing::TestWithParam<const char*> {};

TEST_P(CadenaOfExample, EqualsTheExpectedTextAndTheStylesheets) {
  CFDI_REQUIRE_SAT_ORACLE();
  const std::string name = GetParam();
  const auto file = sat_dir() / "examples" / (name + ".xml");
  const Element comprobante = parse_file(file);

  const std::string cadena = cadena_cfdi33(comprobante);
  EXPECT_EQ(cadena, read_whole(sat_dir() / "examples" / "expected" / (name + ".cadena.txt")));
  const auto oracle = run_sat_script("cadena-cfdi33", file);
  ASSERT_EQ(oracle.exit_code, 0);
  EXPECT_EQ(cadena, oracle.output);

  const Element* timbre = find_timbre(comprobante);
  ASSERT_NE(timbre, nullptr);
  const std::string cadena_tfd = cadena_tfd11(*timbre);
  EXPECT_EQ(cadena_tfd,
            read_whole(sat_dir() / "examples" / "expected" / (name + ".cadena-tfd.txt")));
  const auto oracle_tfd = run_sat_script("cadena-tfd11", file);
  ASSERT_EQ(oracle_tfd.exit_code, 0);
  EXPECT_EQ(cadena_tfd, oracle_tfd.output);
}

INSTANTIATE_TEST_SUITE_P(SatExamples, CadenaOfExample,
                         ::testing::Values("cfdi33-ingreso", "cfdi33-pagos10", "cfdi33-nomina12",
                                           "cfdi33-cartaporte10", "cfdi33-cartaporte20"));

// ---- Edited documents, compared with the stylesheets ----------------------

struct DocDeleter {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using Doc = std::unique_ptr<xmlDoc, DocDeleter>;

Doc load_example(const std::string& name) {
  const auto path = (sat_dir() / "examples" / name).string();
  Doc doc(xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET));
  if (!doc) throw std::runtime_error("cannot read " + path);
  return doc;
}

// The one element an XPath expression (prefixes cfdi, pago10) selects.
xmlNode* select_one(xmlDoc* doc, const std::string& xpath) {
  std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context(xmlXPathNewContext(doc),
                                                                           xmlXPathFreeContext);
  xmlXPathRegisterNs(context.get(), BAD_CAST "cfdi", BAD_CAST "http://www.sat.gob.mx/cfd/3");
  xmlXPathRegisterNs(context.get(), BAD_CAST "pago10", BAD_CAST "http://www.sat.gob.mx/Pagos");
  std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> found(
      xmlXPathEvalExpression(BAD_CAST xpath.c_str(), context.get()), xmlXPathFreeObject);
  if (!found || found->nodesetval == nullptr || found->nodesetval->nodeNr != 1) {
    throw std::runtime_error("XPath does not select one node: " + xpath);
  }
  return found->nodesetval->nodeTab[0];
}

// Saves the document, then compares our original string of the saved text
// with the stylesheets' original string of the same file.
void expect_same_as_oracle(xmlDoc* doc, const std::string& label) {
  const test_support::TemporaryFolder folder;
  const auto file = folder.path() / "cadena-test.xml";
  ASSERT_GT(xmlSaveFileEnc(file.c_str(), doc, "UTF-8"), 0);
  const auto oracle = run_sat_script("cadena-cfdi33", file);
  const std::string ours = cadena_cfdi33(parse_file(file));
  ASSERT_EQ(oracle.exit_code, 0) << label;
  EXPECT_EQ(ours, oracle.output) << label;
}

TEST(CadenaValues, ValuesThatBreakNaiveOriginalStringsMatchTheStylesheets) {
  CFDI_REQUIRE_SAT_ORACLE();
  const struct {
    const char* label;
    const char* xpath;
    const char* attribute;
    const char* value;  // nullptr: the attribute is removed
  } cases[] = {
      {"runs of blanks, leading and trailing", "/cfdi:Comprobante", "CondicionesDePago",
       "   Contado    Comercial   "},
      {"tabs and line breaks inside", "//cfdi:Emisor", "Nombre", "Empresa\tde\n\nprueba\r\n SA\t"},
      {"only white space", "//cfdi:Receptor", "Nombre", " \t\n "},
      {"markup characters", "//cfdi:Receptor", "Nombre", "A & B <C> \"D\" 'E' >"},
      {"accented letters and enye", "(//cfdi:Concepto)[1]", "Descripcion",
       "A\xC3\xB1o de se\xC3\xB1"
       "al \xC3\x81\xC3\x89\xC3\x8D\xC3\x93\xC3\x9A \xC3\xBC"},
      {"no-break space is not white space", "(//cfdi:Concepto)[2]", "Unidad",
       "\xC2\xA0Pieza\xC2\xA0"},
      {"empty optional attribute", "/cfdi:Comprobante", "Folio", ""},
      {"bar inside a value", "(//cfdi:Concepto)[1]", "NoIdentificacion", "SEF|500||x"},
      {"absent optional attribute", "/cfdi:Comprobante", "Serie", nullptr},
      {"absent required attribute", "//cfdi:Emisor", "RegimenFiscal", nullptr},
      {"absent optional line tax rate",
       "(//cfdi:Concepto)[1]/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", "TasaOCuota", nullptr},
      {"absent document tax total", "/cfdi:Comprobante/cfdi:Impuestos", "TotalImpuestosTrasladados",
       nullptr},
  };
  for (const auto& c : cases) {
    Doc doc = load_example("cfdi33-ingreso.xml");
    xmlNode* node = select_one(doc.get(), c.xpath);
    if (c.value == nullptr) {
      ASSERT_EQ(xmlUnsetProp(node, BAD_CAST c.attribute), 0) << c.label;
    } else {
      xmlSetProp(node, BAD_CAST c.attribute, BAD_CAST c.value);
    }
    expect_same_as_oracle(doc.get(), c.label);
  }
}

TEST(CadenaValues, PaymentTaxesGiveTheirTotalsBeforeTheLists) {
  CFDI_REQUIRE_SAT_ORACLE();
  Doc doc = load_example("cfdi33-pagos10.xml");
  xmlNode* pago = select_one(doc.get(), "//pago10:Pago");
  xmlNs* ns = pago->ns;
  xmlNode* impuestos = xmlNewChild(pago, ns, BAD_CAST "Impuestos", nullptr);
  xmlSetProp(impuestos, BAD_CAST "TotalImpuestosRetenidos", BAD_CAST "10.00");
  xmlSetProp(impuestos, BAD_CAST "TotalImpuestosTrasladados", BAD_CAST "160.00");
  xmlNode* traslados = xmlNewChild(impuestos, ns, BAD_CAST "Traslados", nullptr);
  xmlNode* traslado = xmlNewChild(traslados, ns, BAD_CAST "Traslado", nullptr);
  xmlSetProp(traslado, BAD_CAST "Importe", BAD_CAST "160.00");
  xmlSetProp(traslado, BAD_CAST "TasaOCuota", BAD_CAST "0.160000");
  xmlSetProp(traslado, BAD_CAST "TipoFactor", BAD_CAST "Tasa");
  xmlSetProp(traslado, BAD_CAST "Impuesto", BAD_CAST "002");
  // Retenciones written after Traslados: the original string still lists them first.
  xmlNode* retenciones = xmlNewChild(impuestos, ns, BAD_CAST "Retenciones", nullptr);
  xmlNode* retencion = xmlNewChild(retenciones, ns, BAD_CAST "Retencion", nullptr);
  xmlSetProp(retencion, BAD_CAST "Importe", BAD_CAST "10.00");
  xmlSetProp(retencion, BAD_CAST "Impuesto", BAD_CAST "001");
  expect_same_as_oracle(doc.get(), "pago10:Impuestos");
}

TEST(CadenaValues, UnknownComplementsAndAddendaAddOnlyWhatTheDefaultRuleGives) {
  CFDI_REQUIRE_SAT_ORACLE();
  Doc doc = load_example("cfdi33-ingreso.xml");
  xmlNode* root = xmlDocGetRootElement(doc.get());
  xmlNode* addenda = xmlNewChild(root, root->ns, BAD_CAST "Addenda", nullptr);
  xmlNewChild(addenda, nullptr, BAD_CAST "Pedido", BAD_CAST "no forma parte");
  xmlNode* complemento = select_one(doc.get(), "/cfdi:Comprobante/cfdi:Complemento");
  xmlNs* other = xmlNewNs(complemento, BAD_CAST "urn:example:otro", BAD_CAST "otro");
  xmlNode* unknown = xmlNewChild(complemento, other, BAD_CAST "Dato", BAD_CAST "texto propio");
  xmlSetProp(unknown, BAD_CAST "Valor", BAD_CAST "no cuenta");
  expect_same_as_oracle(doc.get(), "addenda and unknown complement");
}

TEST(Cadena, RefusesElementsThatAreNotItsRoot) {
  EXPECT_THROW(cadena_cfdi33(Element("cfdi:Emisor")), std::invalid_argument);
  EXPECT_THROW(cadena_tfd11(Element("cfdi:Comprobante")), std::invalid_argument);
  // A CFDI 4.0 never gets the 3.3 string, whichever signal tells its version.
  Element by_version("cfdi:Comprobante");
  by_version.set_attribute("Version", "4.0");
  EXPECT_THROW(cadena_cfdi33(by_version), std::invalid_argument);
  Element by_namespace("cfdi:Comprobante");
  by_namespace.set_attribute("xmlns:cfdi", "http://www.sat.gob.mx/cfd/4");
  by_namespace.set_attribute("Version", "3.3");
  EXPECT_THROW(cadena_cfdi33(by_namespace), std::invalid_argument);
}

TEST(Cadena, StampStringListsLeyendaOnlyWhenPresent) {
  Element timbre("tfd:TimbreFiscalDigital");
  timbre.set_attribute("SelloSAT", "ignored");
  timbre.set_attribute("NoCertificadoSAT", "20001000000300022323");
  timbre.set_attribute("SelloCFD", "abc=");
  timbre.set_attribute("RfcProvCertif", "AAA010101AAA");
  timbre.set_attribute("FechaTimbrado", " 2021-12-01T10:20:00 ");
  timbre.set_attribute("UUID", "5551AD7D-BABB-4E5E-89D5-CBE9F862D7CB");
  timbre.set_attribute("Version", "1.1");
  EXPECT_EQ(cadena_tfd11(timbre),
            "||1.1|5551AD7D-BABB-4E5E-89D5-CBE9F862D7CB|2021-12-01T10:20:00|AAA010101AAA|abc=|"
            "20001000000300022323||");
  timbre.set_attribute("Leyenda", "Prueba  de\tleyenda");
  EXPECT_EQ(cadena_tfd11(timbre),
            "||1.1|5551AD7D-BABB-4E5E-89D5-CBE9F862D7CB|2021-12-01T10:20:00|AAA010101AAA|"
            "Prueba de leyenda|abc=|20001000000300022323||");
}

// The stamp's Leyenda goes through the same white-space normalisation as
// every field, so it shows the normalisation without the SAT folder.
std::string leyenda_field(const std::string& leyenda) {
  Element timbre("tfd:TimbreFiscalDigital");
  timbre.set_attribute("Version", "1.1");
  timbre.set_attribute("Leyenda", leyenda);
  const std::string cadena = cadena_tfd11(timbre);
  const std::size_t from = std::string("||1.1||||").size();
  return cadena.substr(from, cadena.find('|', from) - from);
}

TEST(CadenaValues, WhiteSpaceIsNormalisedWhereverItFallsInTheValue) {
  const struct {
    const char* value;
    const char* expected;
  } cases[] = {
      {"Sin cambios en esta leyenda", "Sin cambios en esta leyenda"},
      {"Doble  espacio tras ocho", "Doble espacio tras ocho"},
      {"Dieciseis bytes\t", "Dieciseis bytes"},
      {"ABCDEFGH ", "ABCDEFGH"},
      {"ABCDEFG\nH", "ABCDEFG H"},
      {"\xC3\xB1\xC3\xB1\xC3\xB1\xC3\xB1\r\xC3\xB1", "\xC3\xB1\xC3\xB1\xC3\xB1\xC3\xB1 \xC3\xB1"},
      {"\xC2\xA0no-break\xC2\xA0spaces\xC2\xA0stay\xC2\xA0",
       "\xC2\xA0no-break\xC2\xA0spaces\xC2\xA0stay\xC2\xA0"},
      {"control\x01"
       "characters\x1F"
       "stay",
       "control\x01"
       "characters\x1F"
       "stay"},
  };
  for (const auto& c : cases) EXPECT_EQ(leyenda_field(c.value), c.expected) << c.value;

  // Each white-space character at every position of a value longer than
  // two eight-byte words, and a doubled blank at every position.
  const std::string letters = "ABCDEFGHIJKLMNOPQRS";
  for (std::size_t at = 0; at <= letters.size(); ++at) {
    const std::string before = letters.substr(0, at);
    const std::string after = letters.substr(at);
    const std::string joined =
        before.empty() || after.empty() ? before + after : before + " " + after;
    for (const char blank : {' ', '\t', '\n', '\r'}) {
      EXPECT_EQ(leyenda_field(before + blank + after), joined) << at << " " << int{blank};
    }
    EXPECT_EQ(leyenda_field(before + "  " + after), joined) << at;
  }
}

}  // namespace
}  // namespace drovanexis
