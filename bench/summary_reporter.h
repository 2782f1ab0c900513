#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace bench {

// Seconds per iteration of one benchmark: on the wall clock, and of this
// process's processor time (which other users of a shared machine disturb
// less, but which leaves out waiting for the disk).
struct Timing {
  double real = 0;
  double cpu = 0;
  std::map<std::string, double> counters;  // the benchmark's own, by name
};

// The console report of Google Benchmark that also keeps the times of every
// finished benchmark, by name (the median when it was repeated), so that a
// program can print the ratios its budgets are stated in.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  explicit SummaryReporter(OutputOptions options) : ConsoleReporter(options) {}

  void ReportRuns(const std::vector<Run>& reports) override;

  // The times of the named benchmark; nullopt when it did not run or failed.
  std::optional<Timing> timing(const std::string& name) const;

 private:
  std::map<std::string, Timing> timings_;
  std::set<std::string> medians_;
};

// Runs the benchmarks the command line selects with a SummaryReporter and
// returns it; the report is coloured only on a terminal. Exits with status 1
// on an unknown option.
SummaryReporter& run_benchmarks(int argc, char** argv);

}  // namespace bench
