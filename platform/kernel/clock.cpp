#include "kernel/clock.h"

#include "kernel/time.h"
#include "kernel/wait.h"
#include "testing/clock.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <vector>

namespace kernel::clock {
namespace {

struct VirtualClock {
  std::atomic<bool> on{false};
  std::atomic<uint64_t> now{0};  // milliseconds; GetTickCount is its low 32 bits
  std::mutex mutex;
  std::condition_variable waitersChanged;
  std::vector<Waiter*> waiters;  // waits with a time-out on virtual time
  uint64_t startTick = 0;
  int64_t startUnixMilliseconds = 0;  // the calendar time at startTick
};

// Never destroyed: threads may still wait while static objects are torn down at exit.
VirtualClock& Virtual()
{
  static VirtualClock* clock = new VirtualClock;
  return *clock;
}

uint64_t RealNow()
{
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
}

void ToSystemTime(int64_t unixMilliseconds, const tm& fields, SYSTEMTIME* out)
{
  out->wYear = static_cast<WORD>(fields.tm_year + 1900);
  out->wMonth = static_cast<WORD>(fields.tm_mon + 1);
  out->wDayOfWeek = static_cast<WORD>(fields.tm_wday);
  out->wDay = static_cast<WORD>(fields.tm_mday);
  out->wHour = static_cast<WORD>(fields.tm_hour);
  out->wMinute = static_cast<WORD>(fields.tm_min);
  out->wSecond = static_cast<WORD>(fields.tm_sec);
  out->wMilliseconds = static_cast<WORD>(((unixMilliseconds % 1000) + 1000) % 1000);
}

// Calendar time: in virtual time the zone is UTC; in real time local is the host's zone.
void CalendarTime(bool local, SYSTEMTIME* out)
{
  VirtualClock& clock = Virtual();
  int64_t unixMilliseconds;
  if (clock.on.load()) {
    std::lock_guard lock(clock.mutex);
    unixMilliseconds = clock.startUnixMilliseconds + static_cast<int64_t>(clock.now.load() - clock.startTick);
    local = false;
  } else {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    unixMilliseconds = static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
  }
  time_t seconds = static_cast<time_t>(unixMilliseconds / 1000);
  tm fields{};
  if (local) {
    localtime_r(&seconds, &fields);
  } else {
    gmtime_r(&seconds, &fields);
  }
  ToSystemTime(unixMilliseconds, fields, out);
}

}  // namespace

uint64_t Now()
{
  VirtualClock& clock = Virtual();
  return clock.on.load() ? clock.now.load() : RealNow();
}

Timeout::Timeout(DWORD milliseconds, Waiter& waiter, Basis basis)
    : waiter_(waiter),
      infinite_(milliseconds == INFINITE),
      host_(basis == Basis::host),
      virtual_(!host_ && Virtual().on.load()),
      deadline_((host_ ? RealNow() : Now()) + milliseconds)
{
  if (!infinite_ && virtual_) {
    VirtualClock& clock = Virtual();
    std::lock_guard lock(clock.mutex);
    clock.waiters.push_back(&waiter_);
    clock.waitersChanged.notify_all();
  }
}

Timeout::~Timeout()
{
  if (!infinite_ && virtual_) {
    VirtualClock& clock = Virtual();
    std::lock_guard lock(clock.mutex);
    clock.waiters.erase(std::find(clock.waiters.begin(), clock.waiters.end(), &waiter_));
    clock.waitersChanged.notify_all();
  }
}

bool Timeout::Expired() const
{
  return !infinite_ && (host_ ? RealNow() : Now()) >= deadline_;
}

int64_t Timeout::RealWait() const
{
  if (infinite_ || virtual_) {
    return -1;
  }
  uint64_t now = RealNow();
  return now >= deadline_ ? 0 : static_cast<int64_t>(deadline_ - now);
}

}  // namespace kernel::clock

namespace device::testing {

using kernel::clock::Virtual;

void UseVirtualClock(const SYSTEMTIME& localStart, DWORD startTick)
{
  tm fields{};
  fields.tm_year = localStart.wYear - 1900;
  fields.tm_mon = localStart.wMonth - 1;
  fields.tm_mday = localStart.wDay;
  fields.tm_hour = localStart.wHour;
  fields.tm_min = localStart.wMinute;
  fields.tm_sec = localStart.wSecond;
  auto& clock = Virtual();
  std::lock_guard lock(clock.mutex);
  clock.startTick = startTick;
  clock.startUnixMilliseconds = static_cast<int64_t>(timegm(&fields)) * 1000 + localStart.wMilliseconds;
  clock.now.store(startTick);
  clock.on.store(true);
}

void UseHostClock()
{
  auto& clock = Virtual();
  std::lock_guard lock(clock.mutex);
  clock.on.store(false);
  for (kernel::Waiter* waiter : clock.waiters) {
    waiter->Wake();
  }
}

bool UsesVirtualClock()
{
  return Virtual().on.load();
}

void AdvanceClock(DWORD milliseconds)
{
  auto& clock = Virtual();
  std::lock_guard lock(clock.mutex);
  clock.now.fetch_add(milliseconds);
  // Waking under the lock keeps every woken waiter alive: it leaves the list under the same lock.
  for (kernel::Waiter* waiter : clock.waiters) {
    waiter->Wake();
  }
}

size_t ClockWaiters()
{
  auto& clock = Virtual();
  std::lock_guard lock(clock.mutex);
  return clock.waiters.size();
}

bool WaitForClockWaiters(size_t count, DWORD realMilliseconds)
{
  auto& clock = Virtual();
  std::unique_lock lock(clock.mutex);
  return clock.waitersChanged.wait_for(lock, std::chrono::milliseconds(realMilliseconds),
                                       [&] { return clock.waiters.size() >= count; });
}

}  // namespace device::testing

DWORD GetTickCount()
{
  return static_cast<DWORD>(kernel::clock::Now());
}

void GetLocalTime(LPSYSTEMTIME lpSystemTime)
{
  kernel::clock::CalendarTime(true, lpSystemTime);
}

void GetSystemTime(LPSYSTEMTIME lpSystemTime)
{
  kernel::clock::CalendarTime(false, lpSystemTime);
}
