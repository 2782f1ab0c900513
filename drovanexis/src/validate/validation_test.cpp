#include "validate/validation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <stdexcept>

#include "tests/support/sat_folder.h"
#include "validate/test_documents.h"
#include "xml/xml_reader.h"

namespace drovanexis {
namespace {

using namespace testing_documents;

class ValidationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CFDI_REQUIRE_SAT(std::filesystem::exists(kExamples), "no example documents at " << kExamples);
  }
};

TEST_F(ValidationTest, TheExampleDocumentsPassEveryRule) {
  for (const char* file : kExampleFiles) {
    Element root = load_example(file);
    remove_stamp(root);
    const auto failures = validate_document(root, sound_context(root));
    EXPECT_TRUE(failures.empty()) << file << ":\n" << describe(failures);
  }
}

struct Variant {
  const char* name;
  const char* example;
  std::function<void(Element&)> edit;
  std::function<void(ValidationContext&)> facts;
  std::set<std::string> codes;  // empty: the variant must still pass
};

constexpr std::string_view kLine1Traslado =
    "cfdi:Conceptos/cfdi:Concepto[1]/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado";
constexpr std::string_view kDocto =
    "cfdi:Complemento/pago10:Pagos/pago10:Pago/pago10:DoctoRelacionado";

// The payment's related document in dollars: `paid` USD at 0.05 USD per peso
// settles the whole balance.
void usd_docto(Element& root, const std::string& paid) {
  Element& docto = at(root, kDocto);
  docto.set_attribute("MonedaDR", "USD");
  docto.set_attribute("TipoCambioDR", "0.050000");
  docto.set_attribute("ImpSaldoAnt", paid);
  docto.set_attribute("ImpPagado", paid);
}

