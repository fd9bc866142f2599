#include "device_clock.h"

#include <chrono>
#include <mutex>
#include <vector>

#include "internal/user/test_hooks.h"

namespace user_detail {
namespace {

struct ClockState {
  std::mutex lock;
  bool isVirtual = false;
  uint64_t virtualNow = 0;
  std::vector<std::function<void()>> listeners;
};

ClockState& clockState()
{
  static ClockState* state = new ClockState;
  return *state;
}

uint64_t RealNowMs()
{
  using namespace std::chrono;
  return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void NotifyListeners()
{
  std::vector<std::function<void()>> listeners;
  {
    std::lock_guard<std::mutex> guard(clockState().lock);
    listeners = clockState().listeners;
  }
  for (auto& listener : listeners)
    listener();
}

}  // namespace

uint64_t ClockNowMs()
{
  std::lock_guard<std::mutex> guard(clockState().lock);
  return clockState().isVirtual ? clockState().virtualNow : RealNowMs();
}

bool ClockIsVirtual()
{
  std::lock_guard<std::mutex> guard(clockState().lock);
  return clockState().isVirtual;
}

void OnClockAdvanced(std::function<void()> listener)
{
  std::lock_guard<std::mutex> guard(clockState().lock);
  clockState().listeners.push_back(std::move(listener));
}

}  // namespace user_detail

namespace user_test {

void UseVirtualClock()
{
  using namespace user_detail;
  {
    std::lock_guard<std::mutex> guard(clockState().lock);
    if (clockState().isVirtual)
      return;
    clockState().virtualNow = RealNowMs();
    clockState().isVirtual = true;
  }
  NotifyListeners();
}

void AdvanceVirtualClock(uint64_t ms)
{
  using namespace user_detail;
  {
    std::lock_guard<std::mutex> guard(clockState().lock);
    clockState().virtualNow += ms;
  }
  NotifyListeners();
}

}  // namespace user_test
