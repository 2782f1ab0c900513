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

// The original string of a document carrying each complement, against the
// SAT's stylesheets run on the same file.
namespace drovanexis {
namespace {

namespace fs = std::filesystem;
using testing::run_sat_script;

const fs::path kFixtures = fs::path(CFDI_SOURCE_DIR) / "drovanexis/testdata/complements";

std::string read_whole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> fixture_names() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kFixtures)) {
    if (entry.path().extension() == ".xml") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Where our string and the stylesheets' part, so that a failure shows the field.
std::string first_difference(const std::string& ours, const std::string& oracle) {
  std::size_t at = 0;
  while (at < ours.size() && at < oracle.size() && ours[at] == oracle[at]) ++at;
  const std::size_t from = at < 60 ? 0 : at - 60;
  return "first difference at byte " + std::to_string(at) +
         "\n  ours:   " + ours.substr(from, 120) + "\n  oracle: " + oracle.substr(from, 120);
}

void expect_same_as_oracle(const fs::path& file, const std::string& label) {
  const auto oracle = run_sat_script("cadena-cfdi33", file);
  ASSERT_EQ(oracle.exit_code, 0) << label;
  const std::string ours = cadena_cfdi33(parse_xml(read_whole(file)));
  EXPECT_EQ(ours, oracle.output) << label << ": " << first_difference(ours, oracle.output);
}

// The folder is walked when the test runs, so that a fixture added later is
// covered without the test being built again.
TEST(ComplementFixtures, OriginalStringsEqualTheStylesheets) {
  CFDI_REQUIRE_SAT_ORACLE();
  for (const std::string& name : fixture_names()) {
    expect_same_as_oracle(kFixtures / (name + ".xml"), name);
  }
}

TEST(ComplementFixtures, AreValidAgainstTheSchemas) {
  CFDI_REQUIRE_SAT_ORACLE();
  for (const std::string& name : fixture_names()) {
    const auto result = run_sat_script("validate-cfdi33", kFixtures / (name + ".xml"));
    EXPECT_EQ(result.exit_code, 0) << name << " is not schema-valid";
  }
}

// Every complement that carries its own fields in the original string has a
// fixture named by its canonical prefix (the four older ones are also covered
// by the shared examples).
TEST(ComplementFixtures, EveryComplementHasOne) {
  for (const KnownNamespace& known : known_namespaces(CfdiVersion::k33)) {
    if (known.place == ComplementPlace::kNone || known.prefix == "tfd") continue;
    EXPECT_TRUE(fs::exists(kFixtures / (std::string(known.prefix) + ".xml")))
        << "no fixture for the complement " << known.prefix;
  }
}

// ---- Fixtures edited where the stylesheets have quirks ---------------------

struct DocDeleter {
  void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using Doc = std::unique_ptr<xmlDoc, DocDeleter>;

// The one element an XPath expression selects; the prefixes of the CFDI and
// of every complement are those of the library's table.
xmlNode* select_one(xmlDoc* doc, const std::string& xpath) {
  std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context(xmlXPathNewContext(doc),
                                                                           xmlXPathFreeContext);
  for (const KnownNamespace& known : known_namespaces(CfdiVersion::k33)) {
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

enum class Edit { kRemoveElement, kSetAttribute, kSetText, kMoveToComplemento };

TEST(ComplementQuirks, EditedFixturesMatchTheStylesheets) {
  CFDI_REQUIRE_SAT_ORACLE();
  const struct {
    const char* label;
    const char* fixture;
    const char* xpath;
    Edit edit;
    const char* attribute = nullptr;
    const char* value = nullptr;
  } cases[] = {
      {"an element value that is required but absent gives an empty field", "detallista",
       "//detallista:seller/detallista:gln", Edit::kRemoveElement},
      {"an element value that is optional and absent gives no field", "detallista",
       "//detallista:orderIdentification/detallista:ReferenceDate", Edit::kRemoveElement},
      {"element values are white-space normalised", "detallista",
       "//detallista:buyer/detallista:gln", Edit::kSetText, nullptr, "  0750  1234\t"},
      {"the vehicle number counts only in version 1.1", "ventavehiculos",
       "//ventavehiculos:VentaVehiculos", Edit::kSetAttribute, "version", "1.0"},
      {"the vehicle number counts only in version 1.1, compared without normalising",
       "ventavehiculos", "//ventavehiculos:VentaVehiculos", Edit::kSetAttribute, "version", " 1.1"},
      {"a required attribute that is absent gives an empty field", "implocal",
       "//implocal:ImpuestosLocales", Edit::kSetAttribute, "TotaldeTraslados", nullptr},
      {"an element looped over in place has no template of its own elsewhere", "implocal",
       "//implocal:RetencionesLocales", Edit::kMoveToComplemento},
      {"a concept complement under cfdi:Complemento still gives its fields", "iedu",
       "//iedu:instEducativas", Edit::kMoveToComplemento},
      {"a nested element with a template of its own gives its fields anywhere", "cce11",
       "//cce11:Mercancia", Edit::kMoveToComplemento},
  };
  const test_support::TemporaryFolder folder;
  const fs::path file = folder.path() / "complement-quirk.xml";
  for (const auto& c : cases) {
    const std::string source = (kFixtures / (std::string(c.fixture) + ".xml")).string();
    Doc doc(xmlReadFile(source.c_str(), nullptr, XML_PARSE_NONET));
    ASSERT_TRUE(doc) << source;
    xmlNode* node = select_one(doc.get(), c.xpath);
    switch (c.edit) {
      case Edit::kRemoveElement:
        xmlUnlinkNode(node);
        xmlFreeNode(node);
        break;
      case Edit::kSetText: xmlNodeSetContent(node, BAD_CAST c.value); break;
      case Edit::kSetAttribute:
        if (c.value == nullptr) {
          ASSERT_EQ(xmlUnsetProp(node, BAD_CAST c.attribute), 0) << c.label;
        } else {
          xmlSetProp(node, BAD_CAST c.attribute, BAD_CAST c.value);
        }
        break;
      case Edit::kMoveToComplemento: {
        xmlNode* root = xmlDocGetRootElement(doc.get());
        xmlNode* complemento = xmlNewChild(root, root->ns, BAD_CAST "Complemento", nullptr);
        xmlUnlinkNode(node);
        xmlAddChild(complemento, node);
        break;
      }
    }
    ASSERT_GT(xmlSaveFileEnc(file.c_str(), doc.get(), "UTF-8"), 0);
    expect_same_as_oracle(file, c.label);
  }
}

}  // namespace
}  // namespace drovanexis
