// The client's cold start, measured in fresh processes on a fresh device: the client's package
// installed through the device's installer, the demo gateway (its own process, over HTTPS with
// its test CA) and the client's application started by a probe program in the install folder,
// once per round. For each round the probe reports the time from its start to the login dialog
// and the CPU time used by then, the time to the desktop after the demo login (with the
// unpaid-trades list skipped on the way), and the resident memory at the desktop.
//
// The floor, run in turns with the client in every round: a blank window program of the same
// layer, to its window painted. With --against, the start probe of another build (today's
// main, say, built beside this one) runs in turns too, on the same device. Prints each round,
// the medians, the memory goal and the goal table (CPU time to the login, medians).
//
//   client_start_bench [rounds] [--against <another build's client_start_probe>]   (default 5)
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench_device.h"
#include "goal_table.h"

using namespace clientbench;

namespace {

constexpr double kResidentGoalMegabytes = 40;
// The client to its login against the blank window, and against the other build.
constexpr double kFloorRatio = 1.2;
constexpr double kAgainstRatio = 0.5;

bool Run(const std::string& program, size_t expectedFigures, std::map<std::string, double>& values)
{
  return !program.empty() && BenchDevice::RunProbe(program, {std::to_string(MonotonicNanoseconds())},
                                                   expectedFigures, values);
}

}  // namespace

int main(int argc, char** argv)
{
  auto [rounds, against] = ParseArguments(argc, argv, 5);
  BenchDevice device;
  if (!device.Prepare("start-bench"))
    return 1;
  std::string probe = device.Place(KV_START_PROBE, "KorvexStartProbe.exe");
  std::string blank = device.Place(KV_BLANK_WINDOW, "BlankWindow.exe");
  std::string other = against.empty() ? std::string() : device.Place(against, "KorvexStartProbeAgainst.exe");
  if (probe.empty() || blank.empty() || (!against.empty() && other.empty()))
    return 1;

  std::map<std::string, std::vector<double>> figures;
  int failed = 0;
  std::printf("times in ms (cpu: the process's CPU time by then)\n");
  std::printf("%-6s %9s %9s %10s %9s %9s %9s %11s\n", "round", "login", "login cpu", "desktop", "RSS MB",
              "blank", "blank cpu", "against cpu");
  for (int round = 1; round <= rounds; ++round) {
    std::map<std::string, double> values, floor, previous;
    // The order turns each round, so neither side always runs on a cache the other warmed.
    bool clientFirst = round % 2 == 1;
    bool ran = true;
    if (!clientFirst)
      ran = Run(blank, 2, floor);
    ran = ran && Run(probe, 5, values);
    if (clientFirst)
      ran = ran && Run(blank, 2, floor);
    if (ran && !other.empty()) {
      // Today's probe may not report its CPU time; then only its wall time counts.
      ran = Run(other, 4, previous);
    }
    if (!ran) {
      std::printf("%-6d a program did not reach its screen\n", round);
      ++failed;
      continue;
    }
    values["rss"] /= 1024;
    for (const auto& [name, value] : values)
      figures[name].push_back(value);
    figures["blank"].push_back(floor["shown"]);
    figures["blank-cpu"].push_back(floor["shown-cpu"]);
    if (!other.empty()) {
      figures["against"].push_back(previous["login"]);
      figures["against-cpu"].push_back(previous["login-cpu"]);
    }
    std::printf("%-6d %9.1f %9.1f %10.1f %9.1f %9.1f %9.1f %11.1f\n", round, values["login"], values["login-cpu"],
                values["desktop"], values["rss"], floor["shown"], floor["shown-cpu"], previous["login-cpu"]);
  }
  if (figures.empty())
    return 1;
  auto median = [&](const char* name) { return Median(figures[name]); };
  std::printf("%-6s %9.1f %9.1f %10.1f %9.1f %9.1f %9.1f %11.1f\n", "median", median("login"), median("login-cpu"),
              median("desktop"), median("rss"), median("blank"), median("blank-cpu"), median("against-cpu"));
  double rss = median("rss");
  std::printf("\nresident memory at the desktop: %.1f MB, goal under %.0f MB: %s\n", rss, kResidentGoalMegabytes,
              rss < kResidentGoalMegabytes ? "met" : "MISSED");

  goal_report::PrintGoalHeader();
  goal_report::PrintGoalLine({"login cpu vs blank window cpu", median("login-cpu"), median("blank-cpu"), kFloorRatio});
  goal_report::PrintGoalLine({"login wall vs blank window wall", median("login"), median("blank")});
  if (!other.empty()) {
    if (median("against-cpu") > 0)
      goal_report::PrintGoalLine({"login cpu vs the other build", median("login-cpu"), median("against-cpu"),
                                  kAgainstRatio});
    goal_report::PrintGoalLine({"login wall vs the other build", median("login"), median("against")});
  } else {
    std::printf("(the goal against another build's start needs --against)\n");
  }
  return failed == 0 ? 0 : 1;
}
