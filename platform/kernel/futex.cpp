#include "futex.h"

#include <climits>
#include <ctime>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kernel {

void FutexWait(const std::atomic<uint32_t>* word, uint32_t expected, int64_t milliseconds, bool shared)
{
  timespec timeout{};
  timespec* limit = nullptr;
  if (milliseconds >= 0) {
    timeout.tv_sec = milliseconds / 1000;
    timeout.tv_nsec = (milliseconds % 1000) * 1000000;
    limit = &timeout;
  }
  // EINTR, EAGAIN and ETIMEDOUT all send the caller back to check its objects.
  syscall(SYS_futex, word, shared ? FUTEX_WAIT : FUTEX_WAIT_PRIVATE, expected, limit, nullptr, 0);
}

void FutexWakeAll(const std::atomic<uint32_t>* word, bool shared)
{
  syscall(SYS_futex, word, shared ? FUTEX_WAKE : FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
}

void SleepOn(WakeWord& word, uint32_t seen, int64_t milliseconds, bool shared)
{
  // Counted before the count is checked again in the kernel, so a waker that bumps the count
  // either sees this sleeper or this sleeper sees the new count.
  word.sleepers.fetch_add(1);
  FutexWait(&word.count, seen, milliseconds, shared);
  word.sleepers.fetch_sub(1);
}

void WakeAll(WakeWord& word, bool shared)
{
  word.count.fetch_add(1);
  if (word.sleepers.load() > 0) {
    FutexWakeAll(&word.count, shared);
  }
}

}  // namespace kernel
