#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cadena/cadena.h"
#include "cadena/sat_oracle.h"
#include "document/namespaces.h"
#include "tests/support/test_folder.h"
#include "xml/xml_reader.h"

// The CFDI 4.0 original string of documents carrying each complement, against
// the SAT's 4.0 stylesheet run on the same file.
namespace drovanexis {
namespace {

namespace fs = std::filesystem;
using testing::run_sat_script;

const fs::path kFixtures33 = fs::path(CFDI_SOURCE_DIR) / "drovanexis/testdata/complements";
const fs::path kFixtures40 = kFixtures33 / "cfdi40";

std::string read_whole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> fixture_names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".xml") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string first_difference(const std::string& ours, const std::string& oracle) {
  std::size_t at = 0;
  while (at < ours.size() && at < oracle.size() && ours[at] == oracle[at]) ++at;
  const std::size_t from = at < 60 ? 0 : at - 60;
  return "first difference at byte " + std::to_string(at) +
         "\n  ours:   " + ours.substr(from, 120) + "\n  oracle: " + oracle.substr(from, 120);
}

void expect_same_as_oracle(const fs::path& file, const std::string& label) {
  const auto oracle = run_sat_script("cadena-cfdi40", file);
  ASSERT_EQ(oracle.exit_code, 0) << label;
  const std::string ours = cadena_cfdi40(parse_xml(read_whole(file)));
  EXPECT_EQ(ours, oracle.output) << label << ": " << first_difference(ours, oracle.output);
}

// The folder is walked when the test runs, so that a fixture added later is
// covered without the test being built again.
TEST(Complement40Fixtures, OriginalStringsEqualTheStylesheet) {
  CFDI_REQUIRE_SAT_ORACLE();
  const auto names = fixture_names(kFixtures40);
  ASSERT_FALSE(names.empty()) << "no fixtures in " << kFixtures40;
  for (const std::string& name : names) expect_same_as_oracle(kFixtures40 / (name + ".xml"), name);
}

// The transport fixtures carry every field of their complement once with a
// placeholder value of its own, so that a field out of place shows; those
// values do not follow the schema's patterns and catalogues. The others are
// whole valid documents.
TEST(Complement40Fixtures, ThoseWithRealValuesAreValidAgainstTheSchemas) {
  CFDI_REQUIRE_SAT_ORACLE();
  for (const char* name : {"pago20", "cce20", "hidrocarburospetroliferos"}) {
    const auto result =
        run_sat_script("validate-cfdi40", kFixtures40 / (std::string(name) + ".xml"));
    EXPECT_EQ(result.exit_code, 0) << name << " is not schema-valid";
  }
}

// Every complement that only the 4.0 definition includes has a fixture named
// by its canonical prefix; those it shares with 3.3 are covered by the 3.3
// fixtures moved into a 4.0 document below.
TEST(Complement40Fixtures, EveryComplementNewIn40HasOne) {
  for (const KnownNamespace& known : known_namespaces(CfdiVersion::k40)) {
    if (known.place == ComplementPlace::kNone || known.prefix == "tfd") continue;
    if (namespace_by_prefix(CfdiVersion::k33, known.prefix) != nullptr) continue;
    EXPECT_TRUE(fs::exists(kFixtures40 / (std::string(known.prefix) + ".xml")))
        << "no fixture for the complement " << known.prefix;
  }
}

// ---- Fixtures edited -------------------------------------------------------

struct DocDeleter {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using Doc = std::unique_ptr<xmlDoc, DocDeleter>;

Doc load(const fs::path& path, int options = 0) {
  Doc doc(xmlReadFile(path.string().c_str(), nullptr, XML_PARSE_NONET | options));
  if (!doc) throw std::runtime_error("cannot read " + path.string());
  return doc;
}

void save(xmlDoc* doc, const fs::path& file) {
  if (xmlSaveFileEnc(file.c_str(), doc, "UTF-8") <= 0) {
    throw std::runtime_error("cannot write " + file.string());
  }
}

// Puts a text before the children of every element outside the CFDI's own
// vocabulary, which shows whether the string leaks it: only the templates of
// an unknown vocabulary give it. The fixtures are read without the blanks
// that indent them, and no text follows a child: the tree keeps one text per
// element, apart from its children, so it cannot give the stylesheet's
// interleaving of text and children within an unknown element.
void give_complements_text(xmlNode* element) {
  for (xmlNode* child = element->children; child != nullptr; child = child->next) {
    if (child->type == XML_ELEMENT_NODE) give_complements_text(child);
  }
  const bool own = element->ns != nullptr && xmlStrEqual(element->ns->prefix, BAD_CAST "cfdi");
  if (own) return;
  const std::string text =
      std::string(" texto  de ") + reinterpret_cast<const char*>(element->name);
  xmlNode* node = xmlNewText(BAD_CAST text.c_str());
  if (element->children == nullptr) {
    xmlAddChild(element, node);
  } else {
    xmlAddPrevSibling(element->children, node);
  }
}

// Every 3.3 fixture made a 4.0 document by its root's namespace and Version
// alone (the string needs no valid document): a complement both definitions
// include gives the same fields; one of 3.3 only (Pagos 1.0, Carta Porte 1.0,
// third parties 1.1, ...) is unknown to 4.0 and gives only its text.
TEST(Complement40Fixtures, The33FixturesMovedInto40MatchThe40Stylesheet) {
  CFDI_REQUIRE_SAT_ORACLE();
  const test_support::TemporaryFolder folder;
  const auto names = fixture_names(kFixtures33);
  ASSERT_FALSE(names.empty()) << "no fixtures in " << kFixtures33;
  for (const std::string& name : names) {
    Doc doc = load(kFixtures33 / (name + ".xml"), XML_PARSE_NOBLANKS);
    xmlNode* root = xmlDocGetRootElement(doc.get());
    ASSERT_NE(root->ns, nullptr) << name;
    xmlFree(const_cast<xmlChar*>(root->ns->href));
    root->ns->href = xmlStrdup(BAD_CAST "http://www.sat.gob.mx/cfd/4");
    xmlSetProp(root, BAD_CAST "Version", BAD_CAST "4.0");
    give_complements_text(root);
    const fs::path file = folder.path() / (name + "-40.xml");
    save(doc.get(), file);
    expect_same_as_oracle(file, name + " in a 4.0 document");
  }
}

// The one element an XPath expression selects; the prefixes are those of
// the library's 4.0 table.
xmlNode* select_one(xmlDoc* doc, const std::string& xpath) {
  std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context(xmlXPathNewContext(doc),
                                                                           xmlXPathFreeContext);
  for (const KnownNamespace& known : known_namespaces(CfdiVersion::k40)) {
    xmlXPathRegisterNs(context.get(), BAD_CAST std::string(known.prefix).c_str(),
                       BAD_CAST std::string(known.uri).c_str());
  }
  std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> found(
      xmlXPathEvalExpression(BAD_CAST xpath.c_str(), context.get()), xmlXPathFreeObject);
  if (!found || found->nodesetval == nullptr || found->nodesetval->nodeNr != 1) {
    throw std::runtime_error("XPath does not select one node: " + xpath);
  }
  return found->nodesetval->nodeTab[0];
}

enum class Edit { kRemoveAttribute, kRemoveElement, kMoveToComplemento };

TEST(Complement40Quirks, EditedFixturesMatchTheStylesheet) {
  CFDI_REQUIRE_SAT_ORACLE();
  const struct {
    const char* label;
    const char* fixture;
    const char* xpath;
    Edit edit;
    const char* attribute = nullptr;
  } cases[] = {
      {"a required payment field that is absent gives an empty field", "pago20",
       "//pago20:DoctoRelacionado", Edit::kRemoveAttribute, "ImpSaldoAnt"},
      {"a required withheld-tax field that is absent gives an empty field", "pago20",
       "(//pago20:RetencionDR)[1]", Edit::kRemoveAttribute, "TasaOCuotaDR"},
      {"payment totals are optional as a whole", "pago20", "//pago20:Totales",
       Edit::kRemoveElement},
      {"a payment's taxes may be only transfers", "pago20", "//pago20:RetencionesP",
       Edit::kRemoveElement},
      {"a required address field that is absent gives an empty field", "cce20",
       "//cce20:Emisor/cce20:Domicilio", Edit::kRemoveAttribute, "Calle"},
      {"a required foreign-trade field that is absent gives an empty field", "cce20",
       "//cce20:ComercioExterior", Edit::kRemoveAttribute, "CertificadoOrigen"},
      {"a nested foreign-trade element gives its fields anywhere", "cce20", "//cce20:Mercancia",
       Edit::kMoveToComplemento},
      {"a required permit number that is absent gives an empty field", "hidrocarburospetroliferos",
       "(//hidrocarburospetroliferos:HidroYPetro)[1]", Edit::kRemoveAttribute, "NumeroPermiso"},
      {"a concept complement under cfdi:Complemento still gives its fields",
       "hidrocarburospetroliferos", "(//hidrocarburospetroliferos:HidroYPetro)[2]",
       Edit::kMoveToComplemento},
      {"a required transport identifier that is absent gives an empty field", "cartaporte31",
       "//cartaporte31:CartaPorte", Edit::kRemoveAttribute, "IdCCP"},
      {"a transport element with a template of its own gives its fields anywhere", "cartaporte31",
       "//cartaporte31:Mercancia", Edit::kMoveToComplemento},
      {"a transport 3.0 element with a template of its own gives its fields anywhere",
       "cartaporte30", "//cartaporte30:TiposFigura", Edit::kMoveToComplemento},
  };
  const test_support::TemporaryFolder folder;
  const fs::path file = folder.path() / "complement40-quirk.xml";
  for (const auto& c : cases) {
    Doc doc = load(kFixtures40 / (std::string(c.fixture) + ".xml"));
    xmlNode* node = select_one(doc.get(), c.xpath);
    switch (c.edit) {
      case Edit::kRemoveAttribute:
        ASSERT_EQ(xmlUnsetProp(node, BAD_CAST c.attribute), 0) << c.label;
        break;
      case Edit::kRemoveElement:
        xmlUnlinkNode(node);
        xmlFreeNode(node);
        break;
      case Edit::kMoveToComplemento: {
        xmlNode* root = xmlDocGetRootElement(doc.get());
        xmlNode* complemento = xmlNewChild(root, root->ns, BAD_CAST "Complemento", nullptr);
        xmlUnlinkNode(node);
        xmlAddChild(complemento, node);
        break;
      }
    }
    save(doc.get(), file);
    expect_same_as_oracle(file, c.label);
  }
}

}  // namespace
}  // namespace drovanexis
