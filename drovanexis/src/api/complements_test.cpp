// The complements written by the C entries: each built on the demo's simple
// invoice with every attribute filled, stamped by the sandbox and judged by
// the SAT scripts; the addenda; and the texts that processing must refuse.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <string>

#include "api/scenario_calls.h"
#include "cadena/sat_oracle.h"
#include "document/document_registry.h"
#include "drovanexis.h"
#include "portable/cp1252.h"
#include "portable/file_io.h"
#include "portable/test_folder.h"
#include "sandbox/sandbox_test_support.h"
#include "xml/xml_reader.h"

namespace drovanexis {
namespace {

using testing::run_sat_script;
using testing::sat_available;

constexpr const char* kIssuer = "CACX7605101P8";

// The SAT scripts judge the outputs where they are present; without them the
// outputs are still built and compared, and the test says what it left out
// (and fails under CI, where the scripts must be present).
bool sat_scripts_present() {
  if (sat_available()) return true;
  if (std::getenv("CI") != nullptr) {
    ADD_FAILURE() << "the SAT scripts are absent: " << CFDI_SAT_DIR;
  }
  return false;
}

// A working folder with the sample CSDs, the provider's certificate and a
// fresh sandbox state.
class Complements : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DROVANEXIS_SANDBOX_DB");
    sandbox::testing::prepare_working_folder();
  }

  static int process(std::int32_t handle, const std::string& output) {
    const std::string cer = std::string("CSD_") + kIssuer + ".cer";
    const std::string key = std::string("CSD_") + kIssuer + ".key";
    return Drovanexis_ProcesaDocumento(handle, cer.c_str(), key.c_str(),
                                       sandbox::testing::kKeyPassword, output.c_str());
  }

  static std::string value(std::int32_t handle, int index) {
    return portable::cp1252_to_utf8(Drovanexis_GetValue(handle, index));
  }

  // The log (Windows-1252, lines wrapped) as UTF-8 with every run of white
  // space made one blank, so that a message can be looked for whole.
  static std::string log() {
    const std::string text =
        portable::cp1252_to_utf8(portable::read_file("Drovanexis.log").value_or(""));
    std::string flat;
    for (const char c : text) {
      const bool blank = c == ' ' || c == '\r' || c == '\n';
      if (!blank) {
        flat += c;
      } else if (!flat.empty() && flat.back() != ' ') {
        flat += ' ';
      }
    }
    return flat;
  }

  // The seal and the original string of a stamped file, as the SAT scripts see them.
  static void expect_sat_seal_and_cadena(std::int32_t handle, const std::string& file) {
    if (!sat_scripts_present()) return;
    const auto seals = run_sat_script("verify-seal", file, "provider.cer");
    EXPECT_EQ(seals.exit_code, 0) << seals.output;
    EXPECT_EQ(value(handle, 5), run_sat_script("cadena-cfdi33", file).output);
  }

  portable::TestFolder folder_;
};

// Names, attributes and character content of a subtree, one element a line;
// the stamp is left out.
void dump(const Element& element, int depth, std::string& out) {
  if (element.prefix() == "tfd") return;
  out.append(static_cast<std::size_t>(depth) * 2, ' ').append(element.name());
  for (const auto& a : element.attributes()) out += " " + a.name + "=" + a.value;
  if (!element.text().empty()) out += " text=" + element.text();
  out += '\n';
  for (const auto& child : element.children()) dump(*child, depth + 1, out);
}

const Element* find(const Element& element, std::string_view name) {
  if (element.name() == name) return &element;
  for (const auto& child : element.children()) {
    if (const Element* found = find(*child, name)) return found;
  }
  return nullptr;
}

std::string dump_of(const std::string& file, std::string_view name) {
  const Element root = parse_xml(portable::read_file(file).value_or(""));
  const Element* element = find(root, name);
  if (element == nullptr) return "(no " + std::string(name) + ")";
  std::string out;
  dump(*element, 0, out);
  return out;
}

constexpr const char* kCurp = "CACX760510HJCRRS09";

