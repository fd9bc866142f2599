#include "kernel/wait.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/clock.h"
#include "kernel/handle_table.h"
#include "kernel/waiting.h"
#include "thread_object.h"

#include <algorithm>
#include <optional>
#include <sched.h>
#include <vector>

namespace kernel {
namespace {

using Objects = std::span<const std::shared_ptr<Waitable>>;

std::optional<DWORD> TakeAny(Objects objects)
{
  for (size_t i = 0; i < objects.size(); ++i) {
    if (objects[i]->TryAcquire()) {
      return WAIT_OBJECT_0 + static_cast<DWORD>(i);
    }
  }
  return std::nullopt;
}

// Takes every object or none. Looking first keeps a waiter from taking and giving back (and so
// waking itself) while one object is still unsignalled.
std::optional<DWORD> TakeAll(Objects objects)
{
  if (!std::all_of(objects.begin(), objects.end(), [](const auto& object) { return object->IsSignalled(); })) {
    return std::nullopt;
  }
  for (size_t i = 0; i < objects.size(); ++i) {
    if (!objects[i]->TryAcquire()) {
      while (i-- > 0) {
        objects[i]->Undo();
      }
      return std::nullopt;
    }
  }
  return WAIT_OBJECT_0;
}

// A waiter's registration with its objects, for as long as it waits.
class Subscriptions {
 public:
  Subscriptions(Objects objects, Waiter& waiter) : objects_(objects), waiter_(waiter)
  {
    for (const auto& object : objects_) {
      object->Subscribe(waiter_);
    }
  }
  ~Subscriptions()
  {
    for (const auto& object : objects_) {
      object->Unsubscribe(waiter_);
    }
  }

 private:
  Objects objects_;
  Waiter& waiter_;
};

// A condition's attachment to a waiter, for as long as it waits.
class Attachment {
 public:
  Attachment(WaitCondition* condition, Waiter& waiter) : condition_(condition)
  {
    if (condition_) {
      condition_->Attach(&waiter);
    }
  }
  ~Attachment()
  {
    if (condition_) {
      condition_->Attach(nullptr);
    }
  }

 private:
  WaitCondition* condition_;
};

}  // namespace

DWORD WaitForObjects(Objects objects, bool all, DWORD milliseconds, WaitCondition* condition, clock::Basis basis)
{
  bool deviceWide = std::any_of(objects.begin(), objects.end(), [](const auto& object) { return object->IsDeviceWide(); });
  Waiter waiter(deviceWide);
  Subscriptions subscriptions(objects, waiter);
  Attachment attachment(condition, waiter);
  clock::Timeout timeout(milliseconds, waiter, basis);
  for (;;) {
    uint32_t seen = waiter.Count();
    EndThreadIfTerminated();
    if (!objects.empty()) {
      if (std::optional<DWORD> taken = all ? TakeAll(objects) : TakeAny(objects)) {
        return *taken;
      }
    }
    if (condition && condition->Ready()) {
      return WAIT_OBJECT_0 + static_cast<DWORD>(objects.size());
    }
    if (timeout.Expired()) {
      return WAIT_TIMEOUT;
    }
    if (condition) {
      condition->Blocking(seen);
    }
    waiter.Block(seen, timeout.RealWait());
  }
}

}  // namespace kernel

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
  return WaitForMultipleObjects(1, &hHandle, FALSE, dwMilliseconds);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds)
{
  if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || !lpHandles) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<kernel::Waitable>> objects;
  for (DWORD i = 0; i < nCount; ++i) {
    auto object = kernel::LookupHandleAs<kernel::Waitable>(lpHandles[i]);
    if (!object) {
      return WAIT_FAILED;
    }
    // One object twice could never be taken twice at once.
    if (bWaitAll && std::find(objects.begin(), objects.end(), object) != objects.end()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return WAIT_FAILED;
    }
    objects.push_back(std::move(object));
  }
  return kernel::WaitForObjects(objects, bWaitAll != FALSE, dwMilliseconds);
}

void Sleep(DWORD dwMilliseconds)
{
  if (dwMilliseconds == 0) {
    sched_yield();
    return;
  }
  kernel::WaitForObjects({}, false, dwMilliseconds);
}
