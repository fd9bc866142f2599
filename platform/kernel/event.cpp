#include "event_object.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/event.h"
#include "kernel/handle_table.h"


namespace kernel {

Event::Event(bool manualReset, bool initialState)
    : localState_(initialState ? 1 : 0), state_(&localState_), manualReset_(manualReset)
{
}

Event::Event(std::shared_ptr<SharedObject> shared)
    : shared_(std::move(shared)), state_(&shared_->header().signalled), manualReset_(shared_->header().manualReset != 0)
{
}

void Event::Set()
{
  state_->store(1);
  if (shared_) {
    WakeDeviceWaiters();
  } else {
    NotifyWaiters();
  }
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

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName)
{
  std::shared_ptr<kernel::Event> event;
  bool existed = false;
  if (lpName) {
    kernel::SharedCreation creation{kernel::SharedKind::Event, 0, bManualReset != FALSE, bInitialState != FALSE};
    std::shared_ptr<kernel::SharedObject> shared = kernel::SharedObject::Open(lpName, creation, existed);
    if (!shared) {
      return nullptr;
    }
    event = std::make_shared<kernel::Event>(std::move(shared));
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
