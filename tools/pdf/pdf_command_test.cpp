// "drovanexis pdf" as a user runs it: the demo's six documents made with the
// library's own building calls and stamped by the sandbox, printed, and the
// PDFs read back with poppler's pdftotext, pdffonts and pdftoppm and with
// zbarimg.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "api/scenario_calls.h"
#include "document/document.h"
#include "document/document_registry.h"
#include "drovanexis.h"
#include "tests/support/command_output.h"
#include "tests/support/sat_folder.h"
#include "tests/support/test_folder.h"
#include "tools/pdf/amount_words.h"
#include "tools/pdf/decimal_text.h"
#include "xml/xml_reader.h"
#include "xml/xml_writer.h"

namespace {

namespace fs = std::filesystem;
using drovanexis::Element;

const fs::path kBin = fs::path(CFDI_BINARY_DIR) / "bin";
constexpr const char* kPassword = "24681357q";
constexpr const char* kLegend = "Este documento es una representación impresa de un CFDI";

std::string read_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_file(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string quoted(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

struct Outcome {
  int exit_code = -1;
  std::string out;
};

// Runs a command line in the working folder; standard error is joined to
// standard output, or dropped (zbarimg talks there about the desktop bus).
Outcome run(const std::string& program, const std::vector<std::string>& args,
            bool keep_errors = true) {
  std::string line = quoted(program);
  for (const auto& arg : args) line += " " + quoted(arg);
  line += keep_errors ? " 2>&1" : " 2>/dev/null";
  const auto result = test_support::run_command_line(line + " </dev/null");
  return {result.exit_code.value_or(-1), result.output};
}

Outcome drovanexis(const std::vector<std::string>& args) {
  return run((kBin / "drovanexis").string(), args);
}

// The text of a PDF, with the white space and hyphens taken out: a value
// wrapped in a narrow column comes out of pdftotext split over lines, and a
// line that ends in a hyphen is joined without it.
std::string squeezed(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c != ' ' && c != '\n' && c != '\t' && c != '\f' && c != '-') out += c;
  }
  return out;
}

std::string pdf_text(const std::string& pdf) { return run("pdftotext", {pdf, "-"}).out; }

int pdf_pages(const std::string& pdf) {
  std::smatch match;
  const std::string info = run("pdfinfo", {pdf}).out;
  return std::regex_search(info, match, std::regex("Pages:\\s+(\\d+)")) ? std::stoi(match[1]) : -1;
}

// The tree a document's handle holds, as the processing call would seal it.
Element tree_of(std::int32_t handle) {
  drovanexis::Document* document = drovanexis::DocumentRegistry::instance().find(handle);
  if (document == nullptr) throw std::runtime_error("no document for the handle");
  if (document->complete_xml) return drovanexis::parse_xml(*document->complete_xml);
  return std::move(document->root);
}

struct Scenario {
  const char* name;
  const char* issuer;
  std::int32_t (*build)();
  // Values of the complement the PDF must show, as paths into the stamped
  // document: element names from cfdi:Complemento, then "@Attribute".
  std::vector<std::pair<std::string, std::string>> complement_values;
};

std::int32_t build_external_sample() {
  return drovanexis::test::build_external(read_file("ejemploexterno.xml").c_str());
}

const std::vector<Scenario>& scenarios() {
  static const std::vector<Scenario> all = {
      {"simple", "CACX7605101P8", drovanexis::test::build_simple_invoice, {}},
      {"pagos",
       "KIJ0906199R1",
       drovanexis::test::build_payments_receipt,
       {{"pago10:Pagos/pago10:Pago", "Monto"},
        {"pago10:Pagos/pago10:Pago", "FechaPago"},
        {"pago10:Pagos/pago10:Pago/pago10:DoctoRelacionado", "IdDocumento"},
        {"pago10:Pagos/pago10:Pago/pago10:DoctoRelacionado", "ImpPagado"},
        {"pago10:Pagos/pago10:Pago/pago10:DoctoRelacionado", "ImpSaldoInsoluto"}}},
      {"nomina",
       "KIJ0906199R1",
       drovanexis::test::build_payroll_receipt,
       {{"nomina12:Nomina/nomina12:Receptor", "Curp"},
        {"nomina12:Nomina/nomina12:Receptor", "NumEmpleado"},
        {"nomina12:Nomina/nomina12:Percepciones/nomina12:Percepcion", "Concepto"},
        {"nomina12:Nomina/nomina12:Deducciones/nomina12:Deduccion", "Concepto"},
        {"nomina12:Nomina", "TotalPercepciones"}}},
      {"cartaporte10",
       "KIJ0906199R1",
       drovanexis::test::build_carta_porte10,
       {{"cartaporte:CartaPorte/cartaporte:Mercancias/cartaporte:Mercancia", "Descripcion"},
        {"cartaporte:CartaPorte/cartaporte:Mercancias/cartaporte:AutotransporteFederal/"
         "cartaporte:IdentificacionVehicular",
         "PlacaVM"},
        {"cartaporte:CartaPorte/cartaporte:FiguraTransporte/cartaporte:Operadores/"
         "cartaporte:Operador",
         "RFCOperador"}}},
      {"cartaporte20",
       "KIJ0906199R1",
       drovanexis::test::build_carta_porte20,
       {{"cartaporte20:CartaPorte/cartaporte20:Ubicaciones/cartaporte20:Ubicacion", "IDUbicacion"},
        {"cartaporte20:CartaPorte/cartaporte20:Mercancias/cartaporte20:Mercancia", "Descripcion"},
        {"cartaporte20:CartaPorte/cartaporte20:Mercancias/cartaporte20:Autotransporte/"
         "cartaporte20:IdentificacionVehicular",
         "PlacaVM"},
        {"cartaporte20:CartaPorte/cartaporte20:FiguraTransporte/cartaporte20:TiposFigura",
         "RFCFigura"}}},
      {"externo", "CACX7605101P8", build_external_sample, {}},
  };
  return all;
}

const Element* descend(const Element& from, const std::string& steps) {
  const Element* element = &from;
  std::stringstream path(steps);
  std::string step;
  while (element != nullptr && std::getline(path, step, '/')) element = element->child(step);
  return element;
}

std::string attribute_of(const Element* element, const char* name) {
  const std::string* value = element ? element->attribute(name) : nullptr;
  return value ? *value : std::string();
}

// The six documents, stamped once for all the tests, in one folder.
class PdfCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = std::make_unique<test_support::TestFolder>();
    setup_error_ = make_stamped_scenarios();
  }
  static void TearDownTestSuite() { folder_.reset(); }

  void SetUp() override { ASSERT_EQ(setup_error_, "") << setup_error_; }

  static std::string make_stamped_scenarios() {
    const Outcome init = run((kBin / "drovanexis-sandbox").string(), {"init", "."});
    if (init.exit_code != 0) return "drovanexis-sandbox init: " + init.out;
    for (const auto& scenario : scenarios()) {
      const std::int32_t handle = scenario.build();
      write_file(std::string(scenario.name) + ".xml", drovanexis::write_xml(tree_of(handle)));
      Drovanexis_Free(handle);
      const std::string issuer = scenario.issuer;
      const Outcome stamped =
          drovanexis({"stamp", "--cer", "CSD_" + issuer + ".cer", "--key", "CSD_" + issuer + ".key",
                      "--password", kPassword, std::string(scenario.name) + ".xml"});
      if (stamped.exit_code != 0) return std::string("stamp ") + scenario.name + ": " + stamped.out;
    }
    return {};
  }

  static std::unique_ptr<test_support::TestFolder> folder_;
  static std::string setup_error_;
};

