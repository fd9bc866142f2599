// One payment road's time, measured in fresh processes on a fresh device (the harness of
// bench_device.h): per round, a probe in the install folder logs in with the demo account and
// pays the first trade of the unpaid list the login brings up, until the success box. A paid
// trade leaves the demo account's unpaid list, so each round after the first starts on a fresh
// demo gateway (not timed) and finds the trades as the first did. The service's 500 ms result
// pauses are measured and taken out of every figure. Prints each round (its steps, the road,
// and the pauses taken out) and the medians.
//
//   client_road_bench [rounds]      (default 5)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench_device.h"

using namespace clientbench;

int main(int argc, char** argv)
{
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  BenchDevice device;
  if (!device.Prepare("road-bench"))
    return 1;
  std::string probe = device.Place(KV_ROAD_PROBE, "KorvexRoadProbe.exe");
  if (probe.empty())
    return 1;

  const char* names[] = {"login", "detail", "pay", "road", "paused"};
  std::map<std::string, std::vector<double>> figures;
  int failed = 0;
  std::printf("times in ms without the result pauses; pauses: their number and the time they took\n");
  std::printf("%-6s %10s %10s %10s %10s %8s %10s\n", "round", "login", "detail", "pay", "road", "pauses",
              "paused");
  for (int round = 1; round <= rounds; ++round) {
    std::map<std::string, double> values;
    if (round > 1 && !device.RenewGateway())
      return 1;
    if (!BenchDevice::RunProbe(probe, {}, 6, values)) {
      std::printf("%-6d the road did not reach its success box\n", round);
      ++failed;
      continue;
    }
    for (const char* name : names)
      figures[name].push_back(values[name]);
    std::printf("%-6d %10.1f %10.1f %10.1f %10.1f %8.0f %10.1f\n", round, values["login"], values["detail"],
                values["pay"], values["road"], values["pauses"], values["paused"]);
  }
  if (!figures.empty())
    std::printf("%-6s %10.1f %10.1f %10.1f %10.1f %8s %10.1f\n", "median", Median(figures["login"]),
                Median(figures["detail"]), Median(figures["pay"]), Median(figures["road"]), "",
                Median(figures["paused"]));
  return failed == 0 ? 0 : 1;
}
