#include "document/cfdi_version.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace drovanexis {
namespace {

Element root_with(const char* name, const char* version, const char* uri) {
  Element root(name);
  if (uri != nullptr) root.append_new_attribute("xmlns:cfdi", uri);
  if (version != nullptr) root.append_new_attribute("Version", version);
  return root;
}

constexpr const char* kCfd3 = "http://www.sat.gob.mx/cfd/3";
constexpr const char* kCfd4 = "http://www.sat.gob.mx/cfd/4";

TEST(CfdiVersion, NamespaceAndVersionChooseTheVersionAndMustAgree) {
  const struct {
    const char* name;
    const char* version;
    const char* uri;  // nullptr: a built tree, without declarations
    std::optional<CfdiVersion> expected;
    const char* message_part;  // for a refusal
  } cases[] = {
      {"cfdi:Comprobante", "3.3", kCfd3, CfdiVersion::k33, ""},
      {"cfdi:Comprobante", "4.0", kCfd4, CfdiVersion::k40, ""},
      {"cfdi:Comprobante", "3.3", nullptr, CfdiVersion::k33, ""},
      {"cfdi:Comprobante", "4.0", nullptr, CfdiVersion::k40, ""},
      {"cfdi:Comprobante", "3.3", kCfd4, std::nullopt,
       "namespace http://www.sat.gob.mx/cfd/4 of CFDI 4.0 but its Version is \"3.3\""},
      {"cfdi:Comprobante", "4.0", kCfd3, std::nullopt,
       "namespace http://www.sat.gob.mx/cfd/3 of CFDI 3.3 but its Version is \"4.0\""},
      {"cfdi:Comprobante", "3.2", kCfd3, std::nullopt, "unknown CFDI version \"3.2\""},
      {"cfdi:Comprobante", "4.0 ", kCfd4, std::nullopt, "unknown CFDI version \"4.0 \""},
      {"cfdi:Comprobante", nullptr, kCfd4, std::nullopt, "has no Version attribute"},
      {"retenciones:Retenciones", "2.0", nullptr, std::nullopt,
       "\"retenciones:Retenciones\", not a CFDI's cfdi:Comprobante"},
  };
  for (const auto& c : cases) {
    const Element root = root_with(c.name, c.version, c.uri);
    const std::string label =
        std::string(c.name) + " " + (c.version ? c.version : "-") + " " + (c.uri ? c.uri : "built");
    if (c.expected) {
      EXPECT_EQ(cfdi_version(root), *c.expected) << label;
      continue;
    }
    try {
      cfdi_version(root);
      ADD_FAILURE() << label << ": accepted";
    } catch (const CfdiVersionError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message_part), std::string::npos)
          << label << ": " << error.what();
    }
  }
}

}  // namespace
}  // namespace drovanexis
