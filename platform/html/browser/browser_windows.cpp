// The browser control's windows: the host classes that AtlAxWinInit registers, the control's
// own window and the page view, each passing its messages to the control.
#include "atl/com_ptr.h"
#include "browser.h"
#include "browser_windows.h"

namespace kv::html {
namespace {

bool SameText(LPCWSTR a, LPCWSTR b)
{
  for (; *a && *b; ++a, ++b) {
    const char16_t x = *a >= u'A' && *a <= u'Z' ? static_cast<char16_t>(*a - u'A' + u'a') : *a;
    const char16_t y = *b >= u'A' && *b <= u'Z' ? static_cast<char16_t>(*b - u'A' + u'a') : *b;
    if (x != y)
      return false;
  }
  return *a == *b;
}

Browser* BrowserOf(HWND hwnd)
{
  return reinterpret_cast<Browser*>(GetWindowLongPtrW(hwnd, 0));
}

bool IsHost(HWND hwnd)
{
  WCHAR name[32] = {};
  GetClassNameW(hwnd, name, 32);
  return SameText(name, BROWSER_HOST_CLASS) || SameText(name, BROWSER_HOST_LICENSED_CLASS);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  Browser* browser = BrowserOf(hwnd);
  switch (message) {
  case WM_CREATE: {
    // The window's text names the control it holds; this host holds only the browser.
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (!create->lpszName || !SameText(create->lpszName, BROWSER_PROGID))
      return -1;
    Browser* made = Browser::Create(hwnd);
    if (!made)
      return -1;
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(made));
    return 0;
  }
  case WM_SIZE:
    if (HWND control = GetWindow(hwnd, GW_CHILD))
      MoveWindow(control, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  case WM_SETFOCUS:
    if (browser)
      browser->FocusPage();
    return 0;
  case WM_FORWARDMSG:
    return browser && lParam ? browser->TranslateKey(*reinterpret_cast<const MSG*>(lParam)) : FALSE;
  case WM_ERASEBKGND:
    return 1;  // the control covers the host
  case WM_DESTROY:
    if (browser)
      browser->HostDestroyed();
    break;
  case WM_NCDESTROY:
    if (browser) {
      SetWindowLongPtrW(hwnd, 0, 0);
      browser->Release();
    }
    break;
  default:
    break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  Browser* browser = BrowserOf(hwnd);
  if (!browser)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  CComPtr<Browser> alive(browser);
  return browser->ControlMessage(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  Browser* browser = BrowserOf(hwnd);
  if (!browser)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  CComPtr<Browser> alive(browser);
  return browser->ViewMessage(hwnd, message, wParam, lParam);
}

bool Register(LPCWSTR name, WNDPROC proc)
{
  WNDCLASSW wc{};
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = static_cast<int>(sizeof(Browser*));
  wc.lpszClassName = name;
  return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace
}  // namespace kv::html

BOOL AtlAxWinInit()
{
  using namespace kv::html;
  return Register(BROWSER_HOST_CLASS, HostProc) && Register(BROWSER_HOST_LICENSED_CLASS, HostProc) &&
         Register(kControlClass, ControlProc) && Register(kViewClass, ViewProc);
}

HRESULT AtlAxGetControl(HWND h, IUnknown** pp)
{
  if (!pp)
    return E_POINTER;
  *pp = nullptr;
  if (!IsWindow(h) || !kv::html::IsHost(h))
    return E_FAIL;
  kv::html::Browser* browser = kv::html::BrowserOf(h);
  if (!browser)
    return E_FAIL;
  return browser->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pp));
}
