// Each rule group: a valid document and one variant per code, asserting
// exactly that code; and real-world documents that must pass. The rule
// groups are run without the structure stage, so that a rule whose fault the
// schema also refuses (seven decimals, a malformed RFC) is seen on its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <tuple>

#include "time/central_mexico.h"
#include "validate/test_documents.h"

namespace drovanexis {
namespace {

using namespace testing_documents;

struct Case {
  const char* name;
  const char* example;
  std::function<void(Element&)> edit;
  std::set<std::string> codes;  // empty: the variant must pass
  std::function<void(ValidationContext&)> facts = nullptr;
};

class RuleGroupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::filesystem::exists(kExamples)) return;
    if (std::getenv("CI") != nullptr) FAIL() << "no example documents at " << kExamples;
    GTEST_SKIP() << "no example documents at " << kExamples;
  }

  static void run(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      Element root = load_example(c.example);
      remove_stamp(root);
      c.edit(root);
      // The facts follow the edited document (its issuer, its Fecha).
      ValidationContext context = sound_context(root);
      if (c.facts) c.facts(context);
      const auto failures = rule_groups_only(root, context);
      EXPECT_EQ(codes_of(failures), c.codes) << c.name << ":\n" << describe(failures);
    }
  }
};

// A deep copy of `source` as the last child of `parent`.
Element& copy_into(Element& parent, const Element& source) {
  Element& copy = parent.add_child(source.name());
  for (const auto& attribute : source.attributes())
    copy.set_attribute(attribute.name, attribute.value);
  copy.set_text(source.text());
  for (const auto& child : source.children()) copy_into(copy, *child);
  return copy;
}

// Moves Fecha to another day, keeping the time.
void move_fecha(Element& root, const std::string& fecha) { set(root, "", "Fecha", fecha); }

constexpr const char* kIngreso = "cfdi33-ingreso.xml";
constexpr const char* kPagos = "cfdi33-pagos10.xml";
constexpr const char* kNomina = "cfdi33-nomina12.xml";
constexpr const char* kCartaPorte10 = "cfdi33-cartaporte10.xml";
constexpr const char* kCartaPorte20 = "cfdi33-cartaporte20.xml";
constexpr std::string_view kLine1 = "cfdi:Conceptos/cfdi:Concepto[1]";
constexpr std::string_view kLine1Tax =
    "cfdi:Conceptos/cfdi:Concepto[1]/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado";
constexpr std::string_view kPago = "cfdi:Complemento/pago10:Pagos/pago10:Pago";
constexpr std::string_view kDocto =
    "cfdi:Complemento/pago10:Pagos/pago10:Pago/pago10:DoctoRelacionado";
constexpr std::string_view kNominaNode = "cfdi:Complemento/nomina12:Nomina";

TEST_F(RuleGroupsTest, Cfdi33ComprobanteRules) {
  run({
      {"valid", kIngreso, [](Element&) {}, {}},
      {"TipoCambio with 7 decimals",
       kIngreso,
       [](Element& r) {
         set(r, "", "Moneda", "USD");
         set(r, "", "TipoCambio", "20.1234567");
       },
       {"CFDI33116"}},
      {"LugarExpedicion not a postal code",
       kIngreso,
       [](Element& r) { set(r, "", "LugarExpedicion", "5305"); },
       {"CFDI33125"}},
      {"Total with 3 decimals",
       kIngreso,
       [](Element& r) { set(r, "", "Total", "1102.000"); },
       {"CFDI33118"}},
      {"ResidenciaFiscal of an unknown country",
       kIngreso,
       [](Element& r) {
         set(r, "cfdi:Receptor", "Rfc", "XEXX010101000");
         set(r, "cfdi:Receptor", "ResidenciaFiscal", "ZZY");
       },
       {"CFDI33133"}},
      {"ResidenciaFiscal for a Mexican receiver",
       kIngreso,
       [](Element& r) { set(r, "cfdi:Receptor", "ResidenciaFiscal", "USA"); },
       {"CFDI33134"}},
      {"ResidenciaFiscal MEX",
       kIngreso,
       [](Element& r) {
         set(r, "cfdi:Receptor", "Rfc", "XEXX010101000");
         set(r, "cfdi:Receptor", "ResidenciaFiscal", "MEX");
       },
       {"CFDI33135"}},
      {"NumRegIdTrib without ResidenciaFiscal",
       kIngreso,
       [](Element& r) {
         set(r, "cfdi:Receptor", "Rfc", "XEXX010101000");
         set(r, "cfdi:Receptor", "NumRegIdTrib", "123456789");
       },
       {"CFDI33136"}},
      {"NumRegIdTrib for a Mexican receiver",
       kIngreso,
       [](Element& r) {
         set(r, "cfdi:Receptor", "ResidenciaFiscal", "USA");
         set(r, "cfdi:Receptor", "NumRegIdTrib", "123456789");
       },
       {"CFDI33134", "CFDI33137"}},
      {"NumRegIdTrib outside its country's pattern",
       kIngreso,
       [](Element& r) {
         set(r, "cfdi:Receptor", "Rfc", "XEXX010101000");
         set(r, "cfdi:Receptor", "ResidenciaFiscal", "USA");
         set(r, "cfdi:Receptor", "NumRegIdTrib", "12-34");
       },
       {"CFDI33139"}},
      {"foreign receiver with a tax id of its country passes",
       kIngreso,
       [](Element& r) {
         set(r, "cfdi:Receptor", "Rfc", "XEXX010101000");
         set(r, "cfdi:Receptor", "UsoCFDI", "P01");
         set(r, "cfdi:Receptor", "ResidenciaFiscal", "USA");
         set(r, "cfdi:Receptor", "NumRegIdTrib", "123456789");
       },
       {}},
      {"PPD with a FormaPago other than 99",
       kIngreso,
       [](Element& r) { set(r, "", "FormaPago", "03"); },
       {"SBX-C03"}},
      {"Descuento that the lines do not add up to",
       kIngreso,
       [](Element& r) {
         set(r, "", "Descuento", "40.00");
         set(r, "", "Total", "1112.00");
       },
       {"SBX-C01"}},
      {"FormaPago on a transfer",
       kCartaPorte10,
       [](Element& r) { set(r, "", "FormaPago", "01"); },
       {"SBX-C02"}},
      {"Confirmacion on an invoice in pesos within every limit",
       kIngreso,
       [](Element& r) { set(r, "", "Confirmacion", "ABC12"); },
       {"CFDI33126"}},
      {"Confirmacion on an invoice in dollars is left to the exchange-rate band",
       kIngreso,
       [](Element& r) {
         set(r, "", "Moneda", "USD");
         set(r, "", "TipoCambio", "20.000000");
         set(r, "", "Confirmacion", "ABC12");
       },
       {}},
      {"Total above the maximum of a transfer",
       kCartaPorte10,
       [](Element& r) { set(r, "", "Total", "1"); },
       {"CFDI33118", "CFDI33119", "CP105"}},
  });
}