struct ComplementCase {
  const char* name;
  void (*add)(std::int32_t handle);  // calls made after the invoice is built
  const char* element;               // the element whose subtree is compared
  const char* expected;
};

// Calls come partly out of schema order: the output must not.
const ComplementCase kComplementCases[] = {
    {"implocal",
     [](std::int32_t h) {
       Drovanexis_AddImpuestoLocalTrasladado(h, "ISH", "2.00", "20.00");
       Drovanexis_AddImpuestoLocalRetenido(h, "Cedular", "1.00", "10.00");
       Drovanexis_SetImpuestosLocalesInfo(h, "10.00", "20.00");
       // The Total includes the local taxes: 1102.00 + 20.00 - 10.00.
       Drovanexis_SetComprobanteInfo_cfdi33(h, "A", "1", "%cb_date", "99", "Contado Comercial",
                                            "1000.00", "50.00", "MXN", "", "1112.00", "I", "PPD",
                                            "53050", "");
     },
     "implocal:ImpuestosLocales",
     "implocal:ImpuestosLocales version=1.0 TotaldeRetenciones=10.00 TotaldeTraslados=20.00\n"
     "  implocal:RetencionesLocales ImpLocRetenido=Cedular TasadeRetencion=1.00 Importe=10.00\n"
     "  implocal:TrasladosLocales ImpLocTrasladado=ISH TasadeTraslado=2.00 Importe=20.00\n"},
    {"cce11",
     [](std::int32_t h) {
       // An export: the receiver abroad under the generic RFC, one goods
       // line per concept, current tariff items.
       Drovanexis_SetReceptorInfo_cfdi33(h, "XEXX010101000", "Cliente del Extranjero", "USA",
                                         "123456789", "P01");
       Drovanexis_CCE11AddMercancia(h, "SEF500", "0101210100", "1", "07", "24.40", "24.40", "Marca",
                                    "M1", "S1", "NS1");
       Drovanexis_CCE11AddMercanciaDescripcionesEspecificas(h, "Marca2", "M2", "S2", "NS2");
       Drovanexis_CCE11AddMercancia(h, "SEF250", "0101210100", "2", "07", "12.20", "24.40", "", "",
                                    "", "");
       // The recipient in the European Union, where a trusted exporter
       // number counts.
       Drovanexis_CCE11AddDestinatario(h, "555666777", "Destinatario SA", "Hauptstrasse", "100",
                                       "2B", "Mitte", "Berlin", "Dock 4", "Berlin", "BE", "DEU",
                                       "10115");
       Drovanexis_CCE11SetReceptor(h, "", "Elm Street", "200", "1", "Uptown", "Dallas", "Gate 2",
                                   "Dallas", "TX", "USA", "75201");
       Drovanexis_CCE11SetEmisor(h, kCurp, "Calle Uno", "10", "A", "0001", "01", "Esquina", "039",
                                 "JAL", "MEX", "44100");
       Drovanexis_SetComercioExterior11(h, "", "2", "A1", "1", "CO123456", "EXP001", "FOB", "0",
                                        "Observaciones de prueba", "20.500000", "48.80");
     },
     "cce11:ComercioExterior",
     "cce11:ComercioExterior Version=1.1 TipoOperacion=2 ClaveDePedimento=A1 "
     "CertificadoOrigen=1 NumCertificadoOrigen=CO123456 NumeroExportadorConfiable=EXP001 "
     "Incoterm=FOB Subdivision=0 Observaciones=Observaciones de prueba TipoCambioUSD=20.500000 "
     "TotalUSD=48.80\n"
     "  cce11:Emisor Curp=CACX760510HJCRRS09\n"
     "    cce11:Domicilio Calle=Calle Uno NumeroExterior=10 NumeroInterior=A Colonia=0001 "
     "Localidad=01 Referencia=Esquina Municipio=039 Estado=JAL Pais=MEX CodigoPostal=44100\n"
     "  cce11:Receptor\n"
     "    cce11:Domicilio Calle=Elm Street NumeroExterior=200 NumeroInterior=1 Colonia=Uptown "
     "Localidad=Dallas Referencia=Gate 2 Municipio=Dallas Estado=TX Pais=USA CodigoPostal=75201\n"
     "  cce11:Destinatario NumRegIdTrib=555666777 Nombre=Destinatario SA\n"
     "    cce11:Domicilio Calle=Hauptstrasse NumeroExterior=100 NumeroInterior=2B "
     "Colonia=Mitte Localidad=Berlin Referencia=Dock 4 Municipio=Berlin Estado=BE Pais=DEU "
     "CodigoPostal=10115\n"
     "  cce11:Mercancias\n"
     "    cce11:Mercancia NoIdentificacion=SEF500 FraccionArancelaria=0101210100 CantidadAduana=1 "
     "UnidadAduana=07 ValorUnitarioAduana=24.40 ValorDolares=24.40\n"
     "      cce11:DescripcionesEspecificas Marca=Marca Modelo=M1 SubModelo=S1 NumeroSerie=NS1\n"
     "      cce11:DescripcionesEspecificas Marca=Marca2 Modelo=M2 SubModelo=S2 NumeroSerie=NS2\n"
     "    cce11:Mercancia NoIdentificacion=SEF250 FraccionArancelaria=0101210100 CantidadAduana=2 "
     "UnidadAduana=07 ValorUnitarioAduana=12.20 ValorDolares=24.40\n"},
    {"ine11",
     [](std::int32_t h) {
       Drovanexis_SetINE11(h, "Ordinario", "Ejecutivo Estatal", "123456", "JAL", "Local", "654321");
       Drovanexis_AddEntidad(h, "COL", "Federal", "111111");
       Drovanexis_AddEntidadContabilidad(h, "222222");
     },
     "ine:INE",
     "ine:INE Version=1.1 TipoProceso=Ordinario TipoComite=Ejecutivo Estatal "
     "IdContabilidad=123456\n"
     "  ine:Entidad ClaveEntidad=JAL Ambito=Local\n"
     "    ine:Contabilidad IdContabilidad=654321\n"
     "  ine:Entidad ClaveEntidad=COL Ambito=Federal\n"
     "    ine:Contabilidad IdContabilidad=111111\n"
     "    ine:Contabilidad IdContabilidad=222222\n"},
    {"leyendasFisc",
     [](std::int32_t h) {
       Drovanexis_SetLeyendasFiscales10(h, "Art. 1", "RMF 2017", "Primera leyenda");
       // The third triple is empty: it ends the list, the fourth is not read.
       Drovanexis_SetLeyendasFiscales10Full(h, "Art. 2", "RMF 2018",
                                            "Segunda con e\xF1"
                                            "e",
                                            "", "", "Tercera", "", "", "", "Art. 4", "RMF",
                                            "No se lee", "", "", "", "", "", "", "", "", "", "", "",
                                            "", "", "", "", "", "", "");
     },
     "leyendasFisc:LeyendasFiscales",
     "leyendasFisc:LeyendasFiscales version=1.0\n"
     "  leyendasFisc:Leyenda disposicionFiscal=Art. 1 norma=RMF 2017 textoLeyenda=Primera "
     "leyenda\n"
     "  leyendasFisc:Leyenda disposicionFiscal=Art. 2 norma=RMF 2018 textoLeyenda=Segunda con "
     "e\xC3\xB1"
     "e\n"
     "  leyendasFisc:Leyenda textoLeyenda=Tercera\n"},
    {"donat",
     [](std::int32_t h) {
       Drovanexis_AddDonatarias11(h, "DON-1", "2016-01-15", "Primera");
       Drovanexis_AddDonatarias11(h, "DON-12345", "2017-01-15",
                                  "Este comprobante ampara un donativo");
     },
     "donat:Donatarias",
     "donat:Donatarias version=1.1 noAutorizacion=DON-12345 fechaAutorizacion=2017-01-15 "
     "leyenda=Este comprobante ampara un donativo\n"},
    {"iedu",
     [](std::int32_t h) {
       Drovanexis_AddConceptoComplementoIedu_cfdi33(h, "Juan P\xE9rez", kCurp, "Primaria",
                                                    "RVOE-1234", "CACX7605101P8");
     },
     "cfdi:Conceptos",
     "cfdi:Conceptos\n"
     "  cfdi:Concepto ClaveProdServ=84111506 NoIdentificacion=SEF500 Cantidad=1 ClaveUnidad=H87 "
     "Unidad=Timbre Descripcion=Paquete de 500 timbres fiscales ValorUnitario=500.00 "
     "Importe=500.00\n"
     "    cfdi:Impuestos\n"
     "      cfdi:Traslados\n"
     "        cfdi:Traslado Base=500.00 Impuesto=002 TipoFactor=Tasa TasaOCuota=0.160000 "
     "Importe=80.00\n"
     "  cfdi:Concepto ClaveProdServ=84111506 NoIdentificacion=SEF250 Cantidad=2 ClaveUnidad=H87 "
     "Unidad=Timbre Descripcion=Paquete de 500 timbres fiscales ValorUnitario=250.00 "
     "Importe=500.00 Descuento=50.00\n"
     "    cfdi:Impuestos\n"
     "      cfdi:Traslados\n"
     "        cfdi:Traslado Base=450.00 Impuesto=002 TipoFactor=Tasa TasaOCuota=0.160000 "
     "Importe=72.00\n"
     "    cfdi:ComplementoConcepto\n"
     "      iedu:instEducativas version=1.0 nombreAlumno=Juan P\xC3\xA9rez "
     "CURP=CACX760510HJCRRS09 nivelEducativo=Primaria autRVOE=RVOE-1234 rfcPago=CACX7605101P8\n"},
    {"servicioparcial",
     [](std::int32_t h) {
       Drovanexis_SetServicioParcial10(h, "LIC-2017-001", "Av. Siempre Viva", "742", "3", "Centro",
                                       "Guadalajara", "Frente al parque", "Guadalajara", "14",
                                       "44100");
     },
     "servicioparcial:parcialesconstruccion",
     "servicioparcial:parcialesconstruccion Version=1.0 NumPerLicoAut=LIC-2017-001\n"
     "  servicioparcial:Inmueble Calle=Av. Siempre Viva NoExterior=742 NoInterior=3 "
     "Colonia=Centro Localidad=Guadalajara Referencia=Frente al parque Municipio=Guadalajara "
     "Estado=14 CodigoPostal=44100\n"},
    // Complements given as XML: SAT prefixes become the library's whatever
    // the text used (a default namespace included); they follow the built
    // complements, in call order among themselves.
    {"xml complements",
     [](std::int32_t h) {
       Drovanexis_AddComplemento_cfdi33(
           h,
           "<dv:Divisas xmlns:dv=\"http://www.sat.gob.mx/divisas\" version=\"1.0\" "
           "tipoOperacion=\"venta\"/>");
       Drovanexis_AddDonatarias11(h, "DON-12345", "2017-01-15", "Donativo");
       Drovanexis_AddComplemento_cfdi33(
           h,
           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<PFintegranteCoordinado xmlns=\"http://www.sat.gob.mx/pfic\" version=\"1.0\" "
           "ClaveVehicular=\"CV-01\" Placa=\"ABC1234\" RFCPF=\"CACX7605101P8\"/>");
     },
     "cfdi:Complemento",
     "cfdi:Complemento\n"
     "  donat:Donatarias version=1.1 noAutorizacion=DON-12345 fechaAutorizacion=2017-01-15 "
     "leyenda=Donativo\n"
     "  divisas:Divisas version=1.0 tipoOperacion=venta\n"
     "  pfic:PFintegranteCoordinado version=1.0 ClaveVehicular=CV-01 Placa=ABC1234 "
     "RFCPF=CACX7605101P8\n"},
};

