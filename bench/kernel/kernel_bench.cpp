// The costs of the kernel calls that the system makes often: handle look-ups through an event,
// a wake across threads, a named event across the device, and a log-style append to a file.
#include "testing/device_root.h"
#include "windows.h"

#include <benchmark/benchmark.h>

namespace {

void SetAndTakeEvent(benchmark::State& state)
{
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  for (auto _ : state) {
    SetEvent(event);
    benchmark::DoNotOptimize(WaitForSingleObject(event, 0));
  }
  CloseHandle(event);
}
BENCHMARK(SetAndTakeEvent);

// One round trip: this thread sets ping, the other thread answers with pong.
void PingPongAcrossThreads(benchmark::State& state)
{
  static HANDLE ping, pong;
  ping = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  pong = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID) -> DWORD {
        while (WaitForSingleObject(ping, INFINITE) == WAIT_OBJECT_0) {
          SetEvent(pong);
        }
        return 0;
      },
      nullptr, 0, nullptr);
  for (auto _ : state) {
    SetEvent(ping);
    WaitForSingleObject(pong, INFINITE);
  }
  TerminateThread(thread, 0);
  WaitForSingleObject(thread, INFINITE);
  for (HANDLE handle : {thread, ping, pong}) {
    CloseHandle(handle);
  }
}
BENCHMARK(PingPongAcrossThreads);

void SetAndTakeNamedEvent(benchmark::State& state)
{
  device::testing::ScopedDeviceRoot root;
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, u"Bench");
  for (auto _ : state) {
    SetEvent(event);
    benchmark::DoNotOptimize(WaitForSingleObject(event, 0));
  }
  CloseHandle(event);
}
BENCHMARK(SetAndTakeNamedEvent);

// The log writer's pattern: open for appending, write a line, take the size, close.
void AppendLogLine(benchmark::State& state)
{
  device::testing::ScopedDeviceRoot root;
  WCHAR temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  for (auto _ : state) {
    FILE* log = _wfopen(u"\\Temp\\bench.exe.1.log", u"a+t");
    fseek(log, 0, SEEK_END);
    fwprintf(log, u"%s(%d): %04d/%02d/%02d\n", u"bench.cpp", 42, 2024, 5, 20);
    benchmark::DoNotOptimize(ftell(log));
    fclose(log);
  }
}
BENCHMARK(AppendLogLine);

}  // namespace