std::unique_ptr<test_support::TestFolder> PdfCommandTest::folder_;
std::string PdfCommandTest::setup_error_;

// Every value the printed form lists, read from the stamped document itself,
// must be in the PDF's text: the PDF `pdf` printed from `stamped`, with the
// values of the complement at `complement_values`.
void expect_printed_values(
    const std::string& stamped, const std::string& pdf,
    const std::vector<std::pair<std::string, std::string>>& complement_values) {
  ASSERT_EQ(read_file(pdf).substr(0, 5), "%PDF-");
  const std::string text = squeezed(pdf_text(pdf));

  const Element doc = drovanexis::parse_xml(read_file(stamped));
  const Element* emisor = doc.child("cfdi:Emisor");
  const Element* receptor = doc.child("cfdi:Receptor");
  const Element* stamp = descend(doc, "cfdi:Complemento/tfd:TimbreFiscalDigital");
  ASSERT_NE(stamp, nullptr);
  const Outcome tfd_string = drovanexis({"cadena", "--tfd", stamped});
  ASSERT_EQ(tfd_string.exit_code, 0);

  std::map<std::string, std::string> expected = {
      {"issuer name", attribute_of(emisor, "Nombre")},
      {"issuer RFC", attribute_of(emisor, "Rfc")},
      {"regime", attribute_of(emisor, "RegimenFiscal")},
      {"place of issue", attribute_of(&doc, "LugarExpedicion")},
      {"series", attribute_of(&doc, "Serie")},
      {"folio", attribute_of(&doc, "Folio")},
      {"date", attribute_of(&doc, "Fecha")},
      {"certificate", attribute_of(&doc, "NoCertificado")},
      {"UUID", attribute_of(stamp, "UUID")},
      {"stamp date", attribute_of(stamp, "FechaTimbrado")},
      {"SAT certificate", attribute_of(stamp, "NoCertificadoSAT")},
      {"receiver name", attribute_of(receptor, "Nombre")},
      {"receiver RFC", attribute_of(receptor, "Rfc")},
      {"use", attribute_of(receptor, "UsoCFDI")},
      {"receiver's fiscal address", attribute_of(receptor, "DomicilioFiscalReceptor")},
      {"receiver's regime", attribute_of(receptor, "RegimenFiscalReceptor")},
      {"export", attribute_of(&doc, "Exportacion")},
      {"subtotal", attribute_of(&doc, "SubTotal")},
      {"total", attribute_of(&doc, "Total")},
      {"total in words",
       pdf::amount_in_words(attribute_of(&doc, "Total"), attribute_of(&doc, "Moneda"))},
      {"payment form", attribute_of(&doc, "FormaPago")},
      {"payment method", attribute_of(&doc, "MetodoPago")},
      {"currency", attribute_of(&doc, "Moneda")},
      {"seal", attribute_of(&doc, "Sello")},
      {"SAT seal", attribute_of(stamp, "SelloSAT")},
      {"stamp original string", tfd_string.out},
      {"legend", kLegend},
  };
  for (const auto& line : descend(doc, "cfdi:Conceptos")->children()) {
    expected["line description"] = attribute_of(line.get(), "Descripcion");
    expected["line amount"] = attribute_of(line.get(), "Importe");
    expected["line key"] = attribute_of(line.get(), "ClaveProdServ");
    expected["line unit value"] = attribute_of(line.get(), "ValorUnitario");
  }
  if (const Element* taxes = doc.child("cfdi:Impuestos")) {
    expected["taxes"] = attribute_of(taxes, "TotalImpuestosTrasladados");
  }
  if (const Element* global = doc.child("cfdi:InformacionGlobal")) {
    expected["global period"] = "Periodicidad: " + attribute_of(global, "Periodicidad");
    expected["global months"] = "Meses: " + attribute_of(global, "Meses");
    expected["global year"] = "Año: " + attribute_of(global, "Año");
  }
  for (const auto& related : doc.children()) {
    if (related->name() != "cfdi:CfdiRelacionados") continue;
    expected["relation type"] = attribute_of(related.get(), "TipoRelacion");
    for (const auto& uuid : related->children()) {
      expected["related " + attribute_of(uuid.get(), "UUID")] = attribute_of(uuid.get(), "UUID");
    }
  }
  for (const auto& [path, name] : complement_values) {
    expected[path + "@" + name] =
        attribute_of(descend(doc, "cfdi:Complemento/" + path), name.c_str());
  }
  for (const auto& [what, value] : expected) {
    if (value.empty()) continue;  // the document does not carry it
    EXPECT_NE(text.find(squeezed(value)), std::string::npos) << what << ": " << value;
  }
  if (const Element* nomina = descend(doc, "cfdi:Complemento/nomina12:Nomina")) {
    const std::string net =
        pdf::format_cents(pdf::parse_cents(attribute_of(nomina, "TotalPercepciones")) +
                          pdf::parse_cents(attribute_of(nomina, "TotalOtrosPagos")) -
                          pdf::parse_cents(attribute_of(nomina, "TotalDeducciones")));
    EXPECT_NE(text.find(squeezed("Neto a pagar: " + net)), std::string::npos) << net;
  }
  EXPECT_EQ(text.find("SINTIMBRAR"), std::string::npos);
}

