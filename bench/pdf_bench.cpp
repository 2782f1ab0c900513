// The printed form: the demo's simple invoice, issued and stamped once in a
// prepared folder, drawn as a PDF (one page); and invoices of 10, 100 and
// 1,000 lines made from it, to show the cost growing with the lines.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "bench/issuing_folder.h"
#include "portable/file_io.h"
#include "tools/pdf/cfdi_pdf.h"
#include "xml/xml_reader.h"

namespace {

// The stamped simple invoice's XML text, issued once.
const std::string& stamped_invoice() {
  static const std::string text = [] {
    bench::IssuingFolder folder(10);
    const bench::IssueResult result = bench::issue_simple_invoice("simple.xml");
    if (result.code != 0) throw std::runtime_error("issuing failed: " + result.description);
    const auto xml = portable::read_file("simple.xml");
    if (!xml) throw std::runtime_error("simple.xml was not written");
    return *xml;
  }();
  return text;
}

// The invoice with its lines replaced by `lines` copies of its first one.
std::string with_lines(const std::string& xml, int lines) {
  const auto start = xml.find("<cfdi:Concepto ");
  const auto end = xml.find("</cfdi:Concepto>", start) + std::string("</cfdi:Concepto>").size();
  const auto all_end = xml.find("</cfdi:Conceptos>");
  std::string copies;
  for (int i = 0; i < lines; ++i) copies += xml.substr(start, end - start);
  return xml.substr(0, start) + copies + xml.substr(all_end);
}

void BM_PrintSimpleInvoice(benchmark::State& state) {
  const drovanexis::Element document = drovanexis::parse_xml(stamped_invoice());
  int pages = 0;
  for (auto _ : state) {
    const pdf::PrintedCfdi printed = pdf::print_cfdi(document);
    pages = printed.pages;
    benchmark::DoNotOptimize(printed.bytes.data());
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintSimpleInvoice)->Unit(benchmark::kMillisecond);

void BM_PrintInvoiceOfLines(benchmark::State& state) {
  const drovanexis::Element document =
      drovanexis::parse_xml(with_lines(stamped_invoice(), static_cast<int>(state.range(0))));
  int pages = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const pdf::PrintedCfdi printed = pdf::print_cfdi(document);
    pages = printed.pages;
    bytes = printed.bytes.size();
  }
  state.counters["pages"] = pages;
  state.counters["pdf_kB"] = static_cast<double>(bytes) / 1024;
}
BENCHMARK(BM_PrintInvoiceOfLines)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