TEST_F(RuleGroupsTest, CataloguesJudgeByTheDocumentsDay) {
  run({
      {"a currency of the full catalogue (HNL) passes",
       kIngreso,
       [](Element& r) {
         set(r, "", "Moneda", "HNL");
         set(r, "", "TipoCambio", "0.7800");
       },
       {}},
      {"RegimenFiscal 626, valid from 2022, on a 2021 document",
       kIngreso,
       [](Element& r) { set(r, "cfdi:Emisor", "RegimenFiscal", "626"); },
       {"CFDI33130"}},
      {"RegimenFiscal 626 on a 2022 document passes",
       kIngreso,
       [](Element& r) {
         set(r, "cfdi:Emisor", "RegimenFiscal", "626");
         move_fecha(r, "2022-01-03T10:00:00");
       },
       {}},
      {"RegimenFiscal 628, valid from 2024, on a 2021 document",
       kIngreso,
       [](Element& r) {
         set(r, "cfdi:Emisor", "RegimenFiscal", "628");
         set(r, "cfdi:Emisor", "Rfc", "CAC760510P81");
       },
       {"CFDI33130"}},
      {"RegimenFiscal 609, retired in 2019, on a 2021 document",
       kIngreso,
       [](Element& r) {
         set(r, "cfdi:Emisor", "RegimenFiscal", "609");
         set(r, "cfdi:Emisor", "Rfc", "CAC760510P81");
       },
       {"CFDI33130"}},
      {"TipoRelacion 08 on its last day",
       kIngreso,
       [](Element& r) {
         move_fecha(r, "2022-06-30T23:59:59");
         Element& relacionados = r.insert_child(0, "cfdi:CfdiRelacionados");
         relacionados.set_attribute("TipoRelacion", "08");
         relacionados.add_child("cfdi:CfdiRelacionado")
             .set_attribute("UUID", "B9B2902E-2F4F-4E9F-B959-6AA615B92AE3");
       },
       {}},
      {"TipoRelacion 08 the day after it was retired",
       kIngreso,
       [](Element& r) {
         move_fecha(r, "2022-07-01T00:00:00");
         Element& relacionados = r.insert_child(0, "cfdi:CfdiRelacionados");
         relacionados.set_attribute("TipoRelacion", "08");
         relacionados.add_child("cfdi:CfdiRelacionado")
             .set_attribute("UUID", "B9B2902E-2F4F-4E9F-B959-6AA615B92AE3");
       },
       {"CFDI33129"}},
      {"a payment receipt dated after CFDI 3.3 ended is judged on its last day",
       kPagos,
       [](Element& r) { move_fecha(r, "2026-12-10T10:00:00"); },
       {}},
      {"ClaveUnidad outside c_ClaveUnidad",
       kIngreso,
       [](Element& r) { set(r, kLine1, "ClaveUnidad", "ZZZ"); },
       {"CFDI33145"}},
  });
}

TEST_F(RuleGroupsTest, Cfdi33ConceptoRules) {
  run({
      {"ClaveProdServ not of 8 digits",
       kIngreso,
       [](Element& r) { set(r, kLine1, "ClaveProdServ", "8411150"); },
       {"CFDI33142"}},
      {"ValorUnitario with 7 decimals",
       kIngreso,
       [](Element& r) { set(r, kLine1, "ValorUnitario", "500.0000001"); },
       {"CFDI33146"}},
      {"line amounts with 6 decimals pass",
       kIngreso,
       [](Element& r) {
         set(r, kLine1, "ValorUnitario", "500.000000");
         set(r, kLine1, "Importe", "500.000000");
       },
       {}},
      {"line Importe with 7 decimals",
       kIngreso,
       [](Element& r) { set(r, kLine1, "Importe", "500.0000001"); },
       {"CFDI33148"}},
      {"transfer Base with 7 decimals",
       kIngreso,
       [](Element& r) { set(r, kLine1Tax, "Base", "500.0000001"); },
       {"CFDI33153"}},
      {"transfer Importe with 7 decimals",
       kIngreso,
       [](Element& r) { set(r, kLine1Tax, "Importe", "80.0000001"); },
       {"CFDI33160"}},
      {"ISR transferred",
       kIngreso,
       [](Element& r) {
         set(r, kLine1Tax, "Impuesto", "001");
         set(r, "cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", "Impuesto", "001");
       },
       {"CFDI33155", "CFDI33193", "CFDI33195"}},
      {"VAT rate of 8 % (border stimulus) passes",
       kIngreso,
       [](Element& r) {
         for (const char* line :
              {"cfdi:Conceptos/cfdi:Concepto[1]", "cfdi:Conceptos/cfdi:Concepto[2]"}) {
           set(r, std::string(line) + "/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", "TasaOCuota",
               "0.080000");
         }
         set(r, kLine1Tax, "Importe", "40.00");
         set(r, "cfdi:Conceptos/cfdi:Concepto[2]/cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado",
             "Importe", "36.00");
         set(r, "cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", "TasaOCuota", "0.080000");
         set(r, "cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", "Importe", "76.00");
         set(r, "cfdi:Impuestos", "TotalImpuestosTrasladados", "76.00");
         set(r, "", "Total", "1026.00");
       },
       {}},
      {"IEPS quota within its range passes",
       kIngreso,
       [](Element& r) {
         move_fecha(r, "2022-03-01T10:00:00");  // the quota row applies from 2022
         Element& traslados =
             at(r, "cfdi:Conceptos/cfdi:Concepto[1]/cfdi:Impuestos/cfdi:Traslados");
         Element& ieps = traslados.add_child("cfdi:Traslado");
         for (const auto& [n, v] : {std::pair<const char*, const char*>{"Base", "500.00"},
                                    {"Impuesto", "003"},
                                    {"TipoFactor", "Cuota"},
                                    {"TasaOCuota", "1.500000"},
                                    {"Importe", "750.00"}})
           ieps.set_attribute(n, v);
         Element& summary = at(r, "cfdi:Impuestos/cfdi:Traslados");
         Element& total = summary.add_child("cfdi:Traslado");
         for (const auto& [n, v] : {std::pair<const char*, const char*>{"Impuesto", "003"},
                                    {"TipoFactor", "Cuota"},
                                    {"TasaOCuota", "1.500000"},
                                    {"Importe", "750.00"}})
           total.set_attribute(n, v);
         set(r, "cfdi:Impuestos", "TotalImpuestosTrasladados", "902.00");
         set(r, "", "Total", "1852.00");
       },
       {}},
      {"withholding of VAT above 16 %",
       kIngreso,
       [](Element& r) {
         Element& impuestos = at(r, "cfdi:Conceptos/cfdi:Concepto[1]/cfdi:Impuestos");
         Element& retencion = impuestos.add_child("cfdi:Retenciones").add_child("cfdi:Retencion");
         for (const auto& [n, v] : {std::pair<const char*, const char*>{"Base", "500.00"},
                                    {"Impuesto", "002"},
                                    {"TipoFactor", "Tasa"},
                                    {"TasaOCuota", "0.170000"},
                                    {"Importe", "85.00"}})
           retencion.set_attribute(n, v);
         Element& summary = at(r, "cfdi:Impuestos");
         summary.insert_attribute(0, "TotalImpuestosRetenidos", "85.00");
         Element& total = summary.insert_child(0, "cfdi:Retenciones").add_child("cfdi:Retencion");
         total.set_attribute("Impuesto", "002");
         total.set_attribute("Importe", "85.00");
         set(r, "", "Total", "1017.00");
       },
       {"CFDI33167"}},
      {"customs entry number well formed passes",
       kIngreso,
       [](Element& r) {
         at(r, kLine1)
             .insert_child(1, "cfdi:InformacionAduanera")
             .set_attribute("NumeroPedimento", "21  47  3807  1002003");
       },
       {}},
      {"customs entry number of an unknown office",
       kIngreso,
       [](Element& r) {
         at(r, kLine1)
             .insert_child(1, "cfdi:InformacionAduanera")
             .set_attribute("NumeroPedimento", "21  99  3807  1002003");
       },
       {"CFDI33170"}},
      {"customs entry number older than ten years",
       kIngreso,
       [](Element& r) {
         at(r, kLine1)
             .insert_child(1, "cfdi:InformacionAduanera")
             .set_attribute("NumeroPedimento", "10  47  3807  0002003");
       },
       {"CFDI33170"}},
      {"Parte with a bad ClaveProdServ and an Importe out of bounds",
       kIngreso,
       [](Element& r) {
         Element& parte = at(r, kLine1).add_child("cfdi:Parte");
         for (const auto& [n, v] : {std::pair<const char*, const char*>{"ClaveProdServ", "123"},
                                    {"Cantidad", "2"},
                                    {"Descripcion", "Pieza"},
                                    {"ValorUnitario", "10.00"},
                                    {"Importe", "30.00"}})
           parte.set_attribute(n, v);
       },
       {"CFDI33172", "CFDI33176"}},
      {"Parte with ValorUnitario 0",
       kIngreso,
       [](Element& r) {
         Element& parte = at(r, kLine1).add_child("cfdi:Parte");
         for (const auto& [n, v] :
              {std::pair<const char*, const char*>{"ClaveProdServ", "84111506"},
               {"Cantidad", "1"},
               {"Descripcion", "Pieza"},
               {"ValorUnitario", "0"},
               {"Importe", "0"}})
           parte.set_attribute(n, v);
       },
       {"CFDI33174"}},
  });
}