TEST_F(PdfCommandTest, EveryScenarioPrintsItsValues) {
  for (const auto& scenario : scenarios()) {
    SCOPED_TRACE(scenario.name);
    const std::string stamped = std::string(scenario.name) + ".timbrado.xml";
    const std::string pdf = std::string(scenario.name) + ".timbrado.pdf";
    const Outcome printed = drovanexis({"pdf", stamped});
    ASSERT_EQ(printed.exit_code, 0) << printed.out;
    expect_printed_values(stamped, pdf, scenario.complement_values);
  }
}

// The stamped CFDI 4.0 examples of the SAT's folder print every value of
// the form, the 4.0 fields and the 4.0-era complements included.
TEST_F(PdfCommandTest, EveryCfdi40ExamplePrintsItsValues) {
  const fs::path examples = fs::path(CFDI_SAT_DIR) / "examples";
  CFDI_REQUIRE_SAT(fs::exists(examples / "cfdi40-ingreso.xml"), "the 4.0 examples in " << examples);
  const std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>
      examples_and_values = {
          {"cfdi40-ingreso", {}},
          {"cfdi40-global", {}},
          {"cfdi40-pagos20",
           {{"pago20:Pagos/pago20:Totales", "MontoTotalPagos"},
            {"pago20:Pagos/pago20:Totales", "TotalTrasladosBaseIVA16"},
            {"pago20:Pagos/pago20:Pago", "NumOperacion"},
            {"pago20:Pagos/pago20:Pago/pago20:DoctoRelacionado", "IdDocumento"},
            {"pago20:Pagos/pago20:Pago/pago20:DoctoRelacionado", "ImpSaldoAnt"},
            {"pago20:Pagos/pago20:Pago/pago20:ImpuestosP/pago20:TrasladosP/pago20:TrasladoP",
             "BaseP"}}},
          {"cfdi40-nomina12",
           {{"nomina12:Nomina/nomina12:Receptor", "Curp"},
            {"nomina12:Nomina/nomina12:Deducciones/nomina12:Deduccion", "Concepto"},
            {"nomina12:Nomina", "TotalPercepciones"}}},
          {"cfdi40-cartaporte31",
           {{"cartaporte31:CartaPorte", "IdCCP"},
            {"cartaporte31:CartaPorte/cartaporte31:Ubicaciones/cartaporte31:Ubicacion",
             "IDUbicacion"},
            {"cartaporte31:CartaPorte/cartaporte31:Ubicaciones/cartaporte31:Ubicacion/"
             "cartaporte31:Domicilio",
             "CodigoPostal"},
            {"cartaporte31:CartaPorte/cartaporte31:Mercancias/cartaporte31:Mercancia",
             "Descripcion"},
            {"cartaporte31:CartaPorte/cartaporte31:Mercancias/cartaporte31:Autotransporte/"
             "cartaporte31:Seguros",
             "PolizaRespCivil"},
            {"cartaporte31:CartaPorte/cartaporte31:FiguraTransporte/cartaporte31:TiposFigura",
             "NombreFigura"}}},
      };
  for (const auto& [name, values] : examples_and_values) {
    SCOPED_TRACE(name);
    const fs::path source = examples / (name + ".xml");
    const std::string pdf = name + ".pdf";
    const Outcome printed = drovanexis({"pdf", "--out", pdf, source.string()});
    ASSERT_EQ(printed.exit_code, 0) << printed.out;
    expect_printed_values(source.string(), pdf, values);
  }
}

