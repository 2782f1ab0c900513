#include "summary_reporter.h"

#include <cstdlib>

namespace bench {

void SummaryReporter::ReportRuns(const std::vector<Run>& reports) {
  ConsoleReporter::ReportRuns(reports);
  for (const Run& run : reports) {
    if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
    seconds_[run.benchmark_name()] =
        run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
  }
}

std::optional<double> SummaryReporter::seconds(const std::string& name) const {
  const auto found = seconds_.find(name);
  if (found == seconds_.end()) return std::nullopt;
  return found->second;
}

SummaryReporter& run_benchmarks(int argc, char** argv) {
  static SummaryReporter reporter;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) std::exit(1);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter;
}

}  // namespace bench
