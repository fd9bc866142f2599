// The harness of the client's benchmarks: a fresh device in a scratch folder, the demo gateway
// in its own process (over HTTPS with its test CA), the client's package installed through the
// device's installer and probe programs copied into the install folder, which the benchmark
// runs once per round in a fresh process. A probe prints "name value" lines.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "probe_clock.h"

namespace clientbench {

// A program started with its standard output on a pipe.
struct Child {
  pid_t pid = -1;
  FILE* out = nullptr;
};

Child Start(const std::vector<std::string>& arguments);
// Closes the pipe and waits for the program; its exit code, -1 when it did not exit normally.
int Finish(Child& child);
// The next line of the program's output without its line end; empty at the end.
std::string ReadLine(FILE* in);
double Median(std::vector<double> values);

// A harness's command line: "[rounds] [--against <the same program of another build>]".
struct Arguments {
  int rounds = 0;
  std::string against;  // empty: none
};
Arguments ParseArguments(int argc, char** argv, int defaultRounds);

class BenchDevice {
 public:
  BenchDevice() = default;
  // Stops the gateway and removes the scratch folder.
  ~BenchDevice();
  BenchDevice(const BenchDevice&) = delete;
  BenchDevice& operator=(const BenchDevice&) = delete;

  // Makes the device, starts the gateway and installs the package; false, with the reason on
  // standard error, when a step failed.
  bool Prepare(const std::string& benchName);
  // Copies a program into the install folder under the name given; its path there, or empty
  // (with the reason on standard error) when it could not be copied.
  std::string Place(const std::string& program, const std::string& name);
  // Ends the gateway and starts a new one with the demo data as it was at the start (what the
  // rounds before changed, such as trades paid, is gone); false when it did not start.
  bool RenewGateway();

  // Runs a placed probe with the arguments in a fresh process and reads its figures; false when
  // it failed or printed fewer than the figures expected.
  static bool RunProbe(const std::string& probe, const std::vector<std::string>& arguments, size_t expectedFigures,
                       std::map<std::string, double>& figures);

 private:
  void StopGateway();

  std::string benchName_;
  std::string scratch_;
  std::filesystem::path root_;
  Child gateway_;
};

}  // namespace clientbench