// The QR code of page 1, rendered as a printer would, decodes to the text
// "drovanexis qr" encodes for the same document.
TEST_F(PdfCommandTest, QrCodeOnPageOneDecodesToTheQrCommandsText) {
  ASSERT_EQ(drovanexis({"pdf", "--out", "qr-test.pdf", "simple.timbrado.xml"}).exit_code, 0);
  const Outcome qr = drovanexis({"qr", "--json", "--out", "qr.bmp", "simple.timbrado.xml"});
  ASSERT_EQ(qr.exit_code, 0) << qr.out;
  std::smatch content;
  ASSERT_TRUE(std::regex_search(qr.out, content, std::regex("\"content\":\"([^\"]+)\"")));

  ASSERT_EQ(
      run("pdftoppm", {"-r", "150", "-f", "1", "-l", "1", "-png", "qr-test.pdf", "page"}).exit_code,
      0);
  const Outcome decoded = run("zbarimg", {"--raw", "-q", "page-1.png"}, false);
  ASSERT_EQ(decoded.exit_code, 0) << decoded.out;
  EXPECT_EQ(decoded.out, content[1].str() + "\n");
  EXPECT_NE(decoded.out.find("&re=CACX7605101P8"), std::string::npos);
}

// An unsealed document is printed, marked on every page, without a QR code
// and without the legend of a stamped CFDI.
TEST_F(PdfCommandTest, UnstampedDocumentIsMarkedSinTimbrar) {
  write_file("borrador.xml", read_file("ejemploexterno.xml"));
  const Outcome printed = drovanexis({"pdf", "--json", "borrador.xml"});
  ASSERT_EQ(printed.exit_code, 0) << printed.out;
  EXPECT_NE(printed.out.find("\"stamped\":false"), std::string::npos) << printed.out;
  const std::string text = pdf_text("borrador.pdf");
  EXPECT_NE(text.find("SIN TIMBRAR"), std::string::npos);
  EXPECT_EQ(text.find(kLegend), std::string::npos);
  ASSERT_EQ(run("pdftoppm", {"-r", "150", "-png", "borrador.pdf", "draft"}).exit_code, 0);
  EXPECT_NE(run("zbarimg", {"--raw", "-q", "draft-1.png"}, false).exit_code, 0)
      << "a QR code was found";
}

