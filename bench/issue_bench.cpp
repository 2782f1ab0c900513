// Issuing the demo's simple invoice end to end through the C entries (build,
// validate, seal, stamp, ledger, write) next to just the RSA work it cannot
// avoid: two SHA256withRSA signatures with a 2048-bit key (the seal and the
// stamp) and one verification (the seal, checked before stamping). The
// issuing should cost little beyond the RSA work; the ratio is printed last.
//
// Further rows show where the rest goes: building the document alone, reading
// the CSD's certificate and encrypted key, opening the provider's state (its
// encrypted key included), and writing one stamped file to disk, each as one
// processing does it.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "api/scenario_calls.h"
#include "crypto/certificate.h"
#include "crypto/private_key.h"
#include "crypto/signature.h"
#include "drovanexis.h"
#include "issuing_folder.h"
#include "portable/file_io.h"
#include "sandbox/sandbox_provider.h"
#include "sandbox/state_file.h"
#include "summary_reporter.h"

namespace {

constexpr std::int64_t kStamps = 1'000'000;
constexpr const char* kOutputFile = "CFDI33Ejemplo.xml";

// One prepared folder for the whole run; created on first use.
bench::IssuingFolder& folder() {
  static bench::IssuingFolder instance(kStamps);
  return instance;
}

// Processor time spent in this process's own code and libraries (user) and
// in the kernel on its behalf (system: file creation, renames, and handing
// the flushes to the disk), per iteration, as counters of the benchmark.
class ProcessorSplit {
 public:
  ProcessorSplit() { ::getrusage(RUSAGE_SELF, &start_); }
  void report(benchmark::State& state) const {
    rusage end {};
    ::getrusage(RUSAGE_SELF, &end);
    const auto seconds = [](const timeval& t) {
      return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    const double iterations = std::max<double>(1, static_cast<double>(state.iterations()));
    state.counters["user_ms"] = 1e3 * (seconds(end.ru_utime) - seconds(start_.ru_utime)) / iterations;
    state.counters["system_ms"] =
        1e3 * (seconds(end.ru_stime) - seconds(start_.ru_stime)) / iterations;
  }

 private:
  rusage start_ {};
};

void BM_IssueSimpleInvoice(benchmark::State& state) {
  folder();
  const ProcessorSplit split;
  for (auto _ : state) {
    const bench::IssueResult result = bench::issue_simple_invoice(kOutputFile);
    if (result.code != 0) {
      state.SkipWithError(("processing failed: " + result.description).c_str());
      break;
    }
  }
  split.report(state);
}
BENCHMARK(BM_IssueSimpleInvoice)->Unit(benchmark::kMillisecond);

// The texts the invoice's RSA work signs: its original string and the
// stamp's, as one processing of the invoice gives them.
struct SignedTexts {
  std::string cadena;
  std::string stamp_cadena;
};

SignedTexts texts_of_one_issuing() {
  folder();
  const std::int32_t handle = drovanexis::test::build_simple_invoice();
  const int code =
      Drovanexis_ProcesaDocumento(handle, bench::kIssuerCertificateFile, bench::kIssuerKeyFile,
                                  bench::kIssuerKeyPassword, kOutputFile);
  SignedTexts texts{Drovanexis_GetValue(handle, 5), Drovanexis_GetValue(handle, 8)};
  const std::string description = Drovanexis_GetValue(handle, 2);
  Drovanexis_Free(handle);
  if (code != 0) throw std::runtime_error("processing failed: " + description);
  return texts;
}

void BM_RsaWorkOfOneInvoice(benchmark::State& state) {
  const SignedTexts texts = texts_of_one_issuing();
  const auto certificate = drovanexis::Certificate::load(bench::kIssuerCertificateFile);
  const auto key = drovanexis::PrivateKey::load(bench::kIssuerKeyFile, bench::kIssuerKeyPassword);
  if (EVP_PKEY_get_bits(key.get()) != 2048) {
    state.SkipWithError("the sample CSD's key is not a 2048-bit key");
    return;
  }
  const ProcessorSplit split;
  for (auto _ : state) {
    const std::string seal = drovanexis::sign_sha256_base64(key, texts.cadena);
    if (!drovanexis::verify_sha256_base64(certificate, texts.cadena, seal)) {
      state.SkipWithError("the seal just made does not verify");
      break;
    }
    std::string stamp_seal = drovanexis::sign_sha256_base64(key, texts.stamp_cadena);
    benchmark::DoNotOptimize(stamp_seal);
  }
  split.report(state);
}
BENCHMARK(BM_RsaWorkOfOneInvoice)->Unit(benchmark::kMillisecond);

void BM_BuildSimpleInvoiceOnly(benchmark::State& state) {
  for (auto _ : state) {
    const std::int32_t handle = drovanexis::test::build_simple_invoice();
    Drovanexis_Free(handle);
  }
}
BENCHMARK(BM_BuildSimpleInvoiceOnly)->Unit(benchmark::kMicrosecond);

void BM_ReadCsdCertificateAndKey(benchmark::State& state) {
  folder();
  for (auto _ : state) {
    auto certificate = drovanexis::Certificate::load(bench::kIssuerCertificateFile);
    auto key = drovanexis::PrivateKey::load(bench::kIssuerKeyFile, bench::kIssuerKeyPassword);
    benchmark::DoNotOptimize(certificate);
    benchmark::DoNotOptimize(key);
  }
}
BENCHMARK(BM_ReadCsdCertificateAndKey)->Unit(benchmark::kMillisecond);

void BM_OpenSandboxProvider(benchmark::State& state) {
  folder();
  for (auto _ : state) {
    auto provider =
        drovanexis::sandbox::SandboxProvider::open(drovanexis::sandbox::default_state_path());
    benchmark::DoNotOptimize(provider);
  }
}
BENCHMARK(BM_OpenSandboxProvider)->Unit(benchmark::kMillisecond);

void BM_WriteStampedFileAtomically(benchmark::State& state) {
  folder();
  const bench::IssueResult issued = bench::issue_simple_invoice(kOutputFile);
  const auto bytes = portable::read_file(kOutputFile);
  if (issued.code != 0 || !bytes) {
    state.SkipWithError(("no stamped file to write: " + issued.description).c_str());
    return;
  }
  for (auto _ : state) portable::write_file_atomic(kOutputFile, *bytes);
}
BENCHMARK(BM_WriteStampedFileAtomically)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  try {
    const bench::SummaryReporter& reporter = bench::run_benchmarks(argc, argv);
    const auto issuing = reporter.timing("BM_IssueSimpleInvoice");
    const auto rsa = reporter.timing("BM_RsaWorkOfOneInvoice");
    if (issuing && rsa) {
      std::printf(
          "\nissuing / RSA work: %.1f on the wall clock (%.2f ms / %.2f ms), "
          "%.1f in processor time (%.2f ms / %.2f ms)\n",
          issuing->real / rsa->real, issuing->real * 1e3, rsa->real * 1e3, issuing->cpu / rsa->cpu,
          issuing->cpu * 1e3, rsa->cpu * 1e3);
      const auto counter = [](const bench::Timing& timing, const char* name) {
        const auto found = timing.counters.find(name);
        return found == timing.counters.end() ? 0.0 : found->second;
      };
      std::printf(
          "processor time of one issuing: %.2f ms user (%.1f x the RSA work's %.2f ms user), "
          "%.2f ms system\n",
          counter(*issuing, "user_ms"), counter(*issuing, "user_ms") / counter(*rsa, "user_ms"),
          counter(*rsa, "user_ms"), counter(*issuing, "system_ms"));
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "issue_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
