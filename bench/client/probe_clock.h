// The clocks of the client's probes: the monotonic clock that the benchmark passes on the probe's
// command line as the moment it started it, and the CPU time the probe's process has used.
#pragma once

#include <sys/resource.h>
#include <time.h>

namespace clientbench {

inline long long MonotonicNanoseconds()
{
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// User and system time of every thread of this process so far, in milliseconds.
inline double ProcessCpuMilliseconds()
{
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

}  // namespace clientbench
