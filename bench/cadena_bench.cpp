// The native original-string builder against libxslt running the SAT's
// stylesheet of the document's version (3.3 or 4.0), on every example of the
// shared SAT folder and on the library's document for each complement
// (testdata/complements, and its cfdi40 folder for 4.0). Both start from a
// document already parsed (our tree; libxml2's tree) and each stylesheet is
// compiled once. The bytes must be equal, which is checked once per document
// before anything is timed. The native builder should be at least 50x faster;
// the ratio per document is printed last.

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cadena/cadena.h"
#include "document/cfdi_version.h"
#include "document/element.h"
#include "summary_reporter.h"
#include "xml/xml_reader.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSatDir = CFDI_SAT_DIR;
const fs::path kComplementFixtures = CFDI_COMPLEMENT_FIXTURES;
const fs::path kStylesheet33 =
    kSatDir / "www.sat.gob.mx/sitio_internet/cfd/3/cadenaoriginal_3_3/cadenaoriginal_3_3.xslt";
const fs::path kStylesheet40 =
    kSatDir / "www.sat.gob.mx/sitio_internet/cfd/4/cadenaoriginal_4_0/cadenaoriginal_4_0.xslt";

// libxslt's messages, kept instead of printed: the SAT stylesheets declare
// version 2.0 and every file of them draws a notice about it.
std::string& library_messages() {
  static std::string messages;
  return messages;
}

void collect_message(void*, const char* format, ...) {
  char line[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  library_messages() += line;
}

// A compiled stylesheet, with network access forbidden to every
// transformation.
class SatStylesheet {
 public:
  explicit SatStylesheet(const fs::path& stylesheet) {
    xmlSetGenericErrorFunc(nullptr, collect_message);
    xsltSetGenericErrorFunc(nullptr, collect_message);
    security_ = xsltNewSecurityPrefs();
    xsltSetSecurityPrefs(security_, XSLT_SECPREF_READ_NETWORK, xsltSecurityForbid);
    xsltSetSecurityPrefs(security_, XSLT_SECPREF_WRITE_NETWORK, xsltSecurityForbid);
    xsltSetSecurityPrefs(security_, XSLT_SECPREF_WRITE_FILE, xsltSecurityForbid);
    xsltSetDefaultSecurityPrefs(security_);
    sheet_ = xsltParseStylesheetFile(reinterpret_cast<const xmlChar*>(stylesheet.c_str()));
    if (sheet_ == nullptr) {
      throw std::runtime_error("libxslt cannot compile " + stylesheet.string() + ": " +
                               library_messages());
    }
  }
  ~SatStylesheet() {
    xsltFreeStylesheet(sheet_);
    xsltFreeSecurityPrefs(security_);
  }
  SatStylesheet(const SatStylesheet&) = delete;
  SatStylesheet& operator=(const SatStylesheet&) = delete;

  // The stylesheet's output for the document; throws when it fails.
  std::string apply(xmlDocPtr document) const {
    xmlDocPtr result = xsltApplyStylesheet(sheet_, document, nullptr);
    if (result == nullptr) throw std::runtime_error("libxslt failed: " + library_messages());
    xmlChar* bytes = nullptr;
    int length = 0;
    const int saved = xsltSaveResultToString(&bytes, &length, result, sheet_);
    std::string text =
        saved == 0 && bytes != nullptr
            ? std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length))
            : std::string();
    xmlFree(bytes);
    xmlFreeDoc(result);
    if (saved != 0) throw std::runtime_error("libxslt could not serialise its result");
    return text;
  }

 private:
  xsltSecurityPrefsPtr security_ = nullptr;
  xsltStylesheetPtr sheet_ = nullptr;
};

std::string read_bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  if (!(in >> bytes.rdbuf())) throw std::runtime_error("cannot read " + file.string());
  return bytes.str();
}

// The two sides of one version: the native string and the stylesheet.
struct Version {
  std::string (*native)(const drovanexis::Element&);
  const SatStylesheet* sheet;
};

// One example, parsed once for each side, with the version it is of.
struct Example {
  std::string name;
  drovanexis::Element tree;
  xmlDocPtr libxml_tree = nullptr;
  Version version{};
};

// The XML files of a folder, sorted by name.
std::vector<fs::path> xml_files(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() == ".xml") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