// A complement the form has no layout for is named with its version.
TEST_F(PdfCommandTest, AnUnknownComplementIsNamedWithItsVersion) {
  const std::string ine = std::string(CFDI_SOURCE_DIR) + "/drovanexis/testdata/complements/ine.xml";
  ASSERT_EQ(drovanexis({"pdf", "--out", "ine.pdf", ine}).exit_code, 0);
  const std::string text = pdf_text("ine.pdf");
  EXPECT_NE(text.find("Complemento INE"), std::string::npos) << text;
  EXPECT_NE(text.find("ine:INE versión 1.1"), std::string::npos) << text;
}

// Spanish letters, the euro sign and characters beyond Windows-1252 print
// as themselves, from embedded fonts, with no fallback that could lack them.
TEST_F(PdfCommandTest, CharactersBeyondWindows1252PrintFromEmbeddedFonts) {
  const std::string description =
      "Piñata para niño: árbol, éxito, índigo, ópera, útil, ü € Ωμέγα Жук →";
  std::string text = read_file("ejemploexterno.xml");
  const std::regex first_description("Descripcion=\"[^\"]*\"");
  text = std::regex_replace(text, first_description, "Descripcion=\"" + description + "\"",
                            std::regex_constants::format_first_only);
  write_file("letras.xml", text);
  ASSERT_EQ(drovanexis({"pdf", "letras.xml"}).exit_code, 0);
  EXPECT_NE(squeezed(pdf_text("letras.pdf")).find(squeezed(description)), std::string::npos)
      << pdf_text("letras.pdf");
  const Outcome fonts = run("pdffonts", {"letras.pdf"});
  ASSERT_EQ(fonts.exit_code, 0);
  std::istringstream rows(fonts.out);
  std::string row;
  int font_rows = 0;
  while (std::getline(rows, row)) {
    if (row.find("DejaVu") == std::string::npos && row.find("CID") == std::string::npos &&
        row.find("Type") == std::string::npos) {
      continue;  // the two header lines
    }
    ++font_rows;
    EXPECT_NE(row.find("DejaVu"), std::string::npos) << row;
    EXPECT_NE(row.find(" yes "), std::string::npos) << "not embedded: " << row;
  }
  EXPECT_GT(font_rows, 0) << fonts.out;
}

// Without the DejaVu fonts the PDF is refused, not drawn in whatever font
// fontconfig puts in their place.
TEST_F(PdfCommandTest, MissingFontsAreReportedNotReplaced) {
  fs::create_directory("no-fonts");
  write_file("no-fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig><dir>" +
                                  fs::absolute("no-fonts").string() + "</dir><cachedir>" +
                                  fs::absolute("no-fonts").string() + "</cachedir></fontconfig>\n");
  const Outcome printed = run("env", {"FONTCONFIG_FILE=" + fs::absolute("no-fonts.conf").string(),
                                      (kBin / "drovanexis").string(), "pdf", "--out",
                                      "sin-fuentes.pdf", "simple.timbrado.xml"});
  EXPECT_EQ(printed.exit_code, 1) << printed.out;
  EXPECT_NE(printed.out.find("DejaVu fonts are missing"), std::string::npos) << printed.out;
  EXPECT_FALSE(fs::exists("sin-fuentes.pdf"));
}

