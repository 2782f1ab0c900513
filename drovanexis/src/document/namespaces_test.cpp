#include "document/namespaces.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "tests/support/sat_folder.h"
#include "xml/xml_reader.h"

namespace drovanexis {
namespace {

const std::filesystem::path kSatDir = CFDI_SAT_DIR;
constexpr std::string_view kSatSite = "http://www.sat.gob.mx/sitio_internet/cfd/";

std::string read_whole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

const Element* find_descendant(const Element& from,
                               const std::function<bool(const Element&)>& matches) {
  for (const auto& child : from.children()) {
    if (matches(*child)) return child.get();
    if (const Element* found = find_descendant(*child, matches)) return found;
  }
  return nullptr;
}

bool has(const Element& e, std::string_view name, std::string_view value) {
  const std::string* found = e.attribute(name);
  return found != nullptr && *found == value;
}

// Each version's table agrees with the SAT schema it names: the schema's
// target namespace is the URI, it declares the complement's root element as
// a top-level element, and that element fixes the version attribute.
TEST(KnownNamespaces, EachEntryAgreesWithItsSchema) {
  CFDI_REQUIRE_SAT(std::filesystem::exists(kSatDir / "www.sat.gob.mx"),
                   "the SAT schemas in " << kSatDir);
  for (const CfdiVersion version : {CfdiVersion::k33, CfdiVersion::k40}) {
    const auto table = known_namespaces(version);
    EXPECT_EQ(table.size(), 35u);
    for (const KnownNamespace& known : table) {
      if (known.prefix == "xsi") continue;
      SCOPED_TRACE(std::string(version_text(version)) + " " + std::string(known.prefix));
      ASSERT_TRUE(known.schema_location.starts_with(kSatSite));
      const auto file = kSatDir / "www.sat.gob.mx/sitio_internet/cfd" /
                        std::string(known.schema_location.substr(kSatSite.size()));
      ASSERT_TRUE(std::filesystem::exists(file)) << file;
      const Element schema = parse_xml(read_whole(file));
      EXPECT_TRUE(has(schema, "targetNamespace", known.uri));
      if (known.place == ComplementPlace::kNone) continue;
      const Element* root = nullptr;
      for (const auto& child : schema.children()) {
        if (child->local_name() == "element" && has(*child, "name", known.root)) root = child.get();
      }
      ASSERT_NE(root, nullptr) << "no top-level element " << known.root;
      if (known.version_attribute.empty()) continue;
      const Element* attribute = find_descendant(*root, [&](const Element& e) {
        return e.local_name() == "attribute" && has(e, "name", known.version_attribute);
      });
      ASSERT_NE(attribute, nullptr);
      EXPECT_TRUE(has(*attribute, "fixed", known.version));
    }
  }
}

TEST(KnownNamespaces, TheCfdiPrefixNamesEachVersionsOwnNamespace) {
  EXPECT_EQ(namespace_by_prefix(CfdiVersion::k33, "cfdi")->uri, "http://www.sat.gob.mx/cfd/3");
  EXPECT_EQ(namespace_by_prefix(CfdiVersion::k40, "cfdi")->uri, "http://www.sat.gob.mx/cfd/4");
  EXPECT_EQ(namespace_by_uri("http://www.sat.gob.mx/cfd/4")->prefix, "cfdi");
  // Complements of one version only.
  EXPECT_EQ(namespace_by_prefix(CfdiVersion::k40, "pago10"), nullptr);
  EXPECT_EQ(namespace_by_prefix(CfdiVersion::k40, "terceros"), nullptr);
  EXPECT_EQ(namespace_by_prefix(CfdiVersion::k33, "pago20"), nullptr);
  EXPECT_EQ(namespace_by_prefix(CfdiVersion::k33, "cartaporte31"), nullptr);
  // ... whose namespaces are still known, so that the schema stage of the
  // other version can name them as not allowed there.
  EXPECT_EQ(namespace_by_uri("http://www.sat.gob.mx/Pagos20")->prefix, "pago20");
  EXPECT_TRUE(is_reserved_prefix("pago20"));
  EXPECT_TRUE(is_reserved_prefix("pago10"));
  EXPECT_EQ(namespace_by_prefix(CfdiVersion::k40, "hidrocarburospetroliferos")->place,
            ComplementPlace::kConcepto);
}

}  // namespace
}  // namespace drovanexis
