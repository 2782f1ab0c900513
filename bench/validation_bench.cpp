// Validation as the provider runs it before stamping, and its parts:
//
// - the demo's simple invoice as the issuing pipeline produces it (issued
//   once in a prepared folder, stamp removed), so that it carries a real
//   seal, certificate and number: the schema stage alone, the whole
//   validation (schema stage, catalogue look-ups, rule groups), and the
//   provider's facts about it (the certificate read from Certificado, its
//   issuer checked, the seal verified), which the budget's RSA work includes
//   only in part;
// - the SAT's example invoice (read at run time from the SAT folder beside
//   the repository): its whole validation and its CFDI 3.3 rule groups alone;
//   and the 4.0 example invoice's whole validation and its 4.0 rule groups;
// - the catalogues: loading them once, as a process does on its first
//   document, and looking values up.
//
// The whole validation of the simple invoice is the budget: under 50 µs of
// processor time.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "issuing_folder.h"
#include "portable/file_io.h"
#include "sandbox/sandbox_provider.h"
#include "sandbox/state_file.h"
#include "time/civil_time.h"
#include "validate/catalogs.h"
#include "validate/rule_groups.h"
#include "validate/schema_stage.h"
#include "validate/validation.h"
#include "xml/xml_reader.h"

namespace {

using drovanexis::Element;

// A prepared folder, the provider opened on it and the simple invoice issued
// there, for the whole run.
struct IssuedInvoice {
  bench::IssuingFolder folder{10};
  std::unique_ptr<drovanexis::sandbox::SandboxProvider> provider;
  Element document{"cfdi:Comprobante"};
};

IssuedInvoice& issued() {
  // Destroyed at exit, which removes the folder.
  static const std::unique_ptr<IssuedInvoice> instance = [] {
    auto made = std::make_unique<IssuedInvoice>();
    const auto output = made->folder.path() / "simple.xml";
    const bench::IssueResult result = bench::issue_simple_invoice(output.string().c_str());
    if (result.code != 0)
      throw std::runtime_error("issuing the simple invoice failed: " + result.description);
    const auto text = portable::read_file(output.string());
    if (!text) throw std::runtime_error("cannot read " + output.string());
    made->document = drovanexis::parse_xml(*text);
    if (Element* complemento = made->document.child("cfdi:Complemento")) {
      made->document.remove_child(*complemento);  // only the stamp is there
    }
    made->provider = std::make_unique<drovanexis::sandbox::SandboxProvider>(
        drovanexis::sandbox::SandboxProvider::open(drovanexis::sandbox::default_state_path()));
    return made;
  }();
  return *instance;
}

Element sat_example_invoice(const char* name = "cfdi33-ingreso.xml") {
  const std::filesystem::path file = std::filesystem::path(CFDI_SAT_DIR) / "examples" / name;
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  Element root = drovanexis::parse_xml(text.str());
  if (Element* complemento = root.child("cfdi:Complemento")) root.remove_child(*complemento);
  return root;
}

// The facts of a sound processing: the issuer's CSD, valid around Fecha, a
// verified seal, stamped `after` seconds after Fecha.
drovanexis::ValidationContext sound_context(const Element& document, std::int64_t after) {
  const auto fecha = drovanexis::parse_fecha(*document.attribute("Fecha"));
  drovanexis::ValidationContext context;
  context.certificate.rfc = *document.child("cfdi:Emisor")->attribute("Rfc");
  context.certificate.is_csd = true;
  context.certificate.issued_by_authority = true;
  context.certificate.not_before = drovanexis::LocalDateTime{fecha->seconds - 86400};
  context.certificate.not_after = drovanexis::LocalDateTime{fecha->seconds + 86400};
  context.seal_verified = true;
  context.now = drovanexis::LocalDateTime{fecha->seconds + after};
  return context;
}

void BM_LoadCataloguesOnce(benchmark::State& state) {
  // The first look-up of a process parses every table; later ones find them
  // ready. Registered first and run once (never repeated), so that it
  // measures the load.
  for (auto _ : state) benchmark::DoNotOptimize(drovanexis::catalogs::catalog("c_Moneda"));
}
BENCHMARK(BM_LoadCataloguesOnce)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond);

void BM_SchemaStageSimpleInvoice(benchmark::State& state) {
  const Element& document = issued().document;
  if (!drovanexis::check_schema(document).failures.empty()) {
    state.SkipWithError("the simple invoice does not pass the schema stage");
    return;
  }
  for (auto _ : state) {
    auto check = drovanexis::check_schema(document);
    benchmark::DoNotOptimize(check);
  }
}
BENCHMARK(BM_SchemaStageSimpleInvoice)->Unit(benchmark::kMicrosecond);