const Variant kVariants[] = {
    // The Comprobante's amounts.
    {"total off by one cent",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "", "Total", "1102.01"); },
     nullptr,
     {"CFDI33118"}},
    {"line tax that does not add up",
     "cfdi33-ingreso.xml",
     [](Element& r) {
       set(r, "cfdi:Conceptos/cfdi:Concepto[1]/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado",
           "Importe", "81.00");
     },
     nullptr,
     {"CFDI33161", "CFDI33195"}},
    {"line tax within its rounding passes",
     "cfdi33-ingreso.xml",
     [](Element& r) {
       set(r, "cfdi:Conceptos/cfdi:Concepto[1]/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado",
           "Importe", "80.01");
       set(r, "cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", "Importe", "152.01");
       set(r, "cfdi:Impuestos", "TotalImpuestosTrasladados", "152.01");
       set(r, "", "Total", "1102.01");
     },
     nullptr,
     {}},
    {"exempt transfer carrying a rate and amount",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, kLine1Traslado, "TipoFactor", "Exento"); },
     nullptr,
     {"CFDI33157", "CFDI33195"}},
    {"rate transfer without Importe",
     "cfdi33-ingreso.xml",
     [](Element& r) { at(r, kLine1Traslado).remove_attribute("Importe"); },
     nullptr,
     {"CFDI33158", "CFDI33195"}},
    {"VAT rate outside the catalogue",
     "cfdi33-ingreso.xml",
     [](Element& r) {
       set(r, kLine1Traslado, "TasaOCuota", "0.150000");
       set(r, kLine1Traslado, "Importe", "75.00");
     },
     nullptr,
     {"CFDI33159", "CFDI33195"}},
    {"exempt withholding",
     "cfdi33-cartaporte20.xml",
     [](Element& r) {
       set(r, "cfdi:Conceptos/cfdi:Concepto/cfdi:Impuestos/cfdi:Retenciones/cfdi:Retencion",
           "TipoFactor", "Exento");
     },
     nullptr,
     {"CFDI33166"}},
    {"withheld summary that the lines do not add up to",
     "cfdi33-cartaporte20.xml",
     [](Element& r) {
       set(r, "cfdi:Impuestos/cfdi:Retenciones/cfdi:Retencion", "Importe", "1001.00");
     },
     nullptr,
     {"CFDI33189", "CFDI33181"}},
    {"the same transfer twice in the summary",
     "cfdi33-ingreso.xml",
     [](Element& r) {
       Element& copy = at(r, "cfdi:Impuestos/cfdi:Traslados").add_child("cfdi:Traslado");
       for (const Attribute& a :
            at(r, "cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado").attributes()) {
         copy.set_attribute(a.name, a.value);
       }
     },
     nullptr,
     {"CFDI33192", "CFDI33183"}},
    {"line Descuento greater than its Importe",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "cfdi:Conceptos/cfdi:Concepto[2]", "Descuento", "500.01"); },
     nullptr,
     {"CFDI33151", "SBX-C01"}},
    {"summary total differs from its list",
     "cfdi33-ingreso.xml",
     [](Element& r) {
       set(r, "cfdi:Impuestos", "TotalImpuestosTrasladados", "153.00");
       set(r, "", "Total", "1103.00");
     },
     nullptr,
     {"CFDI33183"}},
    {"line Importe outside Cantidad x ValorUnitario",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "cfdi:Conceptos/cfdi:Concepto[2]", "Importe", "700.00"); },
     nullptr,
     {"CFDI33149", "CFDI33107"}},
    {"Descuento greater than SubTotal",
     "cfdi33-ingreso.xml",
     [](Element& r) {
       set(r, "", "Descuento", "1000.01");
       set(r, "", "Total", "151.99");
     },
     nullptr,
     {"CFDI33109", "SBX-C01"}},
    {"SubTotal with more decimals than MXN",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "", "SubTotal", "1000.000"); },
     nullptr,
     {"CFDI33106"}},
    {"TipoCambio other than 1 on MXN",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "", "TipoCambio", "20.50"); },
     nullptr,
     {"CFDI33113"}},
    {"TipoCambio 1 on MXN passes",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "", "TipoCambio", "1"); },
     nullptr,
     {}},
    {"USD without TipoCambio",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "", "Moneda", "USD"); },
     nullptr,
     {"CFDI33114"}},
    {"unknown currency",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "", "Moneda", "ABC"); },
     nullptr,
     {"CFDI33112"}},
    {"FormaPago outside the catalogue",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "", "FormaPago", "07"); },
     nullptr,
     {"301", "CFDI33104", "SBX-C03"}},
    // Parties and catalogues.
    {"UsoCFDI unfit for a company",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "cfdi:Receptor", "UsoCFDI", "D01"); },
     nullptr,
     {"CFDI33141"}},
    {"UsoCFDI of another CFDI version",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "cfdi:Receptor", "UsoCFDI", "S01"); },
     nullptr,
     {"301", "CFDI33140"}},
    {"RegimenFiscal unfit for a company",
     "cfdi33-nomina12.xml",
     [](Element& r) { set(r, "cfdi:Emisor", "RegimenFiscal", "612"); },
     nullptr,
     {"CFDI33131"}},
    {"RegimenFiscal unfit for a person",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "cfdi:Emisor", "RegimenFiscal", "601"); },
     nullptr,
     {"CFDI33131"}},
    {"TipoRelacion outside the catalogue",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "cfdi:CfdiRelacionados", "TipoRelacion", "10"); },
     nullptr,
     {"301", "CFDI33129"}},
    // Transfers and payment receipts.
    {"T with SubTotal other than 0",
     "cfdi33-cartaporte10.xml",
     [](Element& r) {
       set(r, "", "SubTotal", "1");
       set(r, "", "Total", "1");
     },
     nullptr,
     {"CFDI33108", "CFDI33119", "CP102", "CP105"}},
    {"T with an Impuestos node",
     "cfdi33-cartaporte10.xml",
     [](Element& r) { r.add_child("cfdi:Impuestos"); },
     nullptr,
     {"301", "CFDI33179"}},
    {"MetodoPago on a P",
     "cfdi33-pagos10.xml",
     [](Element& r) { set(r, "", "MetodoPago", "PPD"); },
     nullptr,
     {"CFDI33123", "CRP105"}},
    {"FormaPago on a P",
     "cfdi33-pagos10.xml",
     [](Element& r) { set(r, "", "FormaPago", "01"); },
     nullptr,
     {"CFDI33103", "CRP104"}},
    {"Pagos saldo that does not add up",
     "cfdi33-pagos10.xml",
     [](Element& r) {
       set(r, "cfdi:Complemento/pago10:Pagos/pago10:Pago/pago10:DoctoRelacionado",
           "ImpSaldoInsoluto", "10.00");
     },
     nullptr,
     {"CRP226"}},
    {"ImpPagado over Monto",
     "cfdi33-pagos10.xml",
     [](Element& r) { set(r, "cfdi:Complemento/pago10:Pagos/pago10:Pago", "Monto", "1000.00"); },
     nullptr,
     {"CRP206"}},
    {"related document in another currency, converted by TipoCambioDR",
     "cfdi33-pagos10.xml",
     [](Element& r) { usd_docto(r, "58.00"); },
     nullptr,
     {}},
    {"converted ImpPagado over Monto",
     "cfdi33-pagos10.xml",
     [](Element& r) { usd_docto(r, "58.01"); },
     nullptr,
     {"CRP206"}},
    {"single related document without ImpPagado pays the Monto",
     "cfdi33-pagos10.xml",
     [](Element& r) { at(r, kDocto).remove_attribute("ImpPagado"); },
     nullptr,
     {}},
    {"payment by FormaDePagoP 99",
     "cfdi33-pagos10.xml",
     [](Element& r) { set(r, "cfdi:Complemento/pago10:Pagos/pago10:Pago", "FormaDePagoP", "99"); },
     nullptr,
     {"CRP201"}},
    {"PPD without NumParcialidad",
     "cfdi33-pagos10.xml",
     [](Element& r) {
       at(r, "cfdi:Complemento/pago10:Pagos/pago10:Pago/pago10:DoctoRelacionado")
           .remove_attribute("NumParcialidad");
     },
     nullptr,
     {"CRP233"}},
    {"payment receipt with UsoCFDI G03",
     "cfdi33-pagos10.xml",
     [](Element& r) { set(r, "cfdi:Receptor", "UsoCFDI", "G03"); },
     nullptr,
     {"CRP110"}},
    // Payroll.
    {"nomina TotalGravado off",
     "cfdi33-nomina12.xml",
     [](Element& r) {
       set(r, "cfdi:Complemento/nomina12:Nomina/nomina12:Percepciones", "TotalGravado", "1652.01");
     },
     nullptr,
     {"NOM189", "NOM193"}},
    {"nomina TotalDeducciones off",
     "cfdi33-nomina12.xml",
     [](Element& r) { set(r, "cfdi:Complemento/nomina12:Nomina", "TotalDeducciones", "124.00"); },
     nullptr,
     {"NOM148", "NOM159"}},
    {"nomina deduction that its total does not count",
     "cfdi33-nomina12.xml",
     [](Element& r) {
       set(r, "cfdi:Complemento/nomina12:Nomina/nomina12:Deducciones/nomina12:Deduccion[2]",
           "Importe", "43.00");
     },
     nullptr,
     {"SBX-NOM01"}},
    {"FechaInicialPago after FechaFinalPago",
     "cfdi33-nomina12.xml",
     [](Element& r) {
       set(r, "cfdi:Complemento/nomina12:Nomina", "FechaInicialPago", "2017-01-23");
     },
     nullptr,
     {"NOM155"}},
    {"FechaPago not a date",
     "cfdi33-nomina12.xml",
     [](Element& r) { set(r, "cfdi:Complemento/nomina12:Nomina", "FechaPago", "2017-02-30"); },
     nullptr,
     {"301", "SBX-NOM02"}},
    // Carta Porte.
    {"Carta Porte 1.0 distances not adding up",
     "cfdi33-cartaporte10.xml",
     [](Element& r) { set(r, "cfdi:Complemento/cartaporte:CartaPorte", "TotalDistRec", "901"); },
     nullptr,
     {"CP123"}},
    {"Carta Porte 2.0 distances not adding up",
     "cfdi33-cartaporte20.xml",
     [](Element& r) {
       set(r,
           "cfdi:Complemento/cartaporte20:CartaPorte/cartaporte20:Ubicaciones/"
           "cartaporte20:Ubicacion[3]",
           "DistanciaRecorrida", "2");
     },
     nullptr,
     {"CP123"}},
    {"CantidadTransporta to an undeclared destination",
     "cfdi33-cartaporte20.xml",
     [](Element& r) {
       set(r,
           "cfdi:Complemento/cartaporte20:CartaPorte/cartaporte20:Mercancias/"
           "cartaporte20:Mercancia[2]/"
           "cartaporte20:CantidadTransporta",
           "IDDestino", "DE999999");
     },
     nullptr,
     {"SBX-CP01"}},
    // Fecha and the provider's facts.
    {"Fecha malformed",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "", "Fecha", "2021-12-01 10:15:00"); },
     nullptr,
     {"301", "CFDI33101"}},
    {"Fecha on a day that does not exist",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "", "Fecha", "2021-11-31T10:15:00"); },
     nullptr,
     {"301", "CFDI33101"}},
    {"Fecha older than 72 hours",
     "cfdi33-ingreso.xml",
     nullptr,
     [](ValidationContext& c) { c.now = LocalDateTime{c.now.seconds - 600 + 72 * 3600 + 1}; },
     {"401"}},
    {"Fecha exactly 72 hours old passes",
     "cfdi33-ingreso.xml",
     nullptr,
     [](ValidationContext& c) { c.now = LocalDateTime{c.now.seconds - 600 + 72 * 3600}; },
     {}},
    {"Fecha more than an hour ahead",
     "cfdi33-ingreso.xml",
     nullptr,
     [](ValidationContext& c) { c.now = LocalDateTime{c.now.seconds - 600 - 3601}; },
     {"401"}},
    {"certificate of another RFC",
     "cfdi33-ingreso.xml",
     nullptr,
     [](ValidationContext& c) { c.certificate.rfc = "KIJ0906199R1"; },
     {"303"}},
    {"certificate that is not a CSD",
     "cfdi33-ingreso.xml",
     nullptr,
     [](ValidationContext& c) { c.certificate.is_csd = false; },
     {"306"}},
    {"Fecha outside the certificate's validity",
     "cfdi33-ingreso.xml",
     nullptr,
     [](ValidationContext& c) {
       c.certificate.not_after = LocalDateTime{c.now.seconds - 601};
       c.certificate.not_before = LocalDateTime{c.now.seconds - 86400 * 30};
     },
     {"305"}},
    {"certificate expired between Fecha and stamping",
     "cfdi33-ingreso.xml",
     nullptr,
     [](ValidationContext& c) { c.certificate.not_after = LocalDateTime{c.now.seconds - 1}; },
     {"304"}},
    {"certificate not issued by the authority",
     "cfdi33-ingreso.xml",
     nullptr,
     [](ValidationContext& c) { c.certificate.issued_by_authority = false; },
     {"308"}},
    {"seal that does not verify",
     "cfdi33-ingreso.xml",
     nullptr,
     [](ValidationContext& c) { c.seal_verified = false; },
     {"302"}},
    {"document already stamped",
     "cfdi33-ingreso.xml",
     [](Element& r) {
       r.add_child("cfdi:Complemento")
           .add_child("tfd:TimbreFiscalDigital")
           .set_attribute("UUID", "X");
     },
     nullptr,
     {"301", "307"}},
    // Structure.
    {"missing UsoCFDI",
     "cfdi33-ingreso.xml",
     [](Element& r) { at(r, "cfdi:Receptor").remove_attribute("UsoCFDI"); },
     nullptr,
     {"301"}},
    {"SubTotal that is not a number",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "", "SubTotal", "1,000.00"); },
     nullptr,
     {"301"}},
    {"negative zero amount",
     "cfdi33-cartaporte10.xml",
     [](Element& r) { set(r, "", "SubTotal", "-0"); },
     nullptr,
     {"301"}},
    {"missing issuer",
     "cfdi33-ingreso.xml",
     [](Element& r) { r.remove_child(at(r, "cfdi:Emisor")); },
     nullptr,
     {"301"}},
    {"empty attribute",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "", "Folio", ""); },
     nullptr,
     {"301"}},
    {"malformed RFC",
     "cfdi33-ingreso.xml",
     [](Element& r) { set(r, "cfdi:Receptor", "Rfc", "VDN-020304"); },
     nullptr,
     {"301"}},
};