TEST_F(RuleGroupsTest, Cfdi33ImpuestosRules) {
  run({
      {"document without a summary while its lines transfer taxes",
       kIngreso,
       [](Element& r) {
         r.remove_child(at(r, "cfdi:Impuestos"));
         set(r, "", "Total", "950.00");
       },
       {"CFDI33183"}},
      {"summary rate outside the catalogue",
       kIngreso,
       [](Element& r) {
         set(r, "cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", "TasaOCuota", "0.170000");
       },
       {"CFDI33193", "CFDI33195"}},
  });
}

TEST_F(RuleGroupsTest, ValuesAreComparedAsTheSchemaReadsThem) {
  run({
      {"an RFC and a code with surrounding blanks",
       kIngreso,
       [](Element& r) {
         set(r, "", "MetodoPago", " PPD ");
         set(r, "cfdi:Receptor", "UsoCFDI", " G01");
       },
       {}},
      {"a rate written .160000",
       kIngreso,
       [](Element& r) {
         set(r, kLine1Tax, "TasaOCuota", ".160000");
         set(r, "cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", "TasaOCuota", ".160000");
       },
       {}},
  });
}

// Adds local taxes to the invoice: 2 % transferred (20.00) and 1 %
// withheld (10.00) on the SubTotal.
void add_local_taxes(Element& r, const char* traslados, const char* retenciones) {
  Element* complemento = r.child("cfdi:Complemento");
  if (complemento == nullptr) complemento = &r.add_child("cfdi:Complemento");
  Element& locales = complemento->add_child("implocal:ImpuestosLocales");
  locales.set_attribute("version", "1.0");
  locales.set_attribute("TotaldeRetenciones", retenciones);
  locales.set_attribute("TotaldeTraslados", traslados);
  Element& retenido = locales.add_child("implocal:RetencionesLocales");
  retenido.set_attribute("ImpLocRetenido", "Cedular");
  retenido.set_attribute("TasadeRetencion", "1.00");
  retenido.set_attribute("Importe", "10.00");
  Element& trasladado = locales.add_child("implocal:TrasladosLocales");
  trasladado.set_attribute("ImpLocTrasladado", "Hospedaje");
  trasladado.set_attribute("TasadeTraslado", "2.00");
  trasladado.set_attribute("Importe", "20.00");
}

TEST_F(RuleGroupsTest, LocalTaxesCountInTheTotal) {
  run({
      {"Total with the local taxes passes",
       kIngreso,
       [](Element& r) {
         add_local_taxes(r, "20.00", "10.00");
         set(r, "", "Total", "1112.00");
       },
       {}},
      {"Total without the local taxes",
       kIngreso,
       [](Element& r) { add_local_taxes(r, "20.00", "10.00"); },
       {"CFDI33118"}},
      {"TotaldeTraslados that its list does not add up to",
       kIngreso,
       [](Element& r) {
         add_local_taxes(r, "25.00", "10.00");
         set(r, "", "Total", "1117.00");
       },
       {"SBX-IL01"}},
      {"TotaldeRetenciones that its list does not add up to",
       kIngreso,
       [](Element& r) {
         add_local_taxes(r, "20.00", "5.00");
         set(r, "", "Total", "1117.00");
       },
       {"SBX-IL02"}},
  });
}

TEST_F(RuleGroupsTest, Pagos10Rules) {
  run({
      {"valid", kPagos, [](Element&) {}, {}},
      {"two Conceptos",
       kPagos,
       [](Element& r) {
         copy_into(at(r, "cfdi:Conceptos"), at(r, "cfdi:Conceptos/cfdi:Concepto"));
       },
       {"CRP111"}},
      {"Concepto with a Unidad",
       kPagos,
       [](Element& r) { set(r, "cfdi:Conceptos/cfdi:Concepto", "Unidad", "Pieza"); },
       {"CRP117"}},
      {"Concepto Descripcion other than Pago",
       kPagos,
       [](Element& r) { set(r, "cfdi:Conceptos/cfdi:Concepto", "Descripcion", "Abono"); },
       {"CRP118"}},
      {"MonedaP USD without TipoCambioP",
       kPagos,
       [](Element& r) {
         set(r, kPago, "MonedaP", "USD");
         set(r, kDocto, "MonedaDR", "USD");
       },
       {"CRP203"}},
      {"MonedaP MXN with TipoCambioP",
       kPagos,
       [](Element& r) { set(r, kPago, "TipoCambioP", "1"); },
       {"CRP204"}},
      {"Monto with 3 decimals",
       kPagos,
       [](Element& r) { set(r, kPago, "Monto", "1160.000"); },
       {"CRP208"}},
      {"MonedaDR other than MonedaP without TipoCambioDR",
       kPagos,
       [](Element& r) { set(r, kDocto, "MonedaDR", "USD"); },
       {"CRP218"}},
      {"MonedaDR equal to MonedaP with TipoCambioDR",
       kPagos,
       [](Element& r) { set(r, kDocto, "TipoCambioDR", "1"); },
       {"CRP219"}},
      {"ImpPagado with 3 decimals",
       kPagos,
       [](Element& r) { set(r, kDocto, "ImpPagado", "1160.000"); },
       {"CRP224"}},
      {"TipoCadPago without CertPago, CadPago and SelloPago",
       kPagos,
       [](Element& r) {
         set(r, kPago, "FormaDePagoP", "03");
         set(r, kPago, "TipoCadPago", "01");
       },
       {"CRP227", "CRP229", "CRP231"}},
      {"CertPago without TipoCadPago",
       kPagos,
       [](Element& r) { set(r, kPago, "CertPago", "MIIB"); },
       {"CRP228"}},
      {"pago10:Impuestos node",
       kPagos,
       [](Element& r) { at(r, kPago).add_child("pago10:Impuestos"); },
       {"CRP237"}},
      {"two related documents, one without ImpPagado",
       kPagos,
       [](Element& r) {
         Element& docto = copy_into(at(r, kPago), at(r, kDocto));
         docto.remove_attribute("ImpPagado");
         docto.set_attribute("IdDocumento", "F94FE4AC-4743-4745-BA99-E0D13100331D");
       },
       {"CRP235"}},
  });
}

