// Window data (GetWindowLong / SetWindowLong) and window text through the procedure.
#include <algorithm>
#include <cstring>

#include "internal/user/test_hooks.h"
#include "window_internal.h"

using namespace user_detail;

namespace {

bool ExtraRange(const Window& window, int index, size_t size)
{
  return index >= 0 && static_cast<size_t>(index) + size <= window.extra.size();
}

LONG_PTR ReadLong(Window& window, int index, size_t size, bool* ok)
{
  *ok = true;
  switch (index) {
  case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(window.proc);
  case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(window.instance);
  case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(window.parent ? window.parent : window.owner);
  case GWL_ID: return window.id;
  case GWL_STYLE: return static_cast<LONG>(window.style);
  case GWL_EXSTYLE: return static_cast<LONG>(window.exStyle);
  case GWL_USERDATA: return window.userData;
  default: break;
  }
  if (!ExtraRange(window, index, size)) {
    *ok = false;
    return 0;
  }
  if (size == sizeof(LONG)) {
    LONG value;
    std::memcpy(&value, window.extra.data() + index, sizeof value);
    return value;
  }
  LONG_PTR value;
  std::memcpy(&value, window.extra.data() + index, sizeof value);
  return value;
}

LONG_PTR WriteLong(HWND hwnd, int index, LONG_PTR value, size_t size)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (index == GWL_WNDPROC && window->queue != CurrentQueue(held)) {
    SetLastError(ERROR_ACCESS_DENIED);  // a window's procedure is changed only on its own thread
    return 0;
  }
  bool ok;
  LONG_PTR old = ReadLong(*window, index, size, &ok);
  if (!ok) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  switch (index) {
  case GWL_WNDPROC: window->proc = reinterpret_cast<WNDPROC>(value); break;
  case GWL_HINSTANCE: window->instance = reinterpret_cast<HINSTANCE>(value); break;
  case GWL_HWNDPARENT:
    if (!window->parent)
      window->owner = reinterpret_cast<HWND>(value);
    break;
  case GWL_ID: window->id = value; break;
  case GWL_STYLE:
  case GWL_EXSTYLE:
    if (index == GWL_STYLE)
      window->style = static_cast<DWORD>(value);
    else
      window->exStyle = static_cast<DWORD>(value);
    window->insets = InsetsFor(window->style, window->exStyle);  // the client area follows the frame
    break;
  case GWL_USERDATA: window->userData = value; break;
  default:
    if (size == sizeof(LONG)) {
      LONG narrow = static_cast<LONG>(value);
      std::memcpy(window->extra.data() + index, &narrow, sizeof narrow);
    } else {
      std::memcpy(window->extra.data() + index, &value, sizeof value);
    }
  }
  SetLastError(0);
  return old;
}

}  // namespace

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  bool ok;
  LONG_PTR value = ReadLong(*window, index, sizeof(LONG_PTR), &ok);
  if (!ok)
    SetLastError(ERROR_INVALID_INDEX);
  return value;
}

LONG GetWindowLongW(HWND hwnd, int index)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  bool ok;
  LONG_PTR value = ReadLong(*window, index, sizeof(LONG), &ok);
  if (!ok)
    SetLastError(ERROR_INVALID_INDEX);
  return static_cast<LONG>(value);
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value)
{
  return WriteLong(hwnd, index, value, sizeof(LONG_PTR));
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value)
{
  return static_cast<LONG>(WriteLong(hwnd, index, value, sizeof(LONG)));
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int bufferChars)
{
  if (!buffer || bufferChars <= 0)
    return 0;
  buffer[0] = 0;
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(bufferChars),
                                       reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd)
{
  return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

bool user_test::IsFocusOfItsThread(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  return window && window->queue->focus == hwnd;
}

bool user_test::IsActiveOfItsThread(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  return window && window->queue->active == hwnd;
}

std::u16string user_test::WindowText(HWND hwnd)
{
  {
    Lock held(state().lock);
    auto window = Find(held, hwnd);
    if (!window)
      return std::u16string();
    if (window->queue != CurrentQueue(held) && !window->queue->waiting)
      return window->text;
  }
  std::u16string text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, u'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool user_test::IsOwnedByCallingThread(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  return window && window->queue == CurrentQueue(held);
}