TEST_F(ValidationTest, EachBrokenVariantGivesExactlyItsCodes) {
  for (const Variant& variant : kVariants) {
    Element root = load_example(variant.example);
    remove_stamp(root);
    ValidationContext context = sound_context(root);
    if (variant.edit) variant.edit(root);
    if (variant.facts) variant.facts(context);
    const auto failures = validate_document(root, context);
    EXPECT_EQ(codes_of(failures), variant.codes) << variant.name << ":\n" << describe(failures);
  }
}

// Rule codes that the rule groups leave to the schema stage: a document
// breaking them is refused with 301 on the attribute or element concerned.
TEST_F(ValidationTest, RulesLeftToTheSchemaStageAreRefusedAs301) {
  const std::string cp = "cfdi:Complemento/cartaporte20:CartaPorte";
  const std::string place = cp + "/cartaporte20:Ubicaciones/cartaporte20:Ubicacion[2]";
  struct Case {
    const char* name;
    std::function<void(Element&)> edit;
    std::string node;  // the end of the failing node's path
    const char* attribute;
  };
  const Case cases[] = {
      {"Carta Porte version 2.1 (CP115)", [&](Element& r) { set(r, cp, "Version", "2.1"); },
       "cartaporte20:CartaPorte", "Version"},
      {"a single location (CP125)",
       [&](Element& r) {
         Element& places = at(r, cp + "/cartaporte20:Ubicaciones");
         places.remove_child(at(places, "cartaporte20:Ubicacion[3]"));
         places.remove_child(at(places, "cartaporte20:Ubicacion[2]"));
       },
       "cartaporte20:Ubicaciones", ""},
      {"gross weight with 4 decimals (CP145)",
       [&](Element& r) { set(r, cp + "/cartaporte20:Mercancias", "PesoBrutoTotal", "2.0001"); },
       "cartaporte20:Mercancias", "PesoBrutoTotal"},
      {"a station outside c_Estaciones (CP132)",
       [&](Element& r) { set(r, place, "NumEstacion", "ZZ9999"); }, "cartaporte20:Ubicacion[2]",
       "NumEstacion"},
      {"a station type outside c_TipoEstacion (CP136)",
       [&](Element& r) { set(r, place, "TipoEstacion", "09"); }, "cartaporte20:Ubicacion[2]",
       "TipoEstacion"},
  };
  for (const Case& c : cases) {
    Element root = load_example("cfdi33-cartaporte20.xml");
    remove_stamp(root);
    const ValidationContext context = sound_context(root);
    c.edit(root);
    const auto failures = validate_document(root, context);
    const bool refused = std::any_of(failures.begin(), failures.end(), [&](const Failure& f) {
      return f.code == "301" && f.node.ends_with(c.node) && f.attribute == c.attribute;
    });
    EXPECT_TRUE(refused) << c.name << ":\n" << describe(failures);
  }
}