// Adds to the receipt a second payroll complement equal to the first, and
// doubles the receipt's amounts, as a provider sees a receipt that pays two
// periods at once.
void second_payroll(Element& r) {
  copy_into(at(r, "cfdi:Complemento"), at(r, kNominaNode));
  set(r, "", "SubTotal", "3304.00");
  set(r, "", "Descuento", "246.00");
  set(r, "", "Total", "3058.00");
  set(r, "cfdi:Conceptos/cfdi:Concepto", "ValorUnitario", "3304.00");
  set(r, "cfdi:Conceptos/cfdi:Concepto", "Importe", "3304.00");
  set(r, "cfdi:Conceptos/cfdi:Concepto", "Descuento", "246.00");
}

TEST_F(RuleGroupsTest, Nomina12Rules) {
  run({
      {"valid", kNomina, [](Element&) {}, {}},
      {"two Nomina complements summed on the Concepto pass", kNomina, second_payroll, {}},
      {"two Nomina complements and a Concepto with one of them",
       kNomina,
       [](Element& r) {
         second_payroll(r);
         set(r, "cfdi:Conceptos/cfdi:Concepto", "Importe", "1652.00");
       },
       {"NOM147", "CFDI33107"}},
      {"second Nomina with its own fault",
       kNomina,
       [](Element& r) {
         second_payroll(r);
         set(r, "cfdi:Complemento/nomina12:Nomina[2]", "TipoNomina", "X");
       },
       {"NOM152"}},
      {"Moneda USD",
       kNomina,
       [](Element& r) {
         set(r, "", "Moneda", "USD");
         set(r, "", "TipoCambio", "20");
       },
       {"NOM132"}},
      {"FormaPago 01", kNomina, [](Element& r) { set(r, "", "FormaPago", "01"); }, {"NOM133"}},
      {"receiver with a company RFC",
       kNomina,
       [](Element& r) { set(r, "cfdi:Receptor", "Rfc", "VDN020304QX7"); },
       {"NOM137"}},
      {"Concepto ClaveProdServ other than 84111505",
       kNomina,
       [](Element& r) { set(r, "cfdi:Conceptos/cfdi:Concepto", "ClaveProdServ", "84111506"); },
       {"NOM140"}},
      {"Concepto Descripcion other than Pago de nómina",
       kNomina,
       [](Element& r) { set(r, "cfdi:Conceptos/cfdi:Concepto", "Descripcion", "Nómina"); },
       {"NOM145"}},
      {"extraordinary payroll with a weekly period",
       kNomina,
       [](Element& r) { set(r, kNominaNode, "TipoNomina", "E"); },
       {"NOM154"}},
      {"TotalOtrosPagos without OtrosPagos",
       kNomina,
       [](Element& r) {
         if (Element* otros = at(r, kNominaNode).child("nomina12:OtrosPagos"))
           at(r, kNominaNode).remove_child(*otros);
         set(r, kNominaNode, "TotalOtrosPagos", "0.00");
       },
       {"NOM160"}},
      {"CLABE with a wrong check digit",
       kNomina,
       [](Element& r) {
         Element& receptor = at(r, std::string(kNominaNode) + "/nomina12:Receptor");
         receptor.remove_attribute("Banco");
         receptor.set_attribute("CuentaBancaria", "002010077777777770");
       },
       {"NOM184"}},
      {"CLABE with the right check digit passes",
       kNomina,
       [](Element& r) {
         Element& receptor = at(r, std::string(kNominaNode) + "/nomina12:Receptor");
         receptor.remove_attribute("Banco");
         receptor.set_attribute("CuentaBancaria", "002010077777777771");
       },
       {}},
      {"ClaveEntFed outside c_Estado",
       kNomina,
       [](Element& r) {
         set(r, std::string(kNominaNode) + "/nomina12:Receptor", "ClaveEntFed", "XXX");
       },
       {"NOM186"}},
  });
}

TEST_F(RuleGroupsTest, CartaPorteRules) {
  const std::string goods20 = "cfdi:Complemento/cartaporte20:CartaPorte/cartaporte20:Mercancias";
  const std::string goods10 = "cfdi:Complemento/cartaporte:CartaPorte/cartaporte:Mercancias";
  run({
      {"valid 1.0", kCartaPorte10, [](Element&) {}, {}},
      {"valid 2.0", kCartaPorte20, [](Element&) {}, {}},
      {"NumTotalMercancias not the count of goods",
       kCartaPorte10,
       [goods10](Element& r) { set(r, goods10, "NumTotalMercancias", "3"); },
       {"CP149"}},
      {"PesoBrutoTotal against the goods",
       kCartaPorte20,
       [goods20](Element& r) { set(r, goods20, "PesoBrutoTotal", "2.5"); },
       {"CP146"}},
      {"PesoBrutoTotal equal by value passes",
       kCartaPorte20,
       [goods20](Element& r) { set(r, goods20, "PesoBrutoTotal", "2"); },
       {}},
      {"operator without NumLicencia (1.0)",
       kCartaPorte10,
       [](Element& r) {
         at(r,
            "cfdi:Complemento/cartaporte:CartaPorte/cartaporte:FiguraTransporte/"
            "cartaporte:Operadores/cartaporte:Operador")
             .remove_attribute("NumLicencia");
       },
       {"SBX-CP03"}},
      {"operator without NumLicencia (2.0)",
       kCartaPorte20,
       [](Element& r) {
         at(r,
            "cfdi:Complemento/cartaporte20:CartaPorte/cartaporte20:FiguraTransporte/"
            "cartaporte20:TiposFigura")
             .remove_attribute("NumLicencia");
       },
       {"SBX-CP03"}},
      {"transported quantities against the goods",
       kCartaPorte20,
       [goods20](Element& r) {
         set(r, goods20 + "/cartaporte20:Mercancia[1]/cartaporte20:CantidadTransporta", "Cantidad",
             "2");
       },
       {"SBX-CP02"}},
      {"destination without DistanciaRecorrida on the road",
       kCartaPorte20,
       [](Element& r) {
         at(r,
            "cfdi:Complemento/cartaporte20:CartaPorte/cartaporte20:Ubicaciones/"
            "cartaporte20:Ubicacion[3]")
             .remove_attribute("DistanciaRecorrida");
         set(r, "cfdi:Complemento/cartaporte20:CartaPorte", "TotalDistRec", "1");
       },
       {"CP137"}},
      {"IDUbicacion of a destination with the origin's prefix",
       kCartaPorte20,
       [](Element& r) {
         set(r,
             "cfdi:Complemento/cartaporte20:CartaPorte/cartaporte20:Ubicaciones/"
             "cartaporte20:Ubicacion[2]",
             "IDUbicacion", "OR202020");
       },
       {"CP127", "SBX-CP01"}},
      {"international transport without its attributes",
       kCartaPorte20,
       [](Element& r) {
         set(r, "cfdi:Complemento/cartaporte20:CartaPorte", "TranspInternac", "Sí");
       },
       {"CP116", "CP118", "CP120", "CP155"}},
      {"transfer with UsoCFDI G03",
       kCartaPorte10,
       [](Element& r) { set(r, "cfdi:Receptor", "UsoCFDI", "G03"); },
       {"CP111"}},
  });
}

constexpr std::string_view kCp20 = "cfdi:Complemento/cartaporte20:CartaPorte";
constexpr std::string_view kCp20Goods =
    "cfdi:Complemento/cartaporte20:CartaPorte/cartaporte20:Mercancias";
