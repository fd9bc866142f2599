// The library's calls over the table of guards. The table's lock is never held while a window
// procedure runs (the edit's, its parent's through notifications): such a procedure may run on
// another thread that itself waits for the lock.
#include <map>
#include <memory>
#include <mutex>

#include "guard.h"
#include "guard_memory.h"
#include "selvane/selvane.h"
#include "selvane_table.h"

using namespace selvane_detail;

namespace {

struct Library {
  std::recursive_mutex lock;
  int initialised = 0;
  std::map<HWND, std::shared_ptr<Guard>> guards;
  // Freed guards that another subclass keeps in their edit's chain, until the edit goes.
  std::map<HWND, std::shared_ptr<Guard>> retired;
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

// Takes the edit's guard out of the table; null when it has none.
std::shared_ptr<Guard> TakeGuard(HWND edit)
{
  std::lock_guard<std::recursive_mutex> held(library().lock);
  auto found = library().guards.find(edit);
  if (found == library().guards.end())
    return nullptr;
  std::shared_ptr<Guard> guard = std::move(found->second);
  library().guards.erase(found);
  return guard;
}

// Ends a guard taken out of the table (the lock not held: detaching talks to the edit). One
// that another subclass keeps in the edit's chain lives on until the edit goes.
void Release(std::shared_ptr<Guard> guard)
{
  guard->Detach();
  if (!guard->StillChained() || !IsWindow(guard->Edit()))
    return;
  std::lock_guard<std::recursive_mutex> held(library().lock);
  HWND edit = guard->Edit();
  library().retired[edit] = std::move(guard);
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
  std::map<HWND, std::shared_ptr<Guard>> ending;
  {
    std::lock_guard<std::recursive_mutex> held(library().lock);
    if (library().initialised == 0 || --library().initialised > 0)
      return;
    ending.swap(library().guards);
  }
  for (auto& entry : ending)
    Release(std::move(entry.second));
}

BOOL HelpMe(HWND edit)
{
  {
    std::lock_guard<std::recursive_mutex> held(library().lock);
    if (library().initialised == 0 || !IsWindow(edit) || !IsEdit(edit)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    if (GuardOf(edit))
      return TRUE;
  }
  // Attaching talks to the edit: outside the lock.
  auto guard = std::make_shared<Guard>(edit);
  if (!guard->Attach())
    return FALSE;
  {
    std::lock_guard<std::recursive_mutex> held(library().lock);
    if (!GuardOf(edit)) {
      library().guards.emplace(edit, std::move(guard));
      return TRUE;
    }
  }
  Release(std::move(guard));  // another call guarded the edit meanwhile: that guard serves
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

std::u16string selvane_detail::GuardedMemoryOf(HWND edit)
{
  std::lock_guard<std::recursive_mutex> held(library().lock);
  Guard* guard = GuardOf(edit);
  return guard ? guard->Memory() : std::u16string();
}

BOOL FreeMe(HWND edit)
{
  std::shared_ptr<Guard> guard = TakeGuard(edit);
  if (!guard)
    return FALSE;
  Release(std::move(guard));
  return TRUE;
}