TEST_F(ValidationTest, FailuresNameTheNodeAttributeAndValuesFound) {
  Element root = load_example("cfdi33-ingreso.xml");
  remove_stamp(root);
  const ValidationContext context = sound_context(root);
  set(root, "", "Total", "1102.01");
  set(root, "cfdi:Conceptos/cfdi:Concepto[2]/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado",
      "Importe", "73.00");
  const auto failures = validate_document(root, context);
  ASSERT_EQ(failures.size(), 3u) << describe(failures);
  EXPECT_EQ(failures[0].code, "CFDI33118");
  EXPECT_EQ(failures[0].node, "cfdi:Comprobante");
  EXPECT_EQ(failures[0].attribute, "Total");
  EXPECT_EQ(
      failures[0].explanation,
      "El Total 1102.01 no es igual a SubTotal - Descuento + Traslados - Retenciones = 1102.00.");
  EXPECT_EQ(failures[1].code, "CFDI33161");
  EXPECT_EQ(failures[1].node,
            "cfdi:Comprobante/cfdi:Conceptos/cfdi:Concepto[2]/cfdi:Impuestos/cfdi:Traslados/"
            "cfdi:Traslado");
  EXPECT_EQ(failures[1].attribute, "Importe");
  EXPECT_NE(failures[1].explanation.find("73.00"), std::string::npos);
  EXPECT_NE(failures[1].explanation.find("entre 71.99 y 72.01"), std::string::npos);
  EXPECT_EQ(failures[2].code, "CFDI33195");
  EXPECT_NE(failures[2].explanation.find("153.00"), std::string::npos) << failures[2].explanation;
}

