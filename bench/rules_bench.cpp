// Validation as the provider applies it before stamping, on the SAT's simple
// invoice example (read at run time from the SAT folder beside the
// repository): the whole validation, which the budget keeps under 50 µs of
// processor time, and its parts: the catalogues' look-ups and the rule
// groups without the structure stage. The catalogues are loaded once before
// timing, as a process does on its first document.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "time/civil_time.h"
#include "validate/catalogs.h"
#include "validate/rule_groups.h"
#include "validate/validation.h"
#include "xml/xml_reader.h"

namespace {

using drovanexis::Element;

Element simple_invoice() {
  const std::filesystem::path file =
      std::filesystem::path(CFDI_SAT_DIR) / "examples" / "cfdi33-ingreso.xml";
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  Element root = drovanexis::parse_xml(text.str());
  if (Element* complemento = root.child("cfdi:Complemento")) root.remove_child(*complemento);
  return root;
}

drovanexis::ValidationContext sound_context(const Element& root) {
  const auto fecha = drovanexis::parse_fecha(*root.attribute("Fecha"));
  drovanexis::ValidationContext context;
  context.certificate.rfc = *root.child("cfdi:Emisor")->attribute("Rfc");
  context.certificate.is_csd = true;
  context.certificate.issued_by_authority = true;
  context.certificate.not_before = drovanexis::LocalDateTime{fecha->seconds - 86400};
  context.certificate.not_after = drovanexis::LocalDateTime{fecha->seconds + 86400};
  context.seal_verified = true;
  context.now = drovanexis::LocalDateTime{fecha->seconds + 600};
  return context;
}

void BM_LoadCataloguesOnce(benchmark::State& state) {
  // The first look-up of a process parses every table; later ones find them
  // ready. Registered first and run once, so that it measures the load.
  for (auto _ : state) benchmark::DoNotOptimize(drovanexis::catalogs::catalog("c_Moneda"));
}
BENCHMARK(BM_LoadCataloguesOnce)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ValidateSimpleInvoice(benchmark::State& state) {
  const Element root = simple_invoice();
  const auto context = sound_context(root);
  if (!drovanexis::validate_document(root, context).empty()) {
    state.SkipWithError("the simple invoice does not validate");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(drovanexis::validate_document(root, context));
}
BENCHMARK(BM_ValidateSimpleInvoice)->Unit(benchmark::kMicrosecond);

void BM_RuleGroupsOfTheSimpleInvoice(benchmark::State& state) {
  const Element root = simple_invoice();
  namespace rules = drovanexis::rules;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rules::cfdi33_comprobante_rules(root));
    benchmark::DoNotOptimize(rules::cfdi33_concepto_rules(root));
    benchmark::DoNotOptimize(rules::cfdi33_impuestos_rules(root));
  }
}
BENCHMARK(BM_RuleGroupsOfTheSimpleInvoice)->Unit(benchmark::kMicrosecond);

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