TEST_F(Complements, EachIsStampedInSchemaOrderAndPassesTheSatOracles) {
  for (const ComplementCase& c : kComplementCases) {
    SCOPED_TRACE(c.name);
    const std::int32_t handle = test::build_simple_invoice();
    c.add(handle);
    const std::string output = std::string(c.name) + ".xml";
    ASSERT_EQ(process(handle, output), 0) << log();

    EXPECT_EQ(dump_of(output, c.element), c.expected);
    if (sat_scripts_present()) {
      EXPECT_EQ(run_sat_script("validate-cfdi33", output).exit_code, 0)
          << portable::read_file(output).value_or("");
    }
    expect_sat_seal_and_cadena(handle, output);
    Drovanexis_Free(handle);
  }
  if (!sat_scripts_present()) GTEST_SKIP() << "not judged by the SAT scripts: " << CFDI_SAT_DIR;
}

// The Addenda holds what the last call set, stays out of the original string,
// and plain text is escaped.
TEST_F(Complements, AddendaIsTheLastOneSetAndLeftOutOfTheSeal) {
  const std::int32_t as_xml = test::build_simple_invoice();
  Drovanexis_SetAddendaText_cfdi33(as_xml, "se reemplaza");
  Drovanexis_SetAddenda_cfdi33(
      as_xml,
      "<ped:Pedido xmlns:ped=\"urn:ejemplo:pedidos\" numero=\"PO-1\"><ped:Linea "
      "sku=\"SEF500\"/></ped:Pedido>");
  ASSERT_EQ(process(as_xml, "addenda-xml.xml"), 0) << log();
  EXPECT_EQ(dump_of("addenda-xml.xml", "cfdi:Addenda"),
            "cfdi:Addenda\n"
            "  ped:Pedido xmlns:ped=urn:ejemplo:pedidos numero=PO-1\n"
            "    ped:Linea sku=SEF500\n");
  expect_sat_seal_and_cadena(as_xml, "addenda-xml.xml");

  const std::int32_t as_text = test::build_simple_invoice();
  Drovanexis_SetAddenda_cfdi33(as_text, "<se-reemplaza/>");
  Drovanexis_SetAddendaText_cfdi33(as_text, "Entregar en almac\xE9n & <patio>");
  ASSERT_EQ(process(as_text, "addenda-texto.xml"), 0) << log();
  EXPECT_NE(
      portable::read_file("addenda-texto.xml")
          ->find("<cfdi:Addenda>Entregar en almac\xC3\xA9n &amp; &lt;patio&gt;</cfdi:Addenda>"),
      std::string::npos);
  expect_sat_seal_and_cadena(as_text, "addenda-texto.xml");

  const std::int32_t removed = test::build_simple_invoice();
  Drovanexis_SetAddendaText_cfdi33(removed, "se quita");
  Drovanexis_SetAddendaText_cfdi33(removed, "");
  ASSERT_EQ(process(removed, "sin-addenda.xml"), 0) << log();
  EXPECT_EQ(dump_of("sin-addenda.xml", "cfdi:Addenda"), "(no cfdi:Addenda)");
  for (const std::int32_t handle : {as_xml, as_text, removed}) Drovanexis_Free(handle);
  if (!sat_scripts_present()) GTEST_SKIP() << "not judged by the SAT scripts: " << CFDI_SAT_DIR;
}

