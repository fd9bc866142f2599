#include "event_object.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/event.h"
#include "kernel/handle_table.h"

#include <map>
#include <mutex>
#include <string>

namespace kernel {

Event::Event(bool manualReset, bool initialState)
    : localState_(initialState ? 1 : 0), state_(&localState_), manualReset_(manualReset)
{
}

void Event::Set()
{
  state_->store(1);
  NotifyWaiters();
}

void Event::Reset()
{
  state_->store(0);
}

bool Event::IsSignalled() const
{
  return state_->load() != 0;
}

bool Event::TryAcquire()
{
  if (manualReset_) {
    return IsSignalled();
  }
  uint32_t signalled = 1;
  return state_->compare_exchange_strong(signalled, 0);
}

void Event::Undo()
{
  if (!manualReset_) {
    Set();
  }
}

}  // namespace kernel

namespace {

// Named events of this process, by name.
struct NamedEvents {
  std::mutex mutex;
  std::map<std::u16string, std::weak_ptr<kernel::Event>> byName;
};

NamedEvents& Named()
{
  static NamedEvents* named = new NamedEvents;
  return *named;
}

}  // namespace

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName)
{
  std::shared_ptr<kernel::Event> event;
  bool existed = false;
  if (lpName) {
    NamedEvents& named = Named();
    std::lock_guard lock(named.mutex);
    std::weak_ptr<kernel::Event>& slot = named.byName[lpName];
    event = slot.lock();
    existed = event != nullptr;
    if (!existed) {
      event = std::make_shared<kernel::Event>(bManualReset != FALSE, bInitialState != FALSE);
      slot = event;
    }
  } else {
    event = std::make_shared<kernel::Event>(bManualReset != FALSE, bInitialState != FALSE);
  }
  HANDLE handle = kernel::InsertHandle(event);
  if (handle) {
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  }
  return handle;
}

BOOL SetEvent(HANDLE hEvent)
{
  auto event = kernel::LookupHandleAs<kernel::Event>(hEvent);
  if (!event) {
    return FALSE;
  }
  event->Set();
  return TRUE;
}

BOOL ResetEvent(HANDLE hEvent)
{
  auto event = kernel::LookupHandleAs<kernel::Event>(hEvent);
  if (!event) {
    return FALSE;
  }
  event->Reset();
  return TRUE;
}