// An invoice of `lines` Conceptos copied from the sample's first one, each
// with its number in its description.
std::string invoice_with_lines(int lines, const std::string& description_tail) {
  const std::string sample = read_file("ejemploexterno.xml");
  const auto start = sample.find("<cfdi:Concepto ");
  const auto end = sample.find("</cfdi:Concepto>", start) + std::string("</cfdi:Concepto>").size();
  const std::string line = sample.substr(start, end - start);
  std::string all;
  for (int i = 1; i <= lines; ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "R%04d", i);
    all += std::regex_replace(line, std::regex("Descripcion=\"[^\"]*\""),
                              "Descripcion=\"" + std::string(number) + description_tail + "\"");
  }
  const auto lines_start = sample.find("<cfdi:Concepto ");
  const auto lines_end = sample.find("</cfdi:Conceptos>");
  return sample.substr(0, lines_start) + all + sample.substr(lines_end);
}

// The words of the PDF with their boxes, from pdftotext -bbox.
struct Word {
  int page;
  double x_max;
  double y_max;
  std::string text;
};

std::vector<Word> words_of(const std::string& pdf) {
  const std::string html = run("pdftotext", {"-bbox", pdf, "-"}).out;
  std::vector<Word> words;
  int page = 0;
  const std::regex word(
      "<word xMin=\"[0-9.]+\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\" "
      "yMax=\"([0-9.]+)\">([^<]*)</word>");
  std::istringstream lines(html);
  std::string line;
  std::smatch match;
  while (std::getline(lines, line)) {
    if (line.find("<page ") != std::string::npos) ++page;
    if (std::regex_search(line, match, word)) {
      words.push_back({page, std::stod(match[1]), std::stod(match[2]), match[3]});
    }
  }
  return words;
}

// A thousand lines run over many pages: each line once and in order, the
// table's header on every page that holds lines, every full page holding
// the same number of lines, and nothing outside the page.
TEST_F(PdfCommandTest, AThousandLinesFillPagesWithTheHeaderOnEach) {
  write_file("mil.xml", invoice_with_lines(1000, " servicio mensual"));
  const Outcome printed = drovanexis({"pdf", "--json", "mil.xml"});
  ASSERT_EQ(printed.exit_code, 0) << printed.out;
  const int pages = pdf_pages("mil.pdf");

  std::map<int, int> lines_on_page;
  std::map<int, bool> header_on_page;
  int last_line = 0;
  for (const Word& word : words_of("mil.pdf")) {
    EXPECT_LE(word.x_max, 612 - 30) << word.text;
    EXPECT_LE(word.y_max, 792 - 30) << word.text;
    if (word.text == "Descripción") header_on_page[word.page] = true;
    if (word.text.size() == 5 && word.text[0] == 'R' &&
        std::all_of(word.text.begin() + 1, word.text.end(), ::isdigit)) {
      const int number = std::stoi(word.text.substr(1));
      EXPECT_EQ(number, last_line + 1);
      last_line = number;
      ++lines_on_page[word.page];
    }
  }
  EXPECT_EQ(last_line, 1000);
  ASSERT_GE(lines_on_page.size(), 3u);
  for (const auto& [page, count] : lines_on_page) {
    EXPECT_TRUE(header_on_page[page]) << "no header on page " << page;
  }
  // The pages between the first and the last are full and alike, so the
  // count of pages follows from the lines a page holds.
  const int per_page = std::next(lines_on_page.begin())->second;
  for (auto it = std::next(lines_on_page.begin()); it != std::prev(lines_on_page.end()); ++it) {
    EXPECT_EQ(it->second, per_page) << "page " << it->first;
  }
  const int first = lines_on_page.begin()->second;
  const int table_pages = 1 + (1000 - first + per_page - 1) / per_page;
  EXPECT_EQ(static_cast<int>(lines_on_page.size()), table_pages);
  EXPECT_GE(pages, table_pages);
  EXPECT_LE(pages, table_pages + 1);  // the totals and seals after the table
  EXPECT_NE(printed.out.find("\"pages\":" + std::to_string(pages)), std::string::npos);
}

