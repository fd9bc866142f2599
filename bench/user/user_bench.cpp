// The costs of the window manager's calls that every screen makes often: a send within the
// thread, a post taken from the queue, a send to another thread's window, and a window's life.
#include <atomic>
#include <thread>

#include "testing/device_root.h"
#include "windows.h"

#include <benchmark/benchmark.h>

namespace {

ATOM RegisterPlainClass()
{
  static ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"BenchPlain";
    return RegisterClassW(&wc);
  }();
  return atom;
}

HWND CreatePlain()
{
  RegisterPlainClass();
  return CreateWindowExW(0, u"BenchPlain", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

void SendWithinThread(benchmark::State& state)
{
  device::testing::ScopedDeviceRoot root;
  HWND hwnd = CreatePlain();
  for (auto _ : state)
    benchmark::DoNotOptimize(SendMessageW(hwnd, WM_USER, 1, 2));
  DestroyWindow(hwnd);
}
BENCHMARK(SendWithinThread);

void PostAndTake(benchmark::State& state)
{
  device::testing::ScopedDeviceRoot root;
  HWND hwnd = CreatePlain();
  MSG msg;
  for (auto _ : state) {
    PostMessageW(hwnd, WM_USER, 1, 2);
    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    DispatchMessageW(&msg);
  }
  DestroyWindow(hwnd);
}
BENCHMARK(PostAndTake);

// A send to a window of a thread that waits in GetMessage: one round trip per iteration.
void SendAcrossThreads(benchmark::State& state)
{
  device::testing::ScopedDeviceRoot root;
  std::atomic<HWND> target{nullptr};
  std::thread owner([&] {
    target = CreatePlain();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0))
      DispatchMessageW(&msg);
    DestroyWindow(target);
  });
  while (!target)
    std::this_thread::yield();
  for (auto _ : state)
    benchmark::DoNotOptimize(SendMessageW(target, WM_USER, 1, 2));
  PostThreadMessageW(GetWindowThreadProcessId(target, nullptr), WM_QUIT, 0, 0);
  owner.join();
}
BENCHMARK(SendAcrossThreads);

void CreateAndDestroyChild(benchmark::State& state)
{
  device::testing::ScopedDeviceRoot root;
  HWND parent = CreatePlain();
  for (auto _ : state) {
    HWND child = CreateWindowExW(0, u"BenchPlain", u"x", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, nullptr,
                                 nullptr, nullptr);
    DestroyWindow(child);
  }
  DestroyWindow(parent);
}
BENCHMARK(CreateAndDestroyChild);

}  // namespace
