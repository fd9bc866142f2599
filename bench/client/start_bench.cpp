// The client's cold start, measured in fresh processes on a fresh device: the client's package
// installed through the device's installer, the demo gateway (its own process, over HTTPS with
// its test CA) and the client's application started by a probe program in the install folder,
// once per round. For each round the probe reports the time from its start to the login dialog,
// to the desktop after the demo login (with the unpaid-trades list skipped on the way), and the
// resident memory at the desktop. Prints each round, the medians and the memory goal.
//
//   client_start_bench [rounds]      (default 5)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench_device.h"

using namespace clientbench;

namespace {

constexpr double kResidentGoalMegabytes = 40;

}  // namespace

int main(int argc, char** argv)
{
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  BenchDevice device;
  if (!device.Prepare("start-bench", KV_START_PROBE, "KorvexStartProbe.exe"))
    return 1;

  std::map<std::string, std::vector<double>> figures;
  int failed = 0;
  std::printf("%-6s %12s %14s %18s %10s\n", "round", "login ms", "desktop ms", "login->desktop ms", "RSS MB");
  for (int round = 1; round <= rounds; ++round) {
    std::map<std::string, double> values;
    if (!device.RunProbe({std::to_string(MonotonicNanoseconds())}, 4, values)) {
      std::printf("%-6d the client did not reach its desktop\n", round);
      ++failed;
      continue;
    }
    values["rss"] /= 1024;
    for (const auto& [name, value] : values)
      figures[name].push_back(value);
    std::printf("%-6d %12.1f %14.1f %18.1f %10.1f\n", round, values["login"], values["desktop"],
                values["login-to-desktop"], values["rss"]);
  }
  if (!figures.empty()) {
    double rss = Median(figures["rss"]);
    std::printf("%-6s %12.1f %14.1f %18.1f %10.1f\n", "median", Median(figures["login"]), Median(figures["desktop"]),
                Median(figures["login-to-desktop"]), rss);
    std::printf("\nresident memory at the desktop: %.1f MB, goal under %.0f MB: %s\n", rss, kResidentGoalMegabytes,
                rss < kResidentGoalMegabytes ? "met" : "MISSED");
  }
  return failed == 0 ? 0 : 1;
}
