#include "xml/xml_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "document/cfdi_version.h"
#include "tests/support/sat_folder.h"
#include "xml/xml_writer.h"

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

// Both versions' examples read into one model: "cfdi:" names the CFDI's
// elements in both, and the root tells the version.
TEST(XmlReader, EveryExampleParsesWithItsComplementUnderTheCanonicalPrefix) {
  const struct {
    const char* file;
    const char* complement;
  } cases[] = {
      {"cfdi33-ingreso.xml", "tfd:TimbreFiscalDigital"},
      {"cfdi33-pagos10.xml", "pago10:Pagos"},
      {"cfdi33-nomina12.xml", "nomina12:Nomina"},
      {"cfdi33-cartaporte10.xml", "cartaporte:CartaPorte"},
      {"cfdi33-cartaporte20.xml", "cartaporte20:CartaPorte"},
      {"cfdi40-pagos20.xml", "pago20:Pagos"},
      {"cfdi40-nomina12.xml", "nomina12:Nomina"},
      {"cfdi40-cartaporte31.xml", "cartaporte31:CartaPorte"},
      {"cfdi40-ingreso.xml", "tfd:TimbreFiscalDigital"},
      {"cfdi40-global.xml", "tfd:TimbreFiscalDigital"},
  };
  for (const auto& c : cases) {
    const auto file = kSatDir / "examples" / c.file;
    CFDI_REQUIRE_SAT(std::filesystem::exists(file), "SAT examples not found at " << kSatDir);
    const Element root = parse_xml(read_whole(file));
    const Element* complemento = root.child("cfdi:Complemento");
    ASSERT_NE(complemento, nullptr) << c.file;
    EXPECT_NE(complemento->child(c.complement), nullptr) << c.file;
    EXPECT_NE(root.child("cfdi:Emisor"), nullptr) << c.file;
    const bool is40 = std::string_view(c.file).starts_with("cfdi40");
    EXPECT_EQ(cfdi_version(root), is40 ? CfdiVersion::k40 : CfdiVersion::k33) << c.file;
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
      // One line, though the XML library words some errors over two.
      EXPECT_EQ(error.reason().find('\n'), std::string::npos) << error.what();
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

std::string reason_of(std::string_view text) {
  try {
    parse_xml(text);
  } catch (const XmlParseError& error) {
    return error.what();
  }
  return "<accepted>";
}

TEST(XmlReader, NamesFollowTheNamespaceNotThePrefix) {
  const Element root = parse_xml(
      "<x:Comprobante xmlns:x=\"http://www.sat.gob.mx/cfd/3\" "
      "xmlns:il=\"http://www.sat.gob.mx/implocal\""
      " xmlns:q=\"http://www.w3.org/2001/XMLSchema-instance\" q:schemaLocation=\"a b\">"
      "<x:Complemento><il:ImpuestosLocales version=\"1.0\"/></x:Complemento>"
      "</x:Comprobante>");
  EXPECT_EQ(root.name(), "cfdi:Comprobante");
  EXPECT_EQ(attr(root, "xmlns:cfdi"), "http://www.sat.gob.mx/cfd/3");
  EXPECT_EQ(attr(root, "xmlns:implocal"), "http://www.sat.gob.mx/implocal");
  EXPECT_EQ(attr(root, "xsi:schemaLocation"), "a b");
  ASSERT_NE(root.child("cfdi:Complemento"), nullptr);
  EXPECT_NE(root.child("cfdi:Complemento")->child("implocal:ImpuestosLocales"), nullptr);
}

TEST(XmlReader, ForeignUseOfAReservedPrefixAndUndeclaredPrefixesAreRefused) {
  const struct {
    const char* text;
    const char* reason_part;
  } cases[] = {
      {"<cfdi:Comprobante xmlns:cfdi=\"urn:otro\" Version=\"3.3\"/>",
       "\"cfdi\" is bound to \"urn:otro\""},
      {"<a xmlns:tfd=\"urn:otro\"><tfd:TimbreFiscalDigital/></a>", "\"tfd\" is bound"},
      // Reserved in either version: both CFDI namespaces, a 4.0-only complement.
      {"<cfdi:Comprobante xmlns:cfdi=\"urn:otro\" Version=\"4.0\"/>",
       "reserved for http://www.sat.gob.mx/cfd/3 and http://www.sat.gob.mx/cfd/4"},
      {"<a xmlns:pago20=\"urn:otro\"/>", "\"pago20\" is bound to \"urn:otro\""},
      // The two CFDI namespaces both read as "cfdi": a text may use only one.
      {"<cfdi:Comprobante xmlns:cfdi=\"http://www.sat.gob.mx/cfd/4\" Version=\"4.0\">"
       "<c3:Emisor xmlns:c3=\"http://www.sat.gob.mx/cfd/3\"/></cfdi:Comprobante>",
       "uses both CFDI namespaces"},
      {"<Comprobante xmlns=\"http://www.sat.gob.mx/cfd/3\" xmlns:c4=\"http://www.sat.gob.mx/cfd/4\""
       " c4:Version=\"4.0\"/>",
       "uses both CFDI namespaces"},
      {"<xsi:c/>", "prefix xsi on c is not defined"},
      {"<a>\n<b xsi:nil=\"true\"/></a>", "prefix xsi for nil on b is not defined"},
      {"<a><p:b xmlns:p=\"urn:p\"/><p:c/></a>", "prefix p on c is not defined"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(reason_of(c.text).find(c.reason_part), std::string::npos)
        << c.text << " -> " << reason_of(c.text);
  }
  EXPECT_EQ(reason_of("<a>\n<b xsi:nil=\"true\"/></a>").rfind("line 2, column ", 0), 0u);
}

// Every limit refuses the smallest text over it with a message naming the
// limit, and accepts the text just at it.
TEST(XmlReader, EachLimitRefusesJustAboveAndAcceptsAtTheLimit) {
  // The first 100 are namespace declarations, which count as attributes.
  const auto element_with_attributes = [](std::size_t count) {
    std::string text = "<a";
    for (std::size_t i = 0; i < count; ++i) {
      text += i < 100 ? " xmlns:n" + std::to_string(i) + "=\"urn:n\""
                      : " a" + std::to_string(i) + "=\"\"";
    }
    return text + "/>";
  };
  const auto element_with_declarations = [](std::size_t count) {
    std::string text = "<a";
    for (std::size_t i = 0; i < count; ++i) {
      text += " xmlns:n" + std::to_string(i) + "=\"urn:" + std::to_string(i) + "\"";
    }
    return text + "/>";
  };
  // Declarations spread over nested elements, at most 50 on each.
  const auto nested_declarations = [](std::size_t count) {
    std::string open, close;
    for (std::size_t i = 0; i < count; i += 50) {
      open += "<a";
      for (std::size_t j = i; j < std::min(count, i + 50); ++j) {
        open += " xmlns:n" + std::to_string(j) + "=\"urn:" + std::to_string(j) + "\"";
      }
      open += ">";
      close += "</a>";
    }
    return open + close;
  };
  const auto children = [](std::size_t count) {
    std::string text = "<r>";
    for (std::size_t i = 1; i < count; ++i) text += "<a/>";
    return text + "</r>";
  };
  const auto long_attribute = [](std::size_t length) {
    return "<a v=\"" + std::string(length, 'v') + "\"/>";
  };
  // Content in two parts (a CDATA section after text) counts as one value.
  const auto long_content = [](std::size_t length) {
    return "<a>" + std::string(length / 2, 't') + "<![CDATA[" +
           std::string(length - length / 2, 'c') + "]]></a>";
  };
  // Names "r" and "e", then attribute names of their own, 100 to an element.
  const auto distinct_names = [](std::size_t count) {
    std::string text = "<r>";
    for (std::size_t i = 2; i < count; i += 100) {
      text += "<e";
      for (std::size_t j = i; j < std::min(count, i + 100); ++j) {
        text += " a" + std::to_string(j) + "=\"\"";
      }
      text += "/>";
    }
    return text + "<e/></r>";
  };
  const struct {
    const char* limit;
    std::function<std::string(std::size_t)> text;
    std::size_t at_limit;
    const char* reason_part;
  } cases[] = {
      {"attributes", element_with_attributes, kMaxXmlAttributes,
       "more than 256 attributes (namespace declarations included)"},
      {"declarations on one element", element_with_declarations, kMaxXmlNamespacesInScope,
       "more than 128 namespace declarations are in scope"},
      {"declarations in scope", nested_declarations, kMaxXmlNamespacesInScope,
       "more than 128 namespace declarations are in scope"},
      {"elements", children, kMaxXmlElements, "more than 1000000 elements"},
      {"attribute value", long_attribute, kMaxXmlValueBytes,
       "value of attribute \"v\" is longer than 8 MiB"},
      {"content", long_content, kMaxXmlValueBytes, "content of an element is longer than 8 MiB"},
      {"distinct names", distinct_names, kMaxXmlDistinctNames,
       "more than 10000 distinct element and attribute names"},
  };
  for (const auto& c : cases) {
    EXPECT_NO_THROW(parse_xml(c.text(c.at_limit))) << c.limit;
    const std::string reason = reason_of(c.text(c.at_limit + 1));
    EXPECT_NE(reason.find(c.reason_part), std::string::npos) << c.limit << ": " << reason;
    EXPECT_EQ(reason.rfind("line 1, column ", 0), 0u) << c.limit << ": " << reason;
  }
}

// The count of attributes looks at start tags only: an equals sign in a
// value, a comment, a CDATA section or a processing instruction is not one.
TEST(XmlReader, EqualsSignsOutsideStartTagsAreNotCountedAsAttributes) {
  const std::string many(kMaxXmlAttributes + 10, '=');
  const std::string texts[] = {
      "<a v=\"" + many + "\" w='" + many + "'/>",
      "<a><!-- " + many + " --></a>",
      "<a><![CDATA[" + many + "]]></a>",
      "<?pi " + many + "?><a/>",
      "<a>" + many + "</a>",
  };
  for (const auto& text : texts) EXPECT_NO_THROW(parse_xml(text)) << text.substr(0, 20);
}

TEST(XmlReader, EncodingsOtherThanUtf8AndSingleByteOnesAreRefused) {
  const struct {
    std::string text;
    const char* reason_part;
  } cases[] = {
      {std::string("\xFF\xFE<\0a\0/\0>\0", 10), "NUL byte"},
      {std::string("<\0a\0/\0>\0", 8), "NUL byte"},
      {"\x4C\x6F\xA7\x94\x93\x40", "EBCDIC"},
      {"<?xml version=\"1.0\" encoding=\"UTF-7\"?><a/>", "encoding \"UTF-7\" is not accepted"},
      {"<?xml version='1.0' encoding='utf-16'?><a/>", "encoding \"utf-16\" is not accepted"},
  };
  for (const auto& c : cases) {
    EXPECT_NE(reason_of(c.text).find(c.reason_part), std::string::npos) << reason_of(c.text);
  }
  for (const char* accepted : {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>",
                               "<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><a/>",
                               "<?xml version=\"1.0\" encoding=\"us-ascii\"?><a/>"}) {
    EXPECT_NO_THROW(parse_xml(accepted)) << accepted;
  }
}

// The XML library reports a failed encoding conversion on its own, without
// the parser; that message must become the error, not text on the terminal.
TEST(XmlReader, DiagnosticsNeverReachStandardError) {
  std::FILE* captured = std::tmpfile();
  ASSERT_NE(captured, nullptr);
  std::fflush(stderr);
  const int saved = ::dup(2);
  ::dup2(::fileno(captured), 2);
  const std::string reason = reason_of(
      "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a>\xE9</a>"
      "\n<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xE9\x28</a>");
  const std::string second = reason_of("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xE9\x28</a>");
  const std::string third =
      reason_of("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\x81</a>");
  std::fflush(stderr);
  ::dup2(saved, 2);
  ::close(saved);
  const long written =
      std::ftell(captured) >= 0 ? (std::fseek(captured, 0, SEEK_END), std::ftell(captured)) : -1;
  std::fclose(captured);
  EXPECT_EQ(written, 0) << "the XML library wrote to standard error";
  EXPECT_NE(reason, "<accepted>");
  EXPECT_NE(second, "<accepted>");
  EXPECT_NE(third.find("conversion"), std::string::npos) << third;
}

bool same_tree(const Element& a, const Element& b, std::string& where) {
  if (a.name() != b.name() || a.text() != b.text() ||
      a.attributes().size() != b.attributes().size() ||
      a.children().size() != b.children().size()) {
    where = a.name() + " / " + b.name();
    return false;
  }
  for (std::size_t i = 0; i < a.attributes().size(); ++i) {
    if (a.attributes()[i].name != b.attributes()[i].name ||
        a.attributes()[i].value != b.attributes()[i].value) {
      where = a.name() + "@" + a.attributes()[i].name;
      return false;
    }
  }
  for (std::size_t i = 0; i < a.children().size(); ++i) {
    if (!same_tree(*a.children()[i], *b.children()[i], where)) return false;
  }
  return true;
}

// What the writer makes of a tree it was given by the reader reads back to
// the same tree.
TEST(XmlReader, WhatTheWriterWritesReadsBackToTheSameTree) {
  const char* texts[] = {
      "<a x=\"\" y=\"1\"/>",
      "<a><b xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:nil=\"true\"/></a>",
      "<r xmlns=\"urn:r\"><C xmlns=\"http://www.sat.gob.mx/cfd/3\"><F xmlns=\"\"><G/></F>"
      "<H/></C><I/></r>",
      "<p:r xmlns:p=\"http://www.sat.gob.mx/cfd/3\" xmlns:cfdi=\"http://www.sat.gob.mx/cfd/3\">"
      "<cfdi:a p:b=\"1\"/></p:r>",
      "<r xmlns:p=\"urn:p\"><p:a xmlns:p=\"http://www.sat.gob.mx/cfd/3\"><p:b/></p:a><p:c/></r>",
      "<a>x<b/>y<![CDATA[<&>]]>&#13;&#9;</a>",
      "<cfdi:Comprobante xmlns:cfdi=\"http://www.sat.gob.mx/cfd/3\" Version=\"3.3\" Sello=\"\">"
      "<cfdi:Complemento><tfd:TimbreFiscalDigital "
      "xmlns:tfd=\"http://www.sat.gob.mx/TimbreFiscalDigital\" UUID=\"u\"/></cfdi:Complemento>"
      "</cfdi:Comprobante>",
  };
  for (const char* text : texts) {
    const Element first = parse_xml(text);
    const std::string written = write_xml(first);
    Element again("");
    ASSERT_NO_THROW(again = parse_xml(written)) << text << "\nwritten:\n" << written;
    std::string where;
    EXPECT_TRUE(same_tree(first, again, where)) << text << "\nwritten:\n"
                                                << written << "\nat " << where;
  }
}

}  // namespace
}  // namespace drovanexis
