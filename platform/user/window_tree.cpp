// The window tree: parents, owners, z-order, look-up by id, class and title.
#include <algorithm>

#include "class_table.h"
#include "window_internal.h"

using namespace user_detail;

HWND GetDesktopWindow()
{
  // Index 0 of this process's table, which never holds a window.
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(CurrentProcessId()) << 32);
}

HWND GetParent(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (window->parent)
    return window->parent;
  return (window->style & WS_POPUP) ? window->owner : nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (IsDesktopHandle(newParent))
    newParent = nullptr;
  if (!window || (newParent && !Find(held, newParent))) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  // A window cannot become its own descendant.
  if (newParent && (newParent == hwnd || IsDescendant(held, hwnd, newParent))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HWND old = window->parent ? window->parent : GetDesktopWindow();
  RECT before = ShownBounds(held, *window);
  Unlink(held, *window);
  window->parent = newParent;
  if (newParent)
    window->owner = nullptr;
  LinkAt(held, *window, HWND_TOP);
  bool topLevel = !newParent;
  held.unlock();
  NotifyChanged(hwnd, before);
  if (topLevel)
    EnsureProcessListener();
  return old;
}

HWND GetWindow(HWND hwnd, UINT relation)
{
  Lock held(state().lock);
  if (IsDesktopHandle(hwnd)) {
    if (relation == GW_CHILD && !state().topLevel.empty())
      return state().topLevel.front();
    return nullptr;
  }
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (relation == GW_OWNER)
    return window->owner;
  if (relation == GW_CHILD)
    return window->children.empty() ? nullptr : window->children.front();
  auto& list = SiblingList(held, *window);
  auto it = std::find(list.begin(), list.end(), hwnd);
  if (it == list.end())
    return nullptr;
  switch (relation) {
  case GW_HWNDFIRST: return list.front();
  case GW_HWNDLAST: return list.back();
  case GW_HWNDNEXT: return it + 1 == list.end() ? nullptr : *(it + 1);
  case GW_HWNDPREV: return it == list.begin() ? nullptr : *(it - 1);
  default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

BOOL IsChild(HWND parent, HWND hwnd)
{
  Lock held(state().lock);
  return parent && IsDescendant(held, parent, hwnd);
}

HWND GetDlgItem(HWND dialog, int id)
{
  Lock held(state().lock);
  auto window = Find(held, dialog);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  for (HWND child : window->children)
    if (auto item = Find(held, child); item && static_cast<int>(item->id) == id)
      return child;
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return window->parent ? static_cast<int>(window->id) : 0;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName)
{
  {
    Lock held(state().lock);
    std::shared_ptr<WindowClass> cls;
    if (className) {
      cls = FindClass(held, className);
      if (!cls && IS_INTRESOURCE(className))
        return nullptr;
    }
    if (!className || cls) {
      for (HWND top : state().topLevel) {
        auto window = Find(held, top);
        if (window && window->state != WindowState::creating && (!cls || window->cls == cls) &&
            (!windowName || EqualNoCase(window->text, windowName)))
          return top;
      }
    }
  }
  if (className && IS_INTRESOURCE(className))
    return nullptr;  // atoms are this process's own
  return FindInOtherProcesses(className, windowName);
}

BOOL EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam)
{
  if (!lpEnumFunc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<HWND> windows;
  {
    Lock held(state().lock);
    for (HWND top : state().topLevel) {
      auto window = Find(held, top);
      if (window && window->state != WindowState::creating)
        windows.push_back(top);
    }
  }
  std::vector<HWND> others = TopLevelWindowsOfOtherProcesses();
  windows.insert(windows.end(), others.begin(), others.end());
  // The function runs without the lock held: it may call any window function.
  for (HWND window : windows)
    if (!lpEnumFunc(window, lParam))
      return FALSE;
  return TRUE;
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId)
{
  if (IsRemoteHandle(hwnd)) {
    DWORD thread = RemoteWindowThread(hwnd);
    if (processId)
      *processId = thread ? ProcessOfHandle(hwnd) : 0;
    return thread;
  }
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (processId)
    *processId = CurrentProcessId();
  return window->queue->threadId;
}
