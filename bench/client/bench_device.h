// The harness of the client's benchmarks: a fresh device in a scratch folder, the demo gateway
// in its own process (over HTTPS with its test CA), the client's package installed through the
// device's installer and a probe program copied into the install folder, which the benchmark
// runs once per round in a fresh process. The probe prints "name value" lines.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace clientbench {

long long MonotonicNanoseconds();

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

class BenchDevice {
 public:
  BenchDevice() = default;
  // Stops the gateway and removes the scratch folder.
  ~BenchDevice();
  BenchDevice(const BenchDevice&) = delete;
  BenchDevice& operator=(const BenchDevice&) = delete;

  // Makes the device, starts the gateway, installs the package and copies the probe into the
  // install folder under the name given; false, with the reason on standard error, when a step
  // failed.
  bool Prepare(const std::string& benchName, const std::string& probe, const std::string& probeName);

  // Runs the probe with the arguments in a fresh process and reads its figures; false when it
  // failed or printed fewer than the figures expected.
  bool RunProbe(const std::vector<std::string>& arguments, size_t expectedFigures,
                std::map<std::string, double>& figures);

 private:
  std::string scratch_;
  std::filesystem::path probe_;
  Child gateway_;
};

}  // namespace clientbench
