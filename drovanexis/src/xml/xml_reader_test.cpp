#include "xml/xml_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/sat_folder.h"

namespace drovanexis {
namespace {

const std::filesystem::path kSatDir = CFDI_SAT_DIR;

std::string read_whole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string attr(const Element& e, std::string_view name) {
  const std::string* value = e.attribute(name);
  return value == nullptr ? "<absent>" : *value;
}

TEST(XmlReader, ExampleInvoiceBecomesTheTreeWithCanonicalNames) {
  const auto file = kSatDir / "examples" / "cfdi33-ingreso.xml";
  CFDI_REQUIRE_SAT(std::filesystem::exists(file), "SAT examples not found at " << kSatDir);
  const Element root = parse_xml(read_whole(file));

  EXPECT_EQ(root.name(), "cfdi:Comprobante");
  EXPECT_EQ(attr(root, "Version"), "3.3");
  EXPECT_EQ(attr(root, "Total"), "1102.00");
  EXPECT_EQ(attr(root, "xmlns:cfdi"), "http://www.sat.gob.mx/cfd/3");
  EXPECT_EQ(attr(root, "xsi:schemaLocation"),
            "http://www.sat.gob.mx/cfd/3 http://www.sat.gob.mx/sitio_internet/cfd/3/cfdv33.xsd");
  // Declarations come before the ordinary attributes, as they were written.
  ASSERT_GE(root.attributes().size(), 3u);
  EXPECT_EQ(root.attributes()[0].name, "xmlns:cfdi");

  const Element* related = root.child("cfdi:CfdiRelacionados");
  ASSERT_NE(related, nullptr);
  EXPECT_EQ(related->children().size(), 4u);
  const Element* conceptos = root.child("cfdi:Conceptos");
  ASSERT_NE(conceptos, nullptr);
  ASSERT_EQ(conceptos->children().size(), 2u);
  const Element* traslado = conceptos->children()[0]
                                ->child("cfdi:Impuestos")
                                ->child("cfdi:Traslados")
                                ->child("cfdi:Traslado");
  ASSERT_NE(traslado, nullptr);
  EXPECT_EQ(attr(*traslado, "TasaOCuota"), "0.160000");
  const Element* complemento = root.child("cfdi:Complemento");
  ASSERT_NE(complemento, nullptr);
  const Element* timbre = complemento->child("tfd:TimbreFiscalDigital");
  ASSERT_NE(timbre, nullptr);
  EXPECT_EQ(attr(*timbre, "xmlns:tfd"), "http://www.sat.gob.mx/TimbreFiscalDigital");
  EXPECT_TRUE(root.text().empty()) << "indentation is not content";
}

TEST(XmlReader, EveryExampleParsesWithItsComplementUnderTheCanonicalPrefix) {
  const struct {
    const char* file;
    const char* complement;
  } cases[] = {
      {"cfdi33-pagos10.xml", "pago10:Pagos"},
      {"cfdi33-nomina12.xml", "nomina12:Nomina"},
      {"cfdi33-cartaporte10.xml", "cartaporte:CartaPorte"},
      {"cfdi33-cartaporte20.xml", "cartaporte20:CartaPorte"},
  };
  for (const auto& c : cases) {
    const auto file = kSatDir / "examples" / c.file;
    CFDI_REQUIRE_SAT(std::filesystem::exists(file), "SAT examples not found at " << kSatDir);
    const Element root = parse_xml(read_whole(file));
    const Element* complemento = root.child("cfdi:Complemento");
    ASSERT_NE(complemento, nullptr) << c.file;
    EXPECT_NE(complemento->child(c.complement), nullptr) << c.file;
  }
}

TEST(XmlReader, OtherPrefixesAndTheDefaultNamespaceMapToCanonicalNames) {
  const Element root = parse_xml(
      "<?xml version=\"1.0\"?>\n"
      "<Comprobante xmlns=\"http://www.sat.gob.mx/cfd/3\" xmlns:p=\"http://www.sat.gob.mx/Pagos\""
      " xmlns:x=\"urn:example:other\" Version=\"3.3\">"
      "<Complemento><p:Pagos Version=\"1.0\"/></Complemento>"
      "<Addenda><x:Nota x:tipo=\"a\">  texto &amp; m\xC3\xA1s </x:Nota></Addenda>"
      "</Comprobante>");
  EXPECT_EQ(root.name(), "cfdi:Comprobante");
  EXPECT_EQ(attr(root, "xmlns:cfdi"), "http://www.sat.gob.mx/cfd/3");
  EXPECT_EQ(attr(root, "xmlns:pago10"), "http://www.sat.gob.mx/Pagos");
  EXPECT_EQ(attr(root, "xmlns:x"), "urn:example:other");
  ASSERT_NE(root.child("cfdi:Complemento"), nullptr);
  EXPECT_NE(root.child("cfdi:Complemento")->child("pago10:Pagos"), nullptr);
  const Element* nota = root.child("cfdi:Addenda")->child("x:Nota");
  ASSERT_NE(nota, nullptr);
  EXPECT_EQ(attr(*nota, "x:tipo"), "a");
  EXPECT_EQ(nota->text(), "  texto & m\xC3\xA1s ");
}

TEST(XmlReader, DeclaredWindows1252TextBecomesUtf8) {
  const Element root = parse_xml(
      "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a Nombre=\"Espa\xF1"
      "a \x80\"/>");
  EXPECT_EQ(attr(root, "Nombre"),
            "Espa\xC3\xB1"
            "a \xE2\x82\xAC");
}

TEST(XmlReader, TextThatIsNotWellFormedReportsLineColumnAndReason) {
  const struct {
    const char* text;
    int line;
    const char* reason_part;
  } cases[] = {
      {"<a>\n<b></a>", 2, "mismatch"},
      {"<a x=\"1\" x=\"2\"/>", 1, "redefined"},
      {"<a>\n\n<b x=1/></a>", 3, "AttValue"},
      {"<a>\xC3(</a>", 1, "UTF-8"},
      {"<a>&nada;</a>", 1, "nada"},
      {"<a>", 1, ""},
      {"", 1, "empty"},
  };
  for (const auto& c : cases) {
    try {
      parse_xml(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const XmlParseError& error) {
      EXPECT_EQ(error.line(), c.line) << c.text << " -> " << error.what();
      EXPECT_NE(error.reason().find(c.reason_part), std::string::npos) << error.what();
      EXPECT_FALSE(error.reason().empty());
      if (c.line > 0) {
        EXPECT_GT(error.column(), 0) << error.what();
        EXPECT_NE(std::string(error.what()).find("line " + std::to_string(c.line) + ", column "),
                  std::string::npos)
            << error.what();
      }
    }
  }
}

TEST(XmlReader, DocumentTypeDeclarationsAreRefusedBeforeAnyEntityIsRead) {
  const char* bombs[] = {
      "<?xml version=\"1.0\"?>\n<!DOCTYPE a [<!ENTITY x \"xxxxxxxxxx\">"
      "<!ENTITY y \"&x;&x;&x;&x;&x;&x;&x;&x;&x;&x;\"><!ENTITY z \"&y;&y;&y;&y;&y;&y;&y;&y;\">]>"
      "<a v=\"&z;&z;&z;&z;&z;\">&z;&z;&z;</a>",
      "<!DOCTYPE a [<!ENTITY f SYSTEM \"file:///etc/passwd\">]><a>&f;</a>",
      "<!DOCTYPE a SYSTEM \"http://127.0.0.1:9/a.dtd\"><a/>",
  };
  for (const char* text : bombs) {
    try {
      parse_xml(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const XmlParseError& error) {
      EXPECT_NE(error.reason().find("DOCTYPE"), std::string::npos) << error.what();
    }
  }
}

TEST(XmlReader, SizeAndDepthLimits) {
  std::string big = "<a>";
  big.append(kMaxXmlBytes, ' ');
  big.append("</a>");
  try {
    parse_xml(big);
    ADD_FAILURE() << "a text over the size limit was accepted";
  } catch (const XmlParseError& error) {
    EXPECT_NE(error.reason().find("larger than 32 MiB"), std::string::npos) << error.what();
  }

  std::string deep;
  for (int i = 0; i <= kMaxXmlDepth; ++i) deep += "<a>";
  for (int i = 0; i <= kMaxXmlDepth; ++i) deep += "</a>";
  EXPECT_THROW(parse_xml(deep), XmlParseError);
  std::string fits;
  for (int i = 0; i < kMaxXmlDepth; ++i) fits += "<a>";
  for (int i = 0; i < kMaxXmlDepth; ++i) fits += "</a>";
  EXPECT_NO_THROW(parse_xml(fits));
}

}  // namespace
}  // namespace drovanexis
