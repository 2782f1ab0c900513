#include "summary_reporter.h"

#include <unistd.h>

#include <cstdlib>

namespace bench {

void SummaryReporter::ReportRuns(const std::vector<Run>& reports) {
  ConsoleReporter::ReportRuns(reports);
  for (const Run& run : reports) {
    if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
    const double per_second = benchmark::GetTimeUnitMultiplier(run.time_unit);
    timings_[run.benchmark_name()] = {run.GetAdjustedRealTime() / per_second,
                                      run.GetAdjustedCPUTime() / per_second};
  }
}

std::optional<Timing> SummaryReporter::timing(const std::string& name) const {
  const auto found = timings_.find(name);
  if (found == timings_.end()) return std::nullopt;
  return found->second;
}

SummaryReporter& run_benchmarks(int argc, char** argv) {
  static SummaryReporter reporter(::isatty(STDOUT_FILENO) ? SummaryReporter::OO_Defaults
                                                          : SummaryReporter::OO_Tabular);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) std::exit(1);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter;
}

}  // namespace bench
