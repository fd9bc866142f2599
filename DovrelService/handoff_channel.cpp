#include "handoff_channel.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/event.h"
#include "kernel/handle.h"
#include "kernel/mapping.h"

namespace {

// A handle of an object this call made new; an existing one is closed and refused.
HANDLE OnlyIfNew(HANDLE handle)
{
  if (handle != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(handle);
    SetLastError(ERROR_ALREADY_EXISTS);
    return nullptr;
  }
  return handle;
}

}  // namespace

bool HandoffChannel::Create(DWORD clientProcessId)
{
  Close();
  CStringW name = HandoffObjectName(clientProcessId);
  block_ = OnlyIfNew(
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0, kHandoffBlockSize, name));
  view_ = block_ ? static_cast<BYTE*>(MapViewOfFile(block_, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
  event_ = view_ ? OnlyIfNew(CreateEventW(nullptr, TRUE, FALSE, name)) : nullptr;
  if (event_ == nullptr) {
    DWORD error = GetLastError();
    Close();
    SetLastError(error);
    return false;
  }
  return true;
}

void HandoffChannel::Close()
{
  if (event_) {
    CloseHandle(event_);
  }
  if (view_) {
    UnmapViewOfFile(view_);
  }
  if (block_) {
    CloseHandle(block_);
  }
  event_ = block_ = nullptr;
  view_ = nullptr;
}

bool HandoffChannel::Take(OrderPayHandoffHeader* header, WCHAR* text, DWORD capacity)
{
  ResetEvent(event_);
  return ReadHandoffBlock(view_, kHandoffBlockSize, header, text, capacity);
}
