// The goal table that every benchmark prints after its figures: one line per goal, with the
// measured figure, the figure of the peer or floor it is compared with, their ratio and the
// bound, and whether it was met. Used by goal_report.h and by the harnesses that time whole
// programs.
#pragma once

#include <cstdio>
#include <string>

namespace goal_report {

struct GoalLine {
  std::string label;
  double measured = 0;         // ms
  double baseline = 0;         // ms, or 0: no ratio
  double maxRatio = 0;         // measured / baseline at most this; 0: the ratio is only reported
  double maxMilliseconds = 0;  // measured at most this; 0: no bound
};

inline void PrintGoalHeader()
{
  std::printf("\n%-40s %12s %12s %8s  %s\n", "goal", "ms", "baseline ms", "ratio", "bound");
}

// Prints the line; returns whether the goal was met.
inline bool PrintGoalLine(const GoalLine& goal)
{
  double ratio = goal.baseline > 0 ? goal.measured / goal.baseline : 0;
  bool met = (goal.maxRatio == 0 || (goal.baseline > 0 && ratio <= goal.maxRatio)) &&
             (goal.maxMilliseconds == 0 || goal.measured <= goal.maxMilliseconds);
  std::string bound;
  if (goal.maxRatio > 0) {
    bound += "ratio <= " + std::to_string(goal.maxRatio).substr(0, 4);
  }
  if (goal.maxMilliseconds > 0) {
    bound += (bound.empty() ? "" : ", ") + std::string("<= ") + std::to_string(goal.maxMilliseconds).substr(0, 5) +
             " ms";
  }
  std::printf("%-40s %12.4f %12.4f %8.2f  %s%s\n", goal.label.c_str(), goal.measured, goal.baseline, ratio,
              bound.c_str(), bound.empty() ? "" : (met ? "  met" : "  MISSED"));
  return met;
}

}  // namespace goal_report