constexpr std::string_view kCp20Good1 =
    "cfdi:Complemento/cartaporte20:CartaPorte/cartaporte20:Mercancias/cartaporte20:Mercancia[1]";
constexpr std::string_view kCp20Place2 =
    "cfdi:Complemento/cartaporte20:CartaPorte/cartaporte20:Ubicaciones/"
    "cartaporte20:Ubicacion[2]";

// The 2.0 example as a transfer of the issuer's own goods: no amounts, no
// taxes, the issuer as its own receiver.
void own_transfer20(Element& r) {
  for (const char* a : {"TipoCambio", "FormaPago", "MetodoPago"}) r.remove_attribute(a);
  set(r, "", "TipoDeComprobante", "T");
  set(r, "", "Moneda", "XXX");
  set(r, "", "SubTotal", "0");
  set(r, "", "Total", "0");
  r.remove_child(at(r, "cfdi:Impuestos"));
  Element& line = at(r, kLine1);
  line.remove_child(at(line, "cfdi:Impuestos"));
  set(r, kLine1, "ValorUnitario", "0");
  set(r, kLine1, "Importe", "0");
  set(r, "cfdi:Receptor", "Rfc", "KIJ0906199R1");
  set(r, "cfdi:Receptor", "UsoCFDI", "P01");
}

// The 2.0 example by rail: each location a station, the goods with their net weight.
void by_rail(Element& r) {
  Element& goods = at(r, kCp20Goods);
  goods.remove_child(at(goods, "cartaporte20:Autotransporte"));
  goods.add_child("cartaporte20:TransporteFerroviario").set_attribute("TipoDeServicio", "TS01");
  goods.set_attribute("PesoNetoTotal", "1.8");
  for (const char* good : {"cartaporte20:Mercancia[1]", "cartaporte20:Mercancia[2]"}) {
    Element& detalle = at(goods, good).add_child("cartaporte20:DetalleMercancia");
    for (const auto& [n, v] : {std::pair<const char*, const char*>{"UnidadPesoMerc", "KGM"},
                               {"PesoBruto", "1.0"},
                               {"PesoNeto", "0.9"},
                               {"PesoTara", "0.1"}})
      detalle.set_attribute(n, v);
  }
  const char* kinds[] = {"01", "02", "03"};
  for (int i = 0; i < 3; ++i) {
    Element& place =
        at(r, std::string(kCp20) + "/cartaporte20:Ubicaciones/cartaporte20:Ubicacion[" +
                  std::to_string(i + 1) + "]");
    place.set_attribute("NumEstacion", "A0007");
    place.set_attribute("NombreEstacion", "Estación de prueba");
    place.set_attribute("TipoEstacion", kinds[i]);
  }
}

TEST_F(RuleGroupsTest, CartaPorteReceipt) {
  run({
      {"transfer in pesos",
       kCartaPorte10,
       [](Element& r) { set(r, "", "Moneda", "MXN"); },
       {"CP103"}},
      {"income without a currency",
       kCartaPorte20,
       [](Element& r) {
         r.remove_attribute("TipoCambio");
         set(r, "", "Moneda", "XXX");
         // Whole amounts, as XXX has no decimals.
         set(r, "", "SubTotal", "25000");
         set(r, "", "Total", "28000");
         set(r, "cfdi:Impuestos", "TotalImpuestosRetenidos", "1000");
         set(r, "cfdi:Impuestos", "TotalImpuestosTrasladados", "4000");
         set(r, "cfdi:Impuestos/cfdi:Retenciones/cfdi:Retencion", "Importe", "1000");
         set(r, "cfdi:Impuestos/cfdi:Traslados/cfdi:Traslado", "Importe", "4000");
       },
       {"CP104"}},
      {"transfer of own goods (2.0) passes", kCartaPorte20, own_transfer20, {}},
      {"transfer (2.0) to another receiver",
       kCartaPorte20,
       [](Element& r) {
         own_transfer20(r);
         set(r, "cfdi:Receptor", "Rfc", "XAXX010101000");
       },
       {"CP106"}},
      {"transfer with an exempt tax on a Concepto",
       kCartaPorte20,
       [](Element& r) {
         own_transfer20(r);
         Element& tax = at(r, kLine1)
                            .add_child("cfdi:Impuestos")
                            .add_child("cfdi:Traslados")
                            .add_child("cfdi:Traslado");
         tax.set_attribute("Base", "1");
         tax.set_attribute("Impuesto", "002");
         tax.set_attribute("TipoFactor", "Exento");
       },
       {"CP110"}},
      {"two Carta Porte nodes",
       kCartaPorte20,
       [](Element& r) { copy_into(at(r, "cfdi:Complemento"), at(r, kCp20)); },
       {"CP112"}},
      {"Carta Porte inside a Concepto",
       kCartaPorte20,
       [](Element& r) {
         copy_into(at(r, kLine1).add_child("cfdi:ComplementoConcepto"), at(r, kCp20));
       },
       {"CP113"}},
      {"with a complement that may not travel with it",
       kCartaPorte20,
       [](Element& r) {
         at(r, "cfdi:Complemento").add_child("donat:Donatarias").set_attribute("version", "1.1");
       },
       {"CP114"}},
  });
}

