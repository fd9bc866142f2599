// Goals of a benchmark program, checked within one run: a time bound, or a ratio to a baseline
// benchmark measured beside it. Times are the benchmark thread's CPU time per iteration, so a
// busy machine moves both sides of a ratio alike. After the usual console output a table gives
// each goal's figures and whether it was met. Run with --benchmark_repetitions, each figure is
// the median of the repetitions (with --benchmark_enable_random_interleaving, taken in turns).
//
//   int main(int argc, char** argv)
//   {
//     return goal_report::Run(argc, argv, {{"redraw vs memcpy", "FullRedraw", "MemcpyFrame", 0, 1.5}});
//   }
#pragma once

#include <benchmark/benchmark.h>

#include "goal_table.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace goal_report {

struct Goal {
  std::string label;
  std::string measured;  // a benchmark's name
  std::string baseline;  // a benchmark's name, or empty: no ratio
  double maxRatio = 0;   // measured / baseline at most this; 0: the ratio is only reported
  double maxMilliseconds = 0;  // measured at most this; 0: no bound
};

// The console output, keeping the CPU time per iteration of every benchmark.
class Reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override
  {
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations <= 0) {
        continue;
      }
      // With repetitions the median of them counts; without, the one run.
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      // Named without the "/min_time:..." that a benchmark run for longer carries.
      std::string name = run.run_name.str();
      name = name.substr(0, name.find("/min_time:"));
      if (median || (run.run_type == Run::RT_Iteration && medians_.count(name) == 0)) {
        seconds_[name] = run.cpu_accumulated_time / static_cast<double>(run.iterations);
      }
      if (median) {
        medians_.insert(name);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // CPU seconds per iteration of the named benchmark; 0 when it did not run.
  double Seconds(const std::string& name) const
  {
    auto found = seconds_.find(name);
    return found == seconds_.end() ? 0 : found->second;
  }

 private:
  std::map<std::string, double> seconds_;
  std::set<std::string> medians_;
};

// Prints one line per goal whose benchmarks ran; returns whether every one was met.
inline bool PrintGoals(const Reporter& reporter, const std::vector<Goal>& goals)
{
  bool allMet = true;
  PrintGoalHeader();
  for (const Goal& goal : goals) {
    double measured = reporter.Seconds(goal.measured) * 1e3;
    double baseline = goal.baseline.empty() ? 0 : reporter.Seconds(goal.baseline) * 1e3;
    if (measured == 0 || (!goal.baseline.empty() && baseline == 0)) {
      continue;
    }
    allMet = PrintGoalLine({goal.label, measured, baseline, goal.maxRatio, goal.maxMilliseconds}) && allMet;
  }
  return allMet;
}

// main() of a benchmark program with goals.
inline int Run(int argc, char** argv, const std::vector<Goal>& goals)
{
  benchmark::Initialize(&argc, argv);
  Reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintGoals(reporter, goals);
  benchmark::Shutdown();
  return 0;
}

}  // namespace goal_report
