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

}  // namespace kernel