TEST_F(RuleGroupsTest, CartaPorte20LocationsAndGoods) {
  const auto place2 = [](const char* attribute, const char* value) {
    return [attribute, value](Element& r) { set(r, kCp20Place2, attribute, value); };
  };
  const auto then = [](std::function<void(Element&)> first, std::function<void(Element&)> next) {
    return [first, next](Element& r) {
      first(r);
      next(r);
    };
  };
  const auto international = [](Element& r) {
    move_fecha(r, "2023-03-01T10:00:00");  // the tariff item applies from 2022-12-12
    for (const auto& [n, v] : {std::pair<const char*, const char*>{"TranspInternac", "Sí"},
                               {"EntradaSalidaMerc", "Entrada"},
                               {"PaisOrigenDestino", "USA"},
                               {"ViaEntradaSalida", "01"}})
      set(r, kCp20, n, v);
    for (const char* good : {"cartaporte20:Mercancia[1]", "cartaporte20:Mercancia[2]"})
      set(r, std::string(kCp20Goods) + "/" + good, "FraccionArancelaria", "0101290200");
  };
  const auto entries = [](const char* numero) {
    return [numero](Element& r) {
      for (const char* good : {"cartaporte20:Mercancia[1]", "cartaporte20:Mercancia[2]"}) {
        at(r, std::string(kCp20Goods) + "/" + good)
            .insert_child(0, "cartaporte20:Pedimentos")
            .set_attribute("Pedimento", numero);
      }
    };
  };
  run({
      {"foreign tax id with a national RFC",
       kCartaPorte20,
       then(place2("NumRegIdTrib", "123456789"), place2("ResidenciaFiscal", "USA")),
       {"CP129"}},
      {"foreign tax id outside its country's form",
       kCartaPorte20,
       then(then(place2("RFCRemitenteDestinatario", "XEXX010101000"),
                 place2("NumRegIdTrib", "12-34")),
            place2("ResidenciaFiscal", "USA")),
       {"CP129"}},
      {"foreign tax id without ResidenciaFiscal",
       kCartaPorte20,
       then(place2("RFCRemitenteDestinatario", "XEXX010101000"),
            place2("NumRegIdTrib", "123456789")),
       {"CP130"}},
      {"ResidenciaFiscal MEX",
       kCartaPorte20,
       then(place2("RFCRemitenteDestinatario", "XEXX010101000"), place2("ResidenciaFiscal", "MEX")),
       {"CP130"}},
      {"rail with stations passes", kCartaPorte20, by_rail, {}},
      {"rail without stations",
       kCartaPorte20,
       then(by_rail,
            [](Element& r) {
              for (const char* a : {"NumEstacion", "NombreEstacion", "TipoEstacion"})
                at(r, kCp20Place2).remove_attribute(a);
            }),
       {"CP131", "CP133", "CP136"}},
      {"rail with an airport",
       kCartaPorte20,
       then(by_rail, place2("NumEstacion", "EA0001")),
       {"CP132"}},
      {"road with a station's name",
       kCartaPorte20,
       place2("NombreEstacion", "Estación"),
       {"CP134"}},
      {"road with traffic of sea navigation",
       kCartaPorte20,
       place2("NavegacionTrafico", "Altura"),
       {"CP135"}},
      {"road with a station type", kCartaPorte20, place2("TipoEstacion", "02"), {"CP136"}},
      {"road location without its address",
       kCartaPorte20,
       [](Element& r) {
         Element& place = at(r, kCp20Place2);
         place.remove_child(at(place, "cartaporte20:Domicilio"));
       },
       {"CP138"}},
      {"address locality outside its state",
       kCartaPorte20,
       [](Element& r) {
         set(r, std::string(kCp20Place2) + "/cartaporte20:Domicilio", "Localidad", "99");
       },
       {"CP140"}},
      {"address municipality outside its state",
       kCartaPorte20,
       [](Element& r) {
         set(r, std::string(kCp20Place2) + "/cartaporte20:Domicilio", "Municipio", "999");
       },
       {"CP141"}},
      {"address state not of its country",
       kCartaPorte20,
       [](Element& r) {
         Element& domicilio = at(r, std::string(kCp20Place2) + "/cartaporte20:Domicilio");
         domicilio.remove_attribute("Localidad");
         domicilio.remove_attribute("Municipio");
         domicilio.set_attribute("Estado", "ZZZ");
       },
       {"CP142"}},
      {"road with a net weight",
       kCartaPorte20,
       [](Element& r) { set(r, kCp20Goods, "PesoNetoTotal", "1.8"); },
       {"CP147"}},
      {"net weight that the goods do not add up to",
       kCartaPorte20,
       then(by_rail, [](Element& r) { set(r, kCp20Goods, "PesoNetoTotal", "2"); }),
       {"CP148"}},
      {"hazardous product without MaterialPeligroso",
       kCartaPorte20,
       [](Element& r) {
         Element& good = at(r, kCp20Good1);
         for (const char* a : {"MaterialPeligroso", "CveMaterialPeligroso", "Embalaje"})
           good.remove_attribute(a);
         good.set_attribute("BienesTransp", "10171600");
       },
       {"CP150"}},
      {"hazardous good of an unknown material",
       kCartaPorte20,
       [](Element& r) { set(r, kCp20Good1, "CveMaterialPeligroso", "0000"); },
       {"CP151"}},
      {"hazardous good without its packing",
       kCartaPorte20,
       [](Element& r) { at(r, kCp20Good1).remove_attribute("Embalaje"); },
       {"CP152"}},
      {"value in a currency outside c_Moneda",
       kCartaPorte20,
       [](Element& r) {
         set(r, kCp20Good1, "ValorMercancia", "100.00");
         set(r, kCp20Good1, "Moneda", "ZZZ");
       },
       {"CP153"}},
      {"goods entering the country without customs entries",
       kCartaPorte20,
       international,
       {"CP156"}},
      {"goods entering with their customs entries pass",
       kCartaPorte20,
       then(international, entries("23  47  3807  3002003")),
       {}},
      {"customs entry of an unknown office",
       kCartaPorte20,
       then(international, entries("23  99  3807  3002003")),
       {"CP157"}},
  });
}

// Turns the invoice into an export to a buyer in the United States with the
// Comercio Exterior complement: two goods, one per Concepto, in pieces, each
// worth its Concepto's Importe at 20 pesos to the dollar.
void export_invoice(Element& r) {
  move_fecha(r, "2023-03-01T10:00:00");  // the tariff items below apply from 2022-12-12
  Element& receptor = at(r, "cfdi:Receptor");
  receptor.set_attribute("Rfc", "XEXX010101000");
  receptor.set_attribute("ResidenciaFiscal", "USA");
  receptor.set_attribute("NumRegIdTrib", "123456789");
  receptor.set_attribute("UsoCFDI", "P01");
  Element& cce = r.add_child("cfdi:Complemento").add_child("cce11:ComercioExterior");
  for (const auto& [n, v] : {std::pair<const char*, const char*>{"Version", "1.1"},
                             {"TipoOperacion", "2"},
                             {"ClaveDePedimento", "A1"},
                             {"CertificadoOrigen", "0"},
                             {"Incoterm", "FOB"},
                             {"Subdivision", "0"},
                             {"TipoCambioUSD", "20.000000"},
                             {"TotalUSD", "50.00"}})
    cce.set_attribute(n, v);
  Element& emisor = cce.add_child("cce11:Emisor");
  emisor.set_attribute("Curp", "CACX760510HDFRRN09");
  Element& origen = emisor.add_child("cce11:Domicilio");
  for (const auto& [n, v] : {std::pair<const char*, const char*>{"Calle", "Juarez"},
                             {"Municipio", "002"},
                             {"Estado", "JAL"},
                             {"Pais", "MEX"},
                             {"CodigoPostal", "45700"}})
    origen.set_attribute(n, v);
  Element& destino = cce.add_child("cce11:Receptor").add_child("cce11:Domicilio");
  for (const auto& [n, v] : {std::pair<const char*, const char*>{"Calle", "Main"},
                             {"Estado", "TX"},
                             {"Pais", "USA"},
                             {"CodigoPostal", "77001"}})
    destino.set_attribute(n, v);
  Element& mercancias = cce.add_child("cce11:Mercancias");
  for (const auto& [id, cantidad, valor, dolares] :
       {std::tuple<const char*, const char*, const char*, const char*>{"SEF500", "1", "25.00",
                                                                       "25.00"},
        {"SEF250", "2", "12.50", "25.00"}}) {
    Element& m = mercancias.add_child("cce11:Mercancia");
    m.set_attribute("NoIdentificacion", id);
    m.set_attribute("FraccionArancelaria", "0101290200");
    m.set_attribute("CantidadAduana", cantidad);
    m.set_attribute("UnidadAduana", "06");
    m.set_attribute("ValorUnitarioAduana", valor);
    m.set_attribute("ValorDolares", dolares);
  }
}

constexpr std::string_view kCce = "cfdi:Complemento/cce11:ComercioExterior";
constexpr std::string_view kGoods = "cfdi:Complemento/cce11:ComercioExterior/cce11:Mercancias";
constexpr std::string_view kGood1 =
    "cfdi:Complemento/cce11:ComercioExterior/cce11:Mercancias/cce11:Mercancia[1]";
constexpr std::string_view kGood2 =
    "cfdi:Complemento/cce11:ComercioExterior/cce11:Mercancias/cce11:Mercancia[2]";

// The export without the customs quantities: each Concepto declares its
// goods itself, in the customs unit 06 (pieces) of their tariff item.
void export_without_customs(Element& r) {
  export_invoice(r);
  for (const std::string_view good : {kGood1, kGood2}) {
    for (const char* a : {"CantidadAduana", "UnidadAduana", "ValorUnitarioAduana"})
      at(r, good).remove_attribute(a);
  }
  set(r, kLine1, "Unidad", "06");
  set(r, "cfdi:Conceptos/cfdi:Concepto[2]", "Unidad", "06");
}

