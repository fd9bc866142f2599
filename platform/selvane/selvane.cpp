// The library's calls over the table of guards.
#include <map>
#include <memory>
#include <mutex>

#include "guard.h"
#include "selvane/selvane.h"
#include "selvane_table.h"

using namespace selvane_detail;

namespace {

struct Library {
  std::recursive_mutex lock;
  int initialised = 0;
  std::map<HWND, std::unique_ptr<Guard>> guards;
  // Freed guards that another subclass keeps in their edit's chain, until the edit goes.
  std::map<HWND, std::unique_ptr<Guard>> retired;
};

Library& library()
{
  static Library* instance = new Library();  // lives through exit, for threads still running
  return *instance;
}

bool IsEdit(HWND hwnd)
{
  WCHAR name[16] = {};
  GetClassNameW(hwnd, name, 16);
  std::u16string_view cls(name);
  return cls.size() == 4 && (cls[0] | 0x20) == u'e' && (cls[1] | 0x20) == u'd' && (cls[2] | 0x20) == u'i' &&
         (cls[3] | 0x20) == u't';
}

Guard* GuardOf(HWND edit)
{
  auto found = library().guards.find(edit);
  return found == library().guards.end() ? nullptr : found->second.get();
}

}  // namespace

void selvane_detail::ForgetGuard(HWND edit)
{
  std::lock_guard<std::recursive_mutex> held(library().lock);
  library().guards.erase(edit);
  library().retired.erase(edit);
}

namespace {

// Ends a guard that is in the table.
void Release(HWND edit)
{
  auto found = library().guards.find(edit);
  found->second->Detach();
  if (found->second->StillChained())
    library().retired[edit] = std::move(found->second);
  library().guards.erase(found);
}

}  // namespace

BOOL SelvaneInitialize(DWORD)
{
  std::lock_guard<std::recursive_mutex> held(library().lock);
  ++library().initialised;
  return TRUE;
}

void SelvaneUninitialize()
{
  std::lock_guard<std::recursive_mutex> held(library().lock);
  if (library().initialised == 0 || --library().initialised > 0)
    return;
  while (!library().guards.empty())
    Release(library().guards.begin()->first);
}

BOOL HelpMe(HWND edit)
{
  std::lock_guard<std::recursive_mutex> held(library().lock);
  if (library().initialised == 0 || !IsWindow(edit) || !IsEdit(edit)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (GuardOf(edit))
    return TRUE;
  auto guard = std::make_unique<Guard>(edit);
  if (!guard->Attach())
    return FALSE;
  library().guards.emplace(edit, std::move(guard));
  return TRUE;
}

BOOL GetInputForMe(HWND edit, LPWSTR buffer, DWORD bufferBytes)
{
  size_t capacity = bufferBytes / sizeof(WCHAR);
  if (!buffer || capacity == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::recursive_mutex> held(library().lock);
  Guard* guard = GuardOf(edit);
  size_t count = guard ? guard->CopyTo(buffer, std::min<size_t>(capacity - 1, SELVANE_MAX_INPUT)) : 0;
  buffer[count] = 0;
  return guard != nullptr;
}

BOOL ClearInputForMe(HWND edit)
{
  {
    std::lock_guard<std::recursive_mutex> held(library().lock);
    Guard* guard = GuardOf(edit);
    if (!guard)
      return FALSE;
    guard->Wipe();
  }
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u""));
  return TRUE;
}

BOOL FreeMe(HWND edit)
{
  std::lock_guard<std::recursive_mutex> held(library().lock);
  Guard* guard = GuardOf(edit);
  if (!guard)
    return FALSE;
  Release(edit);
  return TRUE;
}
