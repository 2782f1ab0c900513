#include "summary_reporter.h"

#include <cstdlib>

#include "portable/terminal.h"

namespace bench {

void SummaryReporter::ReportRuns(const std::vector<Run>& reports) {
  ConsoleReporter::ReportRuns(reports);
  for (const Run& run : reports) {
    if (run.error_occurred) continue;
    // With repetitions the median is kept, which a busy machine disturbs
    // least; otherwise the one measurement.
    const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
    if (run.run_type != Run::RT_Iteration && !median) continue;
    const std::string name = run.run_name.str();
    if (!median && medians_.count(name) != 0) continue;
    if (median) medians_.insert(name);
    const double per_second = benchmark::GetTimeUnitMultiplier(run.time_unit);
    Timing timing{run.GetAdjustedRealTime() / per_second, run.GetAdjustedCPUTime() / per_second,
                  {}};
    for (const auto& [counter, value] : run.counters) timing.counters[counter] = value.value;
    timings_[name] = std::move(timing);
  }
}

std::optional<Timing> SummaryReporter::timing(const std::string& name) const {
  const auto found = timings_.find(name);
  if (found == timings_.end()) return std::nullopt;
  return found->second;
}

SummaryReporter& run_benchmarks(int argc, char** argv) {
  static SummaryReporter reporter(portable::output_is_terminal() ? SummaryReporter::OO_Defaults
                                                                 : SummaryReporter::OO_Tabular);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) std::exit(1);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return reporter;
}

}  // namespace bench
