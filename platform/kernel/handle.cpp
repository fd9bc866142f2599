#include "kernel/handle.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/handle_table.h"

namespace {

// GetCurrentProcess(): the pseudo handle of the calling process.
HANDLE const kCurrentProcess = INVALID_HANDLE_VALUE;

}  // namespace

BOOL CloseHandle(HANDLE hObject)
{
  if (hObject == kCurrentProcess) {
    return TRUE;
  }
  std::shared_ptr<kernel::Object> object = kernel::LookupHandle(hObject);
  if (!object || !object->ClosedByCloseHandle() || !kernel::RemoveHandle(hObject)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
                     LPHANDLE lpTargetHandle, DWORD, BOOL, DWORD dwOptions)
{
  if (hSourceProcessHandle != kCurrentProcess || hTargetProcessHandle != kCurrentProcess || !lpTargetHandle) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::shared_ptr<kernel::Object> object = kernel::LookupHandle(hSourceHandle);
  if (!object || !object->ClosedByCloseHandle()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  HANDLE duplicate = kernel::InsertHandle(object);
  if (!duplicate) {
    return FALSE;
  }
  if (dwOptions & DUPLICATE_CLOSE_SOURCE) {
    kernel::RemoveHandle(hSourceHandle);
  }
  *lpTargetHandle = duplicate;
  return TRUE;
}