TEST_F(ValidationTest, AnotherRootIsRefusedWithoutJudgingFurther) {
  for (const auto& [version, uri] : {std::pair{"3.2", "http://www.sat.gob.mx/cfd/3"},
                                     std::pair{"3.3", "http://www.sat.gob.mx/cfd/4"},
                                     std::pair{"4.0", "http://www.sat.gob.mx/cfd/3"}}) {
    Element other("cfdi:Comprobante");
    other.set_attribute("xmlns:cfdi", uri);
    other.set_attribute("Version", version);
    const auto failures = validate_document(other, ValidationContext{});
    ASSERT_EQ(failures.size(), 1u) << version << " " << uri << "\n" << describe(failures);
    EXPECT_EQ(failures[0].code, "301");
    EXPECT_EQ(failures[0].attribute, "Version");
  }
  const auto stranger = validate_document(Element("Factura"), ValidationContext{});
  EXPECT_EQ(codes_of(stranger), std::set<std::string>{"301"});
}

TEST_F(ValidationTest, AmountsTooLargeToCheckAreAFailureNotACrash) {
  Element root = load_example("cfdi33-ingreso.xml");
  remove_stamp(root);
  const ValidationContext context = sound_context(root);
  set(root, "cfdi:Conceptos/cfdi:Concepto[1]", "Cantidad", "999999999999999999.999999");
  set(root, "cfdi:Conceptos/cfdi:Concepto[1]", "ValorUnitario", "999999999999999999.999999");
  const auto failures = validate_document(root, context);
  EXPECT_TRUE(codes_of(failures).contains("301")) << describe(failures);
}

}  // namespace
}  // namespace drovanexis
