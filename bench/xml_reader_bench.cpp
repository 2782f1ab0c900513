// The XML reader on hostile texts: each refused or accepted in time linear in
// its size. Every case reports its processor time per MiB of text.
//
//   xml_reader_bench [benchmark options]
//   xml_reader_bench --memory     instead, reads each text once in a fresh
//                                 child process and prints the peak resident
//                                 memory the reading added, per byte of text

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "xml/xml_reader.h"

namespace {

using drovanexis::kMaxXmlAttributes;
using drovanexis::kMaxXmlElements;
using drovanexis::kMaxXmlNamespacesInScope;
using drovanexis::kMaxXmlValueBytes;

constexpr double kMiB = 1024.0 * 1024.0;

std::string attributes_on_one_element(std::size_t count) {
  std::string text = "<a";
  for (std::size_t i = 0; i < count; ++i) text += " a" + std::to_string(i) + "=\"\"";
  return text + "/>";
}

std::string declarations_on_one_element(std::size_t count) {
  std::string text = "<a";
  for (std::size_t i = 0; i < count; ++i) {
    text += " xmlns:n" + std::to_string(i) + "=\"urn:" + std::to_string(i) + "\"";
  }
  return text + "/>";
}

std::string empty_children(std::size_t count) {
  std::string text = "<r>";
  text.reserve(count * 4 + 10);
  for (std::size_t i = 0; i < count; ++i) text += "<a/>";
  return text + "</r>";
}

std::string empty_elements_of_size(std::size_t bytes) { return empty_children(bytes / 4); }

std::string text_of_size(std::size_t bytes) { return "<a>" + std::string(bytes, 't') + "</a>"; }

// Elements with as many attributes as allowed, until the text has `bytes`.
std::string full_elements(std::size_t bytes) {
  std::string one = attributes_on_one_element(kMaxXmlAttributes);
  std::string text = "<r>";
  while (text.size() < bytes) text += one;
  return text + "</r>";
}

// As many declarations in scope as allowed, and leaves whose prefix is the
// outermost one, so that each name is looked up through all of them.
std::string deep_scope_leaves(std::size_t leaves) {
  std::string open, close;
  for (std::size_t i = 0; i < kMaxXmlNamespacesInScope; i += 128) {
    open += "<a";
    for (std::size_t j = i; j < i + 128; ++j) {
      open += " xmlns:n" + std::to_string(j) + "=\"urn:" + std::to_string(j) + "\"";
    }
    open += ">";
    close += "</a>";
  }
  for (std::size_t i = 0; i < leaves; ++i) open += "<n0:l n0:v=\"\"/>";
  return open + close;
}

std::string long_attribute(std::size_t bytes) {
  return "<a v=\"" + std::string(bytes, 'v') + "\"/>";
}

long status_kib(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
  }
  return 0;
}

void read_text(benchmark::State& state, const std::function<std::string()>& make) {
  const std::string text = make();
  bool refused = false;
  for (auto _ : state) {
    try {
      benchmark::DoNotOptimize(drovanexis::parse_xml(text));
      refused = false;
    } catch (const drovanexis::XmlParseError&) {
      refused = true;
    }
  }
  const double mib = static_cast<double>(text.size()) / kMiB;
  state.counters["MiB"] = mib;
  // Processor time per iteration divided by the MiB read, in milliseconds.
  state.counters["cpu_ms_per_MiB"] = benchmark::Counter(
      mib * 1e-3, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetLabel(refused ? "refused" : "accepted");
}

const std::vector<std::pair<const char*, std::function<std::string()>>>& cases() {
  static const std::vector<std::pair<const char*, std::function<std::string()>>> all{
      {"attributes_200000", [] { return attributes_on_one_element(200'000); }},
      {"declarations_100000", [] { return declarations_on_one_element(100'000); }},
      {"children_2000000", [] { return empty_children(2'000'000); }},
      {"text_20MB", [] { return text_of_size(20'000'000); }},
      {"empty_elements_31MiB", [] { return empty_elements_of_size(31u << 20); }},
      {"children_at_limit", [] { return empty_children(kMaxXmlElements - 1); }},
      {"full_elements_8MiB", [] { return full_elements(8u << 20); }},
      {"deep_scope_leaves", [] { return deep_scope_leaves(500'000); }},
      {"attribute_value_at_limit", [] { return long_attribute(kMaxXmlValueBytes); }},
  };
  return all;
}

// In a child process: builds the text, gives freed memory back, resets the
// resident high-water mark, reads the text and prints what the peak grew by.
void measure_in_child(const char* name, const std::function<std::string()>& make) {
  const std::string text = make();
  ::malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = status_kib("VmRSS:");
  const char* outcome = "accepted";
  try {
    benchmark::DoNotOptimize(drovanexis::parse_xml(text));
  } catch (const drovanexis::XmlParseError&) {
    outcome = "refused";
  }
  const long peak = status_kib("VmHWM:") - before;
  std::printf("%-26s %8.2f MiB  %-8s  peak +%9.1f MiB  = %6.2f x the text\n", name,
              static_cast<double>(text.size()) / kMiB, outcome, static_cast<double>(peak) / 1024.0,
              static_cast<double>(peak) * 1024.0 / static_cast<double>(text.size()));
  std::fflush(stdout);
}

int measure_memory() {
  std::printf("peak resident memory added by reading each text (fresh process each)\n");
  std::fflush(stdout);
  int failures = 0;
  for (const auto& [name, make] : cases()) {
    const pid_t child = ::fork();
    if (child == 0) {
      measure_in_child(name, make);
      std::_Exit(0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      std::printf("%s: the measuring process failed\n", name);
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--memory") == 0) return measure_memory();
  for (const auto& [name, make] : cases()) {
    benchmark::RegisterBenchmark(name, read_text, make)->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