Example load_example(const fs::path& file, const std::string& name, const Version& v33,
                     const Version& v40) {
  const std::string bytes = read_bytes(file);
  Example example{name, drovanexis::parse_xml(bytes), nullptr, {}};
  example.version =
      drovanexis::cfdi_version(example.tree) == drovanexis::CfdiVersion::k40 ? v40 : v33;
  example.libxml_tree = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), file.c_str(),
                                      nullptr, XML_PARSE_NONET);
  if (example.libxml_tree == nullptr) {
    throw std::runtime_error("libxml2 cannot parse " + file.string());
  }
  return example;
}

// Where the two strings part, for the message of a mismatch.
std::string first_difference(const std::string& native, const std::string& reference) {
  std::size_t at = 0;
  while (at < native.size() && at < reference.size() && native[at] == reference[at]) ++at;
  const std::size_t from = at < 40 ? 0 : at - 40;
  return "at byte " + std::to_string(at) + ": native \"" + native.substr(from, 80) +
         "\" libxslt \"" + reference.substr(from, 80) + "\"";
}

void register_example(const Example& example) {
  benchmark::RegisterBenchmark(("native/" + example.name).c_str(), [&example](
                                                                       benchmark::State& state) {
    for (auto _ : state) {
      std::string text = example.version.native(example.tree);
      benchmark::DoNotOptimize(text);
    }
  })->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark(("libxslt/" + example.name).c_str(), [&example](
                                                                        benchmark::State& state) {
    for (auto _ : state) {
      std::string text = example.version.sheet->apply(example.libxml_tree);
      benchmark::DoNotOptimize(text);
    }
  })->Unit(benchmark::kMicrosecond);
}

void print_ratios(const bench::SummaryReporter& reporter, const std::vector<Example>& examples) {
  std::printf("\nlibxslt / native, budget at least 50 (wall clock; processor time)\n");
  for (const Example& example : examples) {
    const auto native = reporter.timing("native/" + example.name);
    const auto reference = reporter.timing("libxslt/" + example.name);
    if (!native || !reference) continue;
    const double real_ratio = reference->real / native->real;
    const double cpu_ratio = reference->cpu / native->cpu;
    std::printf("  %-34s %6.1f; %6.1f  (native %.2f us, libxslt %.1f us processor time)%s\n",
                example.name.c_str(), real_ratio, cpu_ratio, native->cpu * 1e6,
                reference->cpu * 1e6, real_ratio >= 50.0 && cpu_ratio >= 50.0 ? "" : "  BELOW 50");
  }
}

int run(int argc, char** argv) {
  if (!fs::exists(kStylesheet33) || !fs::exists(kStylesheet40)) {
    std::printf("cadena_bench: skipped, the SAT folder is absent (%s)\n", kSatDir.c_str());
    return 0;
  }
  const SatStylesheet sheet33(kStylesheet33);
  const SatStylesheet sheet40(kStylesheet40);
  const Version v33{drovanexis::cadena_cfdi33, &sheet33};
  const Version v40{drovanexis::cadena_cfdi40, &sheet40};
  std::vector<Example> examples;
  for (const fs::path& file : xml_files(kSatDir / "examples")) {
    examples.push_back(load_example(file, file.stem().string(), v33, v40));
  }
  for (const fs::path& file : xml_files(kComplementFixtures)) {
    examples.push_back(load_example(file, "complement/" + file.stem().string(), v33, v40));
  }
  for (const fs::path& file : xml_files(kComplementFixtures / "cfdi40")) {
    examples.push_back(load_example(file, "complement40/" + file.stem().string(), v33, v40));
  }
  bool all_equal = true;
  for (const Example& example : examples) {
    const std::string native = example.version.native(example.tree);
    const std::string reference = example.version.sheet->apply(example.libxml_tree);
    if (native != reference) {
      std::printf("%s: DIFFERENT BYTES, not timed; %s\n", example.name.c_str(),
                  first_difference(native, reference).c_str());
      all_equal = false;
      continue;
    }
    std::printf("%s: same %zu bytes\n", example.name.c_str(), native.size());
    register_example(example);
  }
  print_ratios(bench::run_benchmarks(argc, argv), examples);
  for (Example& example : examples) xmlFreeDoc(example.libxml_tree);
  return all_equal ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "cadena_bench: %s\n", error.what());
    return 1;
  }
}
