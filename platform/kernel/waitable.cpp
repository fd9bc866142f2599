#include "futex.h"
#include "kernel/object.h"
#include "shared_object.h"
#include "thread_object.h"

#include <algorithm>

namespace kernel {
std::atomic<uint32_t>& ThreadWakeWord()
{
  thread_local std::atomic<uint32_t> word{0};
  return word;
}

Waiter::Waiter(bool deviceWide) : word_(deviceWide ? &DeviceWakeWord() : &ThreadWakeWord()), deviceWide_(deviceWide) {}

void Waiter::Block(uint32_t seen, int64_t realMilliseconds) const
{
  FutexWait(word_, seen, realMilliseconds, deviceWide_);
}

void Waiter::Wake() const
{
  word_->fetch_add(1, std::memory_order_release);
  FutexWakeAll(word_, deviceWide_);
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
