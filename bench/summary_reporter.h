#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace bench {

// The console report of Google Benchmark that also keeps the real time of
// every finished benchmark (seconds per iteration, by name), so that a
// program can print the ratios its budgets are stated in.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& reports) override;

  // Seconds per iteration of the named benchmark; nullopt when it did not
  // run or failed.
  std::optional<double> seconds(const std::string& name) const;

 private:
  std::map<std::string, double> seconds_;
};

// Runs the benchmarks the command line selects with a SummaryReporter and
// returns it. Exits with status 1 on an unknown option.
SummaryReporter& run_benchmarks(int argc, char** argv);

}  // namespace bench