Element& add_with(Element& parent, const char* name,
                  std::initializer_list<std::pair<const char*, const char*>> attributes) {
  Element& child = parent.add_child(name);
  for (const auto& [n, v] : attributes) child.set_attribute(n, v);
  return child;
}

// A final recipient of the goods with one address.
void add_recipient(Element& r, std::initializer_list<std::pair<const char*, const char*>> address,
                   const char* tax_id = nullptr) {
  Element& recipient = at(r, kCce).insert_child(2, "cce11:Destinatario");
  if (tax_id != nullptr) recipient.set_attribute("NumRegIdTrib", tax_id);
  add_with(recipient, "cce11:Domicilio", address);
}

TEST_F(RuleGroupsTest, ComercioExterior11Rules) {
  const auto variant = [](std::function<void(Element&)> edit) {
    return [edit](Element& r) {
      export_invoice(r);
      edit(r);
    };
  };
  run({
      {"valid export", kIngreso, export_invoice, {}},
      {"a national receiver",
       kIngreso,
       variant([](Element& r) {
         Element& receptor = at(r, "cfdi:Receptor");
         receptor.set_attribute("Rfc", "VDN020304QX7");
         receptor.remove_attribute("ResidenciaFiscal");
         receptor.remove_attribute("NumRegIdTrib");
       }),
       {"CCE150"}},
      {"operation A with goods",
       kIngreso,
       variant([](Element& r) {
         Element& cce = at(r, kCce);
         for (const char* a : {"ClaveDePedimento", "CertificadoOrigen", "Incoterm", "Subdivision",
                               "TipoCambioUSD", "TotalUSD"})
           cce.remove_attribute(a);
         set(r, kCce, "TipoOperacion", "A");
       }),
       {"CCE158"}},
      {"operation 2 without Incoterm",
       kIngreso,
       variant([](Element& r) { at(r, kCce).remove_attribute("Incoterm"); }),
       {"CCE159"}},
      {"NumCertificadoOrigen without a certificate",
       kIngreso,
       variant([](Element& r) { set(r, kCce, "NumCertificadoOrigen", "C-1"); }),
       {"CCE160"}},
      {"TotalUSD that the goods do not add up to",
       kIngreso,
       variant([](Element& r) { set(r, kCce, "TotalUSD", "48.50"); }),
       {"CCE162"}},
      {"TotalUSD with 3 decimals",
       kIngreso,
       variant([](Element& r) { set(r, kCce, "TotalUSD", "50.000"); }),
       {"CCE163"}},
      {"issuer, a person, without Curp",
       kIngreso,
       variant(
           [](Element& r) { at(r, std::string(kCce) + "/cce11:Emisor").remove_attribute("Curp"); }),
       {"CCE165"}},
      {"issuer's municipality outside its state",
       kIngreso,
       variant([](Element& r) {
         set(r, std::string(kCce) + "/cce11:Emisor/cce11:Domicilio", "Municipio", "999");
       }),
       {"CCE170"}},
      {"receiver's postal code outside its country's form",
       kIngreso,
       variant([](Element& r) {
         set(r, std::string(kCce) + "/cce11:Receptor/cce11:Domicilio", "CodigoPostal", "7700");
       }),
       {"CCE186"}},
      {"a good without a Concepto",
       kIngreso,
       variant([](Element& r) { set(r, kGood1, "NoIdentificacion", "OTRO"); }),
       {"CCE198", "CCE199"}},
      {"customs attributes only in part",
       kIngreso,
       variant([](Element& r) { at(r, kGood1).remove_attribute("ValorUnitarioAduana"); }),
       {"CCE213", "CCE214"}},
      {"customs unit other than the tariff item's",
       kIngreso,
       variant([](Element& r) { set(r, kGood1, "UnidadAduana", "01"); }),
       {"CCE209"}},
      {"tariff item before it existed (2022 tariff reform)",
       kIngreso,
       variant([](Element& r) { move_fecha(r, "2022-06-01T10:00:00"); }),
       {"CCE208"}},
      {"customs entry number on a Concepto",
       kIngreso,
       variant([](Element& r) {
         at(r, kLine1)
             .insert_child(1, "cfdi:InformacionAduanera")
             .set_attribute("NumeroPedimento", "23  47  3807  3002003");
       }),
       {"CFDI33171"}},
      {"foreign receiver without NumRegIdTrib",
       kIngreso,
       variant([](Element& r) { at(r, "cfdi:Receptor").remove_attribute("NumRegIdTrib"); }),
       {"CFDI33138"}},
      {"the complement inside a Concepto",
       kIngreso,
       variant([](Element& r) {
         copy_into(at(r, kLine1).add_child("cfdi:ComplementoConcepto"), at(r, kCce));
       }),
       {"CCE154"}},
      {"with a complement that may not travel with it",
       kIngreso,
       variant([](Element& r) {
         add_with(at(r, "cfdi:Complemento"), "donat:Donatarias", {{"version", "1.1"}});
       }),
       {"CCE155"}},
      {"with a Carta Porte (still empty): neither refuses the other",
       kIngreso,
       variant([](Element& r) {
         Element& carta_porte = at(r, "cfdi:Complemento").add_child("cartaporte20:CartaPorte");
         carta_porte.set_attribute("Version", "2.0");
         carta_porte.set_attribute("TranspInternac", "No");
       }),
       {"CP124", "CP126", "CP144"}},
      {"with fiscal legends passes",
       kIngreso,
       variant([](Element& r) {
         add_with(at(r, "cfdi:Complemento"), "leyendasFisc:LeyendasFiscales", {{"version", "1.0"}});
       }),
       {}},
      {"approved-exporter number for a buyer outside the European Union",
       kIngreso,
       variant([](Element& r) { set(r, kCce, "NumeroExportadorConfiable", "MX1234"); }),
       {"CCE161"}},
      {"approved-exporter number for a buyer in Germany passes",
       kIngreso,
       variant([](Element& r) {
         set(r, kCce, "NumeroExportadorConfiable", "MX1234");
         set(r, "cfdi:Receptor", "ResidenciaFiscal", "DEU");
       }),
       {}},
      {"owner's tax id outside its country's form (and an owner outside a transfer)",
       kIngreso,
       variant([](Element& r) {
         Element& owner = at(r, kCce).insert_child(1, "cce11:Propietario");
         owner.set_attribute("NumRegIdTrib", "12-34");
         owner.set_attribute("ResidenciaFiscal", "USA");
       }),
       {"CCE148", "CCE175"}},
  });
}