// A description of many thousand characters wraps inside its column and
// continues on the next pages; a word longer than the column is broken.
TEST_F(PdfCommandTest, AVeryLongDescriptionWrapsAndNeverLeavesThePage) {
  std::string tail;
  for (int i = 0; i < 900; ++i) tail += " palabra" + std::to_string(i);
  tail += " " + std::string(400, 'X');
  write_file("larga.xml", invoice_with_lines(2, tail));
  ASSERT_EQ(drovanexis({"pdf", "larga.xml"}).exit_code, 0);
  ASSERT_GE(pdf_pages("larga.pdf"), 2);
  std::string joined;
  for (const Word& word : words_of("larga.pdf")) {
    EXPECT_LE(word.x_max, 612 - 30) << word.text;
    EXPECT_LE(word.y_max, 792 - 30) << word.text;
    joined += word.text + " ";
  }
  for (int i : {0, 1, 450, 899}) {
    EXPECT_NE(joined.find(" palabra" + std::to_string(i) + " "), std::string::npos) << i;
  }
  EXPECT_NE(squeezed(joined).find(std::string(400, 'X')), std::string::npos);
}

// Bad input: nothing is written for it, and the exit code tells why.
TEST_F(PdfCommandTest, BadInputWritesNothing) {
  write_file("roto.xml", "<cfdi:Comprobante");
  write_file("otro.xml", "<html/>");
  const std::string db_before = read_file("Drovanexis.db");
  const std::string input_before = read_file("simple.timbrado.xml");
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string message;
    std::string not_written;
  } cases[] = {
      {{"pdf", "no-such.xml"}, 2, "no-such.xml: cannot open", "no-such.pdf"},
      {{"pdf", "."}, 2, "is a folder", ""},
      {{"pdf", "roto.xml"}, 1, "roto.xml:", "roto.pdf"},
      {{"pdf", "otro.xml"}, 1, "not a CFDI", "otro.pdf"},
      {{"pdf", "--out", "Drovanexis.db", "simple.timbrado.xml"}, 1, "not written", ""},
      {{"pdf", "--out", "simple.timbrado.xml", "simple.timbrado.xml"}, 1, "archivo de entrada", ""},
      {{"pdf", "--out", "no-folder/x.pdf", "simple.timbrado.xml"},
       1,
       "not written",
       "no-folder/x.pdf"},
      {{"pdf", "--jobs", "0", "simple.timbrado.xml"}, 2, "--jobs", ""},
      {{"pdf"}, 2, "missing FILE", ""},
  };
  for (const auto& c : cases) {
    const Outcome outcome = drovanexis(c.args);
    EXPECT_EQ(outcome.exit_code, c.exit_code) << c.args.back() << ": " << outcome.out;
    EXPECT_NE(outcome.out.find(c.message), std::string::npos) << outcome.out;
    if (!c.not_written.empty()) {
      EXPECT_FALSE(fs::exists(c.not_written)) << c.not_written;
    }
  }
  EXPECT_EQ(read_file("Drovanexis.db"), db_before);
  EXPECT_EQ(read_file("simple.timbrado.xml"), input_before);
  for (const auto& entry : fs::directory_iterator(".")) {
    EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos) << entry.path();
  }
}

// Several files into a folder, with one bad among them: the good ones are
// written and reported, the bad one is reported and the run says so.
TEST_F(PdfCommandTest, SeveralFilesIntoAFolderWithJsonReports) {
  const Outcome printed = drovanexis({"pdf", "--json", "--jobs", "2", "--out", "impresos",
                                      "simple.timbrado.xml", "no-such.xml", "pagos.timbrado.xml"});
  EXPECT_EQ(printed.exit_code, 2) << printed.out;
  EXPECT_TRUE(fs::exists("impresos/simple.timbrado.pdf"));
  EXPECT_TRUE(fs::exists("impresos/pagos.timbrado.pdf"));
  EXPECT_NE(printed.out.find("{\"input\":\"simple.timbrado.xml\",\"written\":true,\"file\":"
                             "\"impresos/simple.timbrado.pdf\",\"pages\":"),
            std::string::npos)
      << printed.out;
  EXPECT_NE(printed.out.find("{\"input\":\"no-such.xml\",\"written\":false"), std::string::npos)
      << printed.out;
}

}  // namespace