void BM_ValidateSimpleInvoice(benchmark::State& state) {
  const Element& document = issued().document;
  const drovanexis::ValidationContext context = sound_context(document, 60);
  if (!drovanexis::validate_document(document, context).empty()) {
    state.SkipWithError("the simple invoice does not pass validation");
    return;
  }
  for (auto _ : state) {
    auto failures = drovanexis::validate_document(document, context);
    benchmark::DoNotOptimize(failures);
  }
}
BENCHMARK(BM_ValidateSimpleInvoice)->Unit(benchmark::kMicrosecond);

// What the provider learns before validating: the certificate in
// Certificado read, its issuer checked against the test authority, the seal
// verified over the original string (one RSA verification of the budget's
// three operations, and the issuer's signature a further one).
void BM_ProviderFactsOfSimpleInvoice(benchmark::State& state) {
  IssuedInvoice& invoice = issued();
  const auto facts = invoice.provider->validation_context(invoice.document);
  if (!facts.seal_verified || !facts.certificate.issued_by_authority) {
    state.SkipWithError("the provider does not accept the simple invoice's seal or certificate");
    return;
  }
  for (auto _ : state) {
    auto context = invoice.provider->validation_context(invoice.document);
    benchmark::DoNotOptimize(context);
  }
}
BENCHMARK(BM_ProviderFactsOfSimpleInvoice)->Unit(benchmark::kMicrosecond);

void BM_ValidateSatExampleInvoice(benchmark::State& state) {
  const Element root = sat_example_invoice();
  const auto context = sound_context(root, 600);
  if (!drovanexis::validate_document(root, context).empty()) {
    state.SkipWithError("the SAT's example invoice does not validate");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(drovanexis::validate_document(root, context));
}
BENCHMARK(BM_ValidateSatExampleInvoice)->Unit(benchmark::kMicrosecond);

// The 4.0 example invoice: its whole validation (schema stage, provider
// rules, the 4.0 rule groups).
void BM_ValidateSatExample40Invoice(benchmark::State& state) {
  const Element root = sat_example_invoice("cfdi40-ingreso.xml");
  const auto context = sound_context(root, 600);
  if (!drovanexis::validate_document(root, context).empty()) {
    state.SkipWithError("the SAT's 4.0 example invoice does not validate");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(drovanexis::validate_document(root, context));
}
BENCHMARK(BM_ValidateSatExample40Invoice)->Unit(benchmark::kMicrosecond);

void BM_RuleGroupsOfSatExampleInvoice(benchmark::State& state) {
  const Element root = sat_example_invoice();
  namespace rules = drovanexis::rules;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rules::cfdi33_comprobante_rules(root));
    benchmark::DoNotOptimize(rules::cfdi33_concepto_rules(root));
    benchmark::DoNotOptimize(rules::cfdi33_impuestos_rules(root));
  }
}
BENCHMARK(BM_RuleGroupsOfSatExampleInvoice)->Unit(benchmark::kMicrosecond);

void BM_RuleGroupsOfSatExample40Invoice(benchmark::State& state) {
  const Element root = sat_example_invoice("cfdi40-ingreso.xml");
  namespace rules = drovanexis::rules;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rules::cfdi40_comprobante_rules(root));
    benchmark::DoNotOptimize(rules::cfdi40_parties_rules(root));
    benchmark::DoNotOptimize(rules::cfdi40_concepto_rules(root));
    benchmark::DoNotOptimize(rules::cfdi40_impuestos_rules(root));
  }
}
BENCHMARK(BM_RuleGroupsOfSatExample40Invoice)->Unit(benchmark::kMicrosecond);

void BM_CatalogueLookups(benchmark::State& state) {
  namespace catalogs = drovanexis::catalogs;
  const int day = 20211201;
  catalogs::look_up("c_Moneda", "MXN", day);  // loads the catalogues once
  for (auto _ : state) {
    benchmark::DoNotOptimize(catalogs::look_up("c_ClaveUnidad", "H87", day));
    benchmark::DoNotOptimize(catalogs::look_up("c_FormaPago", "99", day));
    benchmark::DoNotOptimize(catalogs::look_up("c_RegimenFiscal", "612", day));
    benchmark::DoNotOptimize(catalogs::look_up("comext11.c_FraccionArancelaria", "01012101", day));
    benchmark::DoNotOptimize(catalogs::tasa_o_cuota_allowed("002", "Tasa", false, "0.160000", day));
  }
  state.SetItemsProcessed(state.iterations() * 5);
}
BENCHMARK(BM_CatalogueLookups)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
