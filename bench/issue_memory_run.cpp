// Issues many simple invoices in one process through the C entries (build,
// process, free) and prints the resident memory after the first 1,000 and
// after all of them: it should stay flat. Also prints the time taken.
//
//   issue_memory_run [COUNT]     COUNT documents (default 10000, at least 1000)

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

#include "issuing_folder.h"
#include "portable/system_info.h"

namespace {

constexpr long kDefaultCount = 10'000;
constexpr long kFirstCheckpoint = 1'000;
constexpr long kProgressEvery = 1'000;

// Resident memory in kB.
long resident_kb() {
  const std::optional<long long> kb = portable::resident_memory_kb();
  if (!kb) throw std::runtime_error("cannot read the process's resident memory");
  return static_cast<long>(*kb);
}

long parse_count(int argc, char** argv) {
  if (argc == 1) return kDefaultCount;
  if (argc == 2) {
    try {
      std::size_t used = 0;
      const long count = std::stol(argv[1], &used);
      if (used == std::string(argv[1]).size() && count >= kFirstCheckpoint) return count;
    } catch (const std::exception&) {
    }
  }
  throw std::invalid_argument("usage: issue_memory_run [COUNT], COUNT a whole number >= " +
                              std::to_string(kFirstCheckpoint));
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int run(long count) {
  bench::IssuingFolder folder(count + 10);
  std::printf("issuing %ld simple invoices in %s\n", count, folder.path().c_str());
  std::printf("resident before the first: %ld kB\n", resident_kb());
  std::fflush(stdout);
  long at_checkpoint = 0;
  const auto start = std::chrono::steady_clock::now();
  for (long n = 1; n <= count; ++n) {
    const bench::IssueResult result = bench::issue_simple_invoice("CFDI33Ejemplo.xml");
    if (result.code != 0) {
      std::fprintf(stderr, "document %ld failed with %d: %s\n", n, result.code,
                   result.description.c_str());
      return 1;
    }
    if (n == kFirstCheckpoint) at_checkpoint = resident_kb();
    if (n % kProgressEvery == 0 || n == count) {
      std::printf("after %6ld: resident %ld kB, %.1f s\n", n, resident_kb(), seconds_since(start));
      std::fflush(stdout);
    }
  }
  const double elapsed = seconds_since(start);
  const long at_end = resident_kb();
  std::printf("resident after %ld: %ld kB; after %ld: %ld kB; growth %+ld kB\n", kFirstCheckpoint,
              at_checkpoint, count, at_end, at_end - at_checkpoint);
  std::printf("time: %.1f s for %ld documents, %.2f ms each\n", elapsed, count,
              elapsed * 1e3 / static_cast<double>(count));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(parse_count(argc, argv));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "issue_memory_run: %s\n", error.what());
    return 1;
  }
}
