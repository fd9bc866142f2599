// Window classes of this process.
#include <algorithm>

#include "class_table.h"
#include "window_internal.h"

namespace user_detail {

bool EqualNoCase(std::u16string_view a, std::u16string_view b)
{
  auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) {
           return fold(x) == fold(y);
         });
}

std::shared_ptr<WindowClass> FindClass(Lock&, LPCWSTR nameOrAtom)
{
  if (!nameOrAtom)
    return nullptr;
  for (auto& cls : state().classes) {
    if (IS_INTRESOURCE(nameOrAtom) ? cls->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom))
                                   : EqualNoCase(cls->name, nameOrAtom))
      return cls;
  }
  return nullptr;
}

}  // namespace user_detail

using namespace user_detail;

ATOM RegisterClassW(const WNDCLASSW* wc)
{
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !*wc->lpszClassName ||
      wc->cbClsExtra < 0 || wc->cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Lock held(state().lock);
  if (FindClass(held, wc->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto cls = std::make_shared<WindowClass>();
  cls->name = wc->lpszClassName;
  cls->info = *wc;
  cls->info.lpszClassName = nullptr;
  cls->info.lpszMenuName = nullptr;
  cls->classExtra.assign(static_cast<size_t>(wc->cbClsExtra), 0);
  // Atoms of window classes lie in 0xC000..0xFFFF; a freed one is not reused.
  static ATOM nextAtom = 0xC000;
  if (nextAtom == 0xFFFF) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  cls->atom = nextAtom++;
  state().classes.push_back(cls);
  return cls->atom;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE)
{
  Lock held(state().lock);
  auto cls = FindClass(held, className);
  if (!cls) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (cls->windowCount > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  auto& classes = state().classes;
  classes.erase(std::remove(classes.begin(), classes.end(), cls), classes.end());
  return TRUE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, WNDCLASSW* wc)
{
  Lock held(state().lock);
  auto cls = FindClass(held, className);
  if (!cls || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *wc = cls->info;
  // The name stays valid while the class is registered.
  wc->lpszClassName = cls->name.c_str();
  return TRUE;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int bufferChars)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (!buffer || bufferChars <= 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  size_t count = std::min(window->cls->name.size(), static_cast<size_t>(bufferChars - 1));
  std::copy_n(window->cls->name.begin(), count, buffer);
  buffer[count] = 0;
  return static_cast<int>(count);
}

ULONG_PTR GetClassLongPtrW(HWND hwnd, int index)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const WNDCLASSW& info = window->cls->info;
  switch (index) {
  case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(info.hbrBackground);
  case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(info.hCursor);
  case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(info.hIcon);
  case GCLP_HMODULE: return reinterpret_cast<ULONG_PTR>(info.hInstance);
  case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(info.cbWndExtra);
  case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(info.cbClsExtra);
  case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(info.lpfnWndProc);
  case GCL_STYLE: return info.style;
  case GCW_ATOM: return window->cls->atom;
  default: break;
  }
  auto& extra = window->cls->classExtra;
  if (index >= 0 && static_cast<size_t>(index) + sizeof(ULONG_PTR) <= extra.size()) {
    ULONG_PTR value;
    std::copy_n(extra.data() + index, sizeof value, reinterpret_cast<BYTE*>(&value));
    return value;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

DWORD GetClassLongW(HWND hwnd, int index)
{
  return static_cast<DWORD>(GetClassLongPtrW(hwnd, index));
}

ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  WNDCLASSW& info = window->cls->info;
  ULONG_PTR old = 0;
  switch (index) {
  case GCLP_HBRBACKGROUND:
    old = reinterpret_cast<ULONG_PTR>(info.hbrBackground);
    info.hbrBackground = reinterpret_cast<HBRUSH>(value);
    return old;
  case GCLP_HCURSOR:
    old = reinterpret_cast<ULONG_PTR>(info.hCursor);
    info.hCursor = reinterpret_cast<HCURSOR>(value);
    return old;
  case GCLP_WNDPROC:
    old = reinterpret_cast<ULONG_PTR>(info.lpfnWndProc);
    info.lpfnWndProc = reinterpret_cast<WNDPROC>(value);
    return old;
  case GCL_STYLE:
    old = info.style;
    info.style = static_cast<UINT>(value);
    return old;
  default: break;
  }
  auto& extra = window->cls->classExtra;
  if (index >= 0 && static_cast<size_t>(index) + sizeof(ULONG_PTR) <= extra.size()) {
    std::copy_n(extra.data() + index, sizeof old, reinterpret_cast<BYTE*>(&old));
    std::copy_n(reinterpret_cast<const BYTE*>(&value), sizeof value, extra.data() + index);
    return old;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}
