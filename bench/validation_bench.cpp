// Validating the demo's simple invoice as the provider does before stamping:
// the schema stage alone, then the whole validation (schema stage, catalogue
// look-ups, rule groups). The document is the one the issuing pipeline
// produces (issued once in a prepared folder, its stamp removed), so that it
// carries a real seal, certificate and number.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "issuing_folder.h"
#include "portable/file_io.h"
#include "validate/schema_stage.h"
#include "validate/validation.h"
#include "xml/xml_reader.h"

namespace {

using drovanexis::Element;

Element issued_simple_invoice() {
  bench::IssuingFolder folder(10);
  const auto output = folder.path() / "simple.xml";
  const bench::IssueResult result = bench::issue_simple_invoice(output.string().c_str());
  if (result.code != 0)
    throw std::runtime_error("issuing the simple invoice failed: " + result.description);
  const auto text = portable::read_file(output.string());
  if (!text) throw std::runtime_error("cannot read " + output.string());
  Element document = drovanexis::parse_xml(*text);
  Element* complemento = document.child("cfdi:Complemento");
  if (complemento != nullptr) document.remove_child(*complemento);  // only the stamp is there
  return document;
}

const Element& simple_invoice() {
  static const Element document = issued_simple_invoice();
  return document;
}

// The facts of a sound processing: the issuer's CSD, valid around Fecha, a
// verified seal, stamped a minute after Fecha.
drovanexis::ValidationContext sound_context(const Element& document) {
  const auto fecha = drovanexis::parse_fecha(*document.attribute("Fecha"));
  drovanexis::ValidationContext context;
  context.certificate.rfc = *document.child("cfdi:Emisor")->attribute("Rfc");
  context.certificate.is_csd = true;
  context.certificate.issued_by_authority = true;
  context.certificate.not_before = drovanexis::LocalDateTime{fecha->seconds - 86400};
  context.certificate.not_after = drovanexis::LocalDateTime{fecha->seconds + 86400};
  context.seal_verified = true;
  context.now = drovanexis::LocalDateTime{fecha->seconds + 60};
  return context;
}

void BM_SchemaStageSimpleInvoice(benchmark::State& state) {
  const Element& document = simple_invoice();
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
  const Element& document = simple_invoice();
  const drovanexis::ValidationContext context = sound_context(document);
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

}  // namespace

BENCHMARK_MAIN();