TEST_F(RuleGroupsTest, ComercioExterior11Recipients) {
  using Address = std::initializer_list<std::pair<const char*, const char*>>;
  const auto with_recipient = [](Address address, const char* tax_id = nullptr) {
    return [address, tax_id](Element& r) {
      export_invoice(r);
      add_recipient(r, address, tax_id);
    };
  };
  run({
      {"recipient in Texas passes",
       kIngreso,
       with_recipient(
           {{"Calle", "Main"}, {"Estado", "TX"}, {"Pais", "USA"}, {"CodigoPostal", "77001"}},
           "123456789"),
       {}},
      {"recipient's tax id outside its country's form",
       kIngreso,
       with_recipient(
           {{"Calle", "Main"}, {"Estado", "TX"}, {"Pais", "USA"}, {"CodigoPostal", "77001"}},
           "12-34"),
       {"CCE190"}},
      {"recipient's locality outside its state",
       kIngreso,
       with_recipient({{"Calle", "Juarez"},
                       {"Localidad", "99"},
                       {"Estado", "JAL"},
                       {"Pais", "MEX"},
                       {"CodigoPostal", "45700"}}),
       {"CCE192"}},
      {"recipient's municipality outside its state",
       kIngreso,
       with_recipient({{"Calle", "Juarez"},
                       {"Municipio", "999"},
                       {"Estado", "JAL"},
                       {"Pais", "MEX"},
                       {"CodigoPostal", "45700"}}),
       {"CCE193"}},
      {"recipient's state not of its country",
       kIngreso,
       with_recipient(
           {{"Calle", "Main"}, {"Estado", "JAL"}, {"Pais", "USA"}, {"CodigoPostal", "77001"}}),
       {"CCE194"}},
      {"recipient's postal code outside its country's form",
       kIngreso,
       with_recipient(
           {{"Calle", "Main"}, {"Estado", "TX"}, {"Pais", "USA"}, {"CodigoPostal", "7700"}}),
       {"CCE195"}},
  });
}

TEST_F(RuleGroupsTest, ComercioExterior11GoodsAgainstConceptos) {
  const auto with_customs = [](std::function<void(Element&)> edit) {
    return [edit](Element& r) {
      export_invoice(r);
      edit(r);
    };
  };
  const auto without_customs = [](std::function<void(Element&)> edit) {
    return [edit](Element& r) {
      export_without_customs(r);
      edit(r);
    };
  };
  const auto good_worth = [](std::string_view good, const char* dollars, const char* total) {
    return [good, dollars, total](Element& r) {
      set(r, good, "ValorDolares", dollars);
      set(r, kCce, "TotalUSD", total);
    };
  };
  run({
      {"Conceptos declaring their goods pass", kIngreso, export_without_customs, {}},
      {"declaring Concepto with a quantity of 4 decimals",
       kIngreso,
       without_customs([](Element& r) { set(r, kLine1, "Cantidad", "1.0000"); }),
       {"CCE201"}},
      {"declaring Concepto in a unit outside the customs units",
       kIngreso,
       without_customs([](Element& r) { set(r, kLine1, "Unidad", "Pieza"); }),
       {"CCE202", "CCE210"}},
      {"declaring Concepto with a unit value of 5 decimals",
       kIngreso,
       without_customs([](Element& r) { set(r, kLine1, "ValorUnitario", "500.00001"); }),
       {"CCE203"}},
      {"declaring Concepto whose Importe is not Cantidad x ValorUnitario",
       kIngreso,
       without_customs([](Element& r) {
         set(r, kLine1, "Cantidad", "1.000");
         set(r, kLine1, "Importe", "500.30");
         set(r, "", "SubTotal", "1000.30");
         set(r, "", "Total", "1102.30");
         set(r, kGood1, "ValorDolares", "25.01");
         set(r, kCce, "TotalUSD", "50.01");
       }),
       {"CFDI33149", "CCE204"}},
      {"declaring Concepto in a customs unit other than the tariff item's",
       kIngreso,
       without_customs([](Element& r) { set(r, kLine1, "Unidad", "01"); }),
       {"CCE210"}},
      {"good worth other than its Concepto in dollars",
       kIngreso,
       without_customs(good_worth(kGood1, "26.00", "51.00")),
       {"CCE217"}},
      {"good of nominal worth 1 passes",
       kIngreso,
       without_customs(good_worth(kGood1, "1", "26.00")),
       {}},
      {"good worth its Concepto at a rounded exchange rate passes",
       kIngreso,
       without_customs([](Element& r) {
         set(r, kCce, "TipoCambioUSD", "19.9999");
         set(r, kGood1, "ValorDolares", "25.00");
       }),
       {}},
      {"two goods of one Concepto without customs quantities",
       kIngreso,
       without_customs([](Element& r) {
         Element& second = copy_into(at(r, std::string(kGoods)), at(r, kGood1));
         second.set_attribute("FraccionArancelaria", "0101290300");
         set(r, kCce, "TotalUSD", "75.00");
       }),
       {"CCE213"}},
      {"customs value other than CantidadAduana x ValorUnitarioAduana",
       kIngreso,
       with_customs([good_worth](Element& r) {
         set(r, kGood1, "CantidadAduana", "1.00");  // an integer would count as 1 ± 0.5
         good_worth(kGood1, "26.00", "51.00")(r);
       }),
       {"CCE205", "CCE216"}},
      {"goods worth other than their Conceptos in dollars",
       kIngreso,
       with_customs([](Element& r) {
         set(r, kGood2, "ValorUnitarioAduana", "11.25");
         set(r, kGood2, "ValorDolares", "22.50");
         set(r, kCce, "TotalUSD", "47.50");
       }),
       {"CCE205"}},
      {"discount good covered by the Concepto's Descuento passes",
       kIngreso,
       with_customs([](Element& r) {
         add_with(at(r, std::string(kGoods)), "cce11:Mercancia",
                  {{"NoIdentificacion", "SEF250"},
                   {"FraccionArancelaria", "9801000100"},
                   {"CantidadAduana", "1"},
                   {"UnidadAduana", "01"},
                   {"ValorUnitarioAduana", "2.50"},
                   {"ValorDolares", "2.50"}});
         set(r, kCce, "TotalUSD", "52.50");
       }),
       {}},
      {"discount good above the Concepto's Descuento",
       kIngreso,
       with_customs([](Element& r) {
         add_with(at(r, std::string(kGoods)), "cce11:Mercancia",
                  {{"NoIdentificacion", "SEF250"},
                   {"FraccionArancelaria", "9801000100"},
                   {"CantidadAduana", "1"},
                   {"UnidadAduana", "01"},
                   {"ValorUnitarioAduana", "3.00"},
                   {"ValorDolares", "3.00"}});
         set(r, kCce, "TotalUSD", "53.00");
       }),
       {"CCE212"}},
  });
}

TEST_F(RuleGroupsTest, StampingWindowCountsRealTimeAcrossSummerTime) {
  const auto now_at = [](const char* local) {
    return [local](ValidationContext& c) { c.now = *parse_date_time(local); };
  };
  const auto certificate_years = [](ValidationContext& c) {
    c.certificate.not_before = *parse_date_time("2017-01-01T00:00:00");
    c.certificate.not_after = *parse_date_time("2030-12-31T23:59:59");
  };
  run({
      {"summer 2021: 72 hours later by the clock passes",
       kIngreso,
       [](Element& r) { move_fecha(r, "2021-07-06T09:00:00"); },
       {},
       now_at("2021-07-09T09:00:00")},
      {"autumn 2022: 71.5 hours by the clock are 72.5 real hours",
       kIngreso,
       [](Element& r) { move_fecha(r, "2022-10-27T12:00:00"); },
       {"401"},
       [certificate_years](ValidationContext& c) {
         certificate_years(c);
         c.now = *parse_date_time("2022-10-30T11:30:00");
       }},
      {"autumn 2023, no change: 71.5 hours pass",
       kIngreso,
       [](Element& r) { move_fecha(r, "2023-10-26T12:00:00"); },
       {},
       [certificate_years](ValidationContext& c) {
         certificate_years(c);
         c.now = *parse_date_time("2023-10-29T11:30:00");
       }},
  });
}

}  // namespace
}  // namespace drovanexis
