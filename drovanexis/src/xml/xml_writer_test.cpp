// The XML writer: declarations of exactly the namespaces present, escaping,
// values left out, and trees read from external texts.
#include "xml/xml_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "document/tree_building.h"
#include "tests/support/command_output.h"
#include "tests/support/sat_folder.h"
#include "tests/support/test_folder.h"
#include "xml/xml_reader.h"

namespace drovanexis {
namespace {

bool contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

Element comprobante(const char* tipo) {
  Element root("cfdi:Comprobante");
  const Node node = Node::root(root);
  node.set("Version", "3.3");
  node.set("TipoDeComprobante", tipo);
  return root;
}

TEST(XmlWriter, WritesDeclarationAndOnlyTheNamespacesOfComplementsPresent) {
  Element root = comprobante("P");
  const Node complemento = Node::root(root).child("cfdi:Complemento");
  complemento.child("pago10:Pagos").set("Version", "1.0");
  const std::string xml = write_xml(root);

  EXPECT_TRUE(xml.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cfdi:Comprobante "));
  EXPECT_TRUE(contains(xml, "xmlns:cfdi=\"http://www.sat.gob.mx/cfd/3\""));
  EXPECT_TRUE(contains(xml, "xmlns:pago10=\"http://www.sat.gob.mx/Pagos\""));
  EXPECT_TRUE(contains(xml, "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""));
  EXPECT_TRUE(contains(xml,
                       "xsi:schemaLocation=\"http://www.sat.gob.mx/cfd/3 "
                       "http://www.sat.gob.mx/sitio_internet/cfd/3/cfdv33.xsd "
                       "http://www.sat.gob.mx/Pagos "
                       "http://www.sat.gob.mx/sitio_internet/cfd/Pagos/Pagos10.xsd\""));
  for (const char* absent : {"nomina12", "cartaporte", "TimbreFiscalDigital"}) {
    EXPECT_FALSE(contains(xml, absent)) << absent;
  }
  // Declarations come before the document's own attributes, on the root only.
  EXPECT_LT(xml.find("xsi:schemaLocation"), xml.find("Version=\"3.3\""));
  EXPECT_TRUE(contains(xml, "<pago10:Pagos Version=\"1.0\"/>"));
}

TEST(XmlWriter, StampDeclaresItsOwnNamespaceAndSchemaLocation) {
  Element root = comprobante("I");
  Node::root(root).child("cfdi:Complemento").child("tfd:TimbreFiscalDigital").set("Version", "1.1");
  const std::string xml = write_xml(root);
  EXPECT_TRUE(
      contains(xml,
               "<tfd:TimbreFiscalDigital xmlns:tfd=\"http://www.sat.gob.mx/TimbreFiscalDigital\" "
               "xsi:schemaLocation=\"http://www.sat.gob.mx/TimbreFiscalDigital "
               "http://www.sat.gob.mx/sitio_internet/cfd/TimbreFiscalDigital/"
               "TimbreFiscalDigitalv11.xsd\" Version=\"1.1\"/>"));
  EXPECT_EQ(xml.find("xmlns:tfd"), xml.rfind("xmlns:tfd"));
}

TEST(XmlWriter, EscapesValuesSoThatTheyReadBackUnchanged) {
  const std::string tricky = "A & B <c> \"d\" 'e'\ttab\nline\rret ñ";
  Element root = comprobante("I");
  Node::root(root).child("cfdi:Emisor").set("Nombre", tricky);
  const std::string xml = write_xml(root);
  EXPECT_TRUE(
      contains(xml, "Nombre=\"A &amp; B &lt;c&gt; &quot;d&quot; 'e'&#9;tab&#10;line&#13;ret ñ\""));
  const Element read = parse_xml(xml);
  EXPECT_EQ(*read.child("cfdi:Emisor")->attribute("Nombre"), tricky);
}

TEST(XmlWriter, LeavesOutEmptyAttributes) {
  Element root = comprobante("I");
  root.set_attribute("Serie", "");
  root.add_child("cfdi:Emisor").set_attribute("Nombre", "");
  const std::string xml = write_xml(root);
  EXPECT_FALSE(contains(xml, "Serie"));
  EXPECT_FALSE(contains(xml, "Nombre"));
  EXPECT_TRUE(contains(xml, "<cfdi:Emisor/>"));
}

TEST(XmlWriter, ZeroDiscountIsLeftOutForTransferAndPaymentReceiptsOnly) {
  struct Case {
    const char* tipo;
    bool kept;
  };
  for (const Case c : {Case{"T", false}, Case{"P", false}, Case{"I", true}, Case{"N", true}}) {
    Element root = comprobante(c.tipo);
    root.set_attribute("Descuento", "0.00");
    EXPECT_EQ(contains(write_xml(root), "Descuento=\"0.00\""), c.kept) << c.tipo;
  }
}

TEST(XmlWriter, TreeReadFromTextKeepsItsDeclarationsAndOrder) {
  const std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<c:Comprobante xmlns:c=\"http://www.sat.gob.mx/cfd/3\" xmlns:x=\"urn:other\" "
      "Total=\"1\" Version=\"3.3\">"
      "<c:Receptor UsoCFDI=\"G01\" Rfc=\"XAXX010101000\"/>"
      "<c:Addenda><x:Nota>texto libre</x:Nota></c:Addenda>"
      "</c:Comprobante>";
  Element read = parse_xml(text);
  // A stamp added after reading declares its namespace where it stands.
  read.add_child("cfdi:Complemento")
      .add_child("tfd:TimbreFiscalDigital")
      .set_attribute("Version", "1.1");
  const std::string xml = write_xml(read);

  EXPECT_TRUE(contains(xml, "xmlns:cfdi=\"http://www.sat.gob.mx/cfd/3\""));
  EXPECT_TRUE(contains(xml, "xmlns:x=\"urn:other\""));
  EXPECT_TRUE(contains(xml, "Total=\"1\" Version=\"3.3\""));
  EXPECT_TRUE(contains(xml, "<cfdi:Receptor UsoCFDI=\"G01\" Rfc=\"XAXX010101000\"/>"));
  EXPECT_TRUE(contains(xml, "<x:Nota>texto libre</x:Nota>"));
  EXPECT_FALSE(contains(xml, "cfdv33.xsd"));  // no schema location it did not carry
  EXPECT_TRUE(contains(xml, "<tfd:TimbreFiscalDigital xmlns:tfd="));

  const Element again = parse_xml(xml);
  EXPECT_EQ(again.children().size(), 3u);
  EXPECT_EQ(again.child("cfdi:Addenda")->children()[0]->text(), "texto libre");
}

// A CFDI 4.0 built without declarations is declared in the 4.0 namespaces:
// cfd/4 with cfdv40.xsd, and the complements present with theirs.
TEST(XmlWriter, BuiltTreeOfVersion40GetsThe40Namespaces) {
  Element root("cfdi:Comprobante");
  root.set_attribute("Version", "4.0");
  Element& concepto = root.add_child("cfdi:Conceptos").add_child("cfdi:Concepto");
  concepto.add_child("cfdi:ComplementoConcepto")
      .add_child("hidrocarburospetroliferos:HidroYPetro")
      .set_attribute("Version", "1.0");
  root.add_child("cfdi:Complemento").add_child("pago20:Pagos").set_attribute("Version", "2.0");
  const std::string xml = write_xml(root);

  EXPECT_TRUE(contains(xml, "xmlns:cfdi=\"http://www.sat.gob.mx/cfd/4\""));
  EXPECT_TRUE(contains(xml, "xmlns:pago20=\"http://www.sat.gob.mx/Pagos20\""));
  EXPECT_TRUE(contains(
      xml, "xmlns:hidrocarburospetroliferos=\"http://www.sat.gob.mx/hidrocarburospetroliferos\""));
  EXPECT_TRUE(contains(xml,
                       "xsi:schemaLocation=\"http://www.sat.gob.mx/cfd/4 "
                       "http://www.sat.gob.mx/sitio_internet/cfd/4/cfdv40.xsd "));
  EXPECT_TRUE(contains(xml, "sitio_internet/cfd/Pagos/Pagos20.xsd"));
  EXPECT_FALSE(contains(xml, "cfd/3"));
  EXPECT_EQ(parse_xml(xml).child("cfdi:Complemento")->children()[0]->name(), "pago20:Pagos");
}

// A complement of the other version is declared all the same: what is
// written always reads back.
TEST(XmlWriter, AComplementOfTheOtherVersionIsStillDeclared) {
  for (const auto& [version, complement, uri] :
       {std::tuple{"3.3", "pago20:Pagos", "http://www.sat.gob.mx/Pagos20"},
        std::tuple{"4.0", "pago10:Pagos", "http://www.sat.gob.mx/Pagos"}}) {
    Element root("cfdi:Comprobante");
    root.set_attribute("Version", version);
    root.add_child("cfdi:Complemento").add_child(complement).set_attribute("Version", "1");
    const std::string xml = write_xml(root);
    EXPECT_TRUE(contains(xml, uri)) << xml;
    EXPECT_EQ(parse_xml(xml).child("cfdi:Complemento")->children()[0]->name(), complement);
  }
}

std::string read_whole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The SAT's 4.0 examples read and written again stay valid for the 4.0
// schemas and keep their original string.
TEST(XmlWriter, Version40ExamplesWrittenAgainStayValidWithTheSameOriginalString) {
  const std::filesystem::path sat = CFDI_SAT_DIR;
  CFDI_REQUIRE_SAT(std::filesystem::exists(sat / "bin/validate-cfdi40"), "the SAT kit in " << sat);
  test_support::TestFolder folder;
  for (const char* name : {"cfdi40-ingreso.xml", "cfdi40-global.xml", "cfdi40-pagos20.xml",
                           "cfdi40-nomina12.xml", "cfdi40-cartaporte31.xml"}) {
    SCOPED_TRACE(name);
    const auto source = sat / "examples" / name;
    std::ofstream(name, std::ios::binary) << write_xml(parse_xml(read_whole(source)));
    const std::string bin = "'" + (sat / "bin").string() + "/";
    const auto valid = test_support::run_command_line(bin + "validate-cfdi40' " + name, true);
    EXPECT_EQ(valid.exit_code, 0) << valid.output;
    const auto ours = test_support::run_command_line(bin + "cadena-cfdi40' " + name);
    const auto theirs =
        test_support::run_command_line(bin + "cadena-cfdi40' '" + source.string() + "'");
    ASSERT_EQ(theirs.exit_code, 0);
    EXPECT_EQ(ours.output, theirs.output);
  }
}

}  // namespace
}  // namespace drovanexis