// A complement of a namespace that none of the SAT's schemas declares is not
// one a provider stamps: it is refused with 301, naming the element, and
// nothing is written.
TEST_F(Complements, ForeignComplementIsRefusedByTheProvider) {
  const std::int32_t handle = test::build_simple_invoice();
  Drovanexis_AddComplemento_cfdi33(
      handle, "<x:Dato xmlns:x=\"urn:ejemplo:datos\" clave=\"1\">texto <x:b>libre</x:b></x:Dato>");
  EXPECT_EQ(process(handle, "ajeno.xml"), 301) << log();
  EXPECT_NE(log().find("x:Dato"), std::string::npos) << log();
  EXPECT_FALSE(std::filesystem::exists("ajeno.xml"));
  Drovanexis_Free(handle);
}

struct RefusedCase {
  const char* name;
  void (*add)(std::int32_t handle);
  const char* entry;      // named in the log
  const char* in_reason;  // part of the log line
};

void add_complement(std::int32_t h, const char* xml) { Drovanexis_AddComplemento_cfdi33(h, xml); }

const RefusedCase kRefusedCases[] = {
    {"not well formed",
     [](std::int32_t h) {
       add_complement(
           h, "<implocal:ImpuestosLocales xmlns:implocal=\"http://www.sat.gob.mx/implocal\"");
     },
     "Drovanexis_AddComplemento_cfdi33", "no es un XML bien formado"},
    {"doctype",
     [](std::int32_t h) {
       add_complement(h, "<!DOCTYPE x [<!ENTITY e \"eee\">]><x:A xmlns:x=\"urn:x\" b=\"&e;\"/>");
     },
     "Drovanexis_AddComplemento_cfdi33", "DOCTYPE"},
    {"cfdi element",
     [](std::int32_t h) {
       add_complement(
           h, "<cfdi:Emisor xmlns:cfdi=\"http://www.sat.gob.mx/cfd/3\" Rfc=\"AAA010101AAA\"/>");
     },
     "Drovanexis_AddComplemento_cfdi33", "es un elemento del CFDI"},
    {"cfdi element under another prefix, inside a complement",
     [](std::int32_t h) {
       add_complement(
           h, "<x:A xmlns:x=\"urn:x\"><c:Concepto xmlns:c=\"http://www.sat.gob.mx/cfd/3\"/></x:A>");
     },
     "Drovanexis_AddComplemento_cfdi33", "es un elemento del CFDI"},
    {"no namespace",
     [](std::int32_t h) {
       add_complement(h, "<Divisas version=\"1.0\" tipoOperacion=\"venta\"/>");
     },
     "Drovanexis_AddComplemento_cfdi33", "espacio de nombres"},
    {"undeclared prefix",
     [](std::int32_t h) { add_complement(h, "<divisas:Divisas version=\"1.0\"/>"); },
     "Drovanexis_AddComplemento_cfdi33", "divisas"},
    {"stamp",
     [](std::int32_t h) {
       add_complement(h,
                      "<tfd:TimbreFiscalDigital "
                      "xmlns:tfd=\"http://www.sat.gob.mx/TimbreFiscalDigital\" Version=\"1.1\"/>");
     },
     "Drovanexis_AddComplemento_cfdi33", "timbre"},
    {"concept complement",
     [](std::int32_t h) {
       add_complement(h,
                      "<iedu:instEducativas xmlns:iedu=\"http://www.sat.gob.mx/iedu\" "
                      "version=\"1.0\"/>");
     },
     "Drovanexis_AddComplemento_cfdi33", "ComplementoConcepto"},
    {"a good complement, then a bad one",
     [](std::int32_t h) {
       add_complement(h,
                      "<divisas:Divisas xmlns:divisas=\"http://www.sat.gob.mx/divisas\" "
                      "version=\"1.0\" tipoOperacion=\"venta\"/>");
       add_complement(h, "<a:B xmlns:a=\"urn:a\">");
     },
     "Drovanexis_AddComplemento_cfdi33", "no es un XML bien formado"},
    {"addenda not well formed", [](std::int32_t h) { Drovanexis_SetAddenda_cfdi33(h, "<Pedido>"); },
     "Drovanexis_SetAddenda_cfdi33", "no es un XML bien formado"},
};

// Refused at processing with 301, the entry named in the log, no file
// written and the document's own tree untouched.
TEST_F(Complements, BadTextsAreRefusedWith301) {
  for (const RefusedCase& c : kRefusedCases) {
    SCOPED_TRACE(c.name);
    const std::int32_t handle = test::build_simple_invoice();
    c.add(handle);
    EXPECT_EQ(process(handle, "rechazado.xml"), 301);
    EXPECT_EQ(value(handle, 1), "301");
    const std::string text = log();
    EXPECT_NE(text.find(c.entry), std::string::npos) << text;
    EXPECT_NE(text.find(c.in_reason), std::string::npos) << text;
    EXPECT_FALSE(portable::read_file("rechazado.xml").has_value());
    const Document* document = DocumentRegistry::instance().find(handle);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->root.child("cfdi:Complemento"), nullptr);
    EXPECT_EQ(document->root.child("cfdi:Addenda"), nullptr);
    Drovanexis_Free(handle);
  }
}

}  // namespace
}  // namespace drovanexis
