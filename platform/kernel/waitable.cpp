#include "futex.h"
#include "kernel/object.h"
#include "shared_object.h"
#include "thread_object.h"

#include <algorithm>

namespace kernel {
WakeWord& ThreadWakeWord()
{
  thread_local WakeWord word;
  return word;
}

Waiter::Waiter(bool deviceWide) : word_(deviceWide ? &DeviceWakeWord() : &ThreadWakeWord()), deviceWide_(deviceWide) {}

uint32_t Waiter::Count() const
{
  return word_->count.load();
}

void Waiter::Block(uint32_t seen, int64_t realMilliseconds) const
{
  SleepOn(*word_, seen, realMilliseconds, deviceWide_);
}

void Waiter::Wake() const
{
  WakeAll(*word_, deviceWide_);
}

void LocalWaitable::Subscribe(Waiter& waiter)
{
  std::lock_guard lock(mutex_);
  waiters_.push_back(&waiter);
}

void LocalWaitable::Unsubscribe(Waiter& waiter)
{
  std::lock_guard lock(mutex_);
  auto found = std::find(waiters_.begin(), waiters_.end(), &waiter);
  if (found != waiters_.end()) {
    waiters_.erase(found);
  }
}

// Waking under the lock keeps every woken waiter alive: it unsubscribes under the same lock.
void LocalWaitable::NotifyWaiters()
{
  std::lock_guard lock(mutex_);
  for (Waiter* waiter : waiters_) {
    waiter->Wake();
  }
}

}  // namespace kernel
