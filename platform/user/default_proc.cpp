// The default window procedure: what a window does with a message it leaves alone.
#include <algorithm>

#include "internal/user/paint_link.h"
#include "internal/user/window_bars_link.h"
#include "window_internal.h"

using namespace user_detail;

namespace {

void StoreText(HWND hwnd, LPCWSTR text)
{
  Lock held(state().lock);
  if (auto window = Find(held, hwnd))
    window->text = text ? std::u16string(text) : std::u16string();
}

std::u16string TextOf(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  return window ? window->text : std::u16string();
}

// WM_MOVE and WM_SIZE after a change of place or size.
void SendMoveAndSize(HWND hwnd, UINT flags)
{
  if (!(flags & SWP_NOCLIENTMOVE)) {
    POINT origin{0, 0};
    HWND parent = (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr;
    MapWindowPoints(hwnd, parent, &origin, 1);
    SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  }
  if (!(flags & SWP_NOCLIENTSIZE)) {
    RECT client;
    GetClientRect(hwnd, &client);
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  }
}

}  // namespace

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  DefaultProcScope scope(hwnd);
  switch (message) {
  case WM_NCCREATE: {
    auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
      StoreText(hwnd, cs->lpszName);
    return TRUE;
  }
  case WM_SETTEXT:
    StoreText(hwnd, reinterpret_cast<LPCWSTR>(lParam));
    return TRUE;
  case WM_GETTEXT: {
    auto* buffer = reinterpret_cast<LPWSTR>(lParam);
    if (!buffer || wParam == 0)
      return 0;
    std::u16string text = TextOf(hwnd);
    size_t count = std::min(text.size(), static_cast<size_t>(wParam - 1));
    std::copy_n(text.begin(), count, buffer);
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
  }
  case WM_GETTEXTLENGTH:
    return static_cast<LRESULT>(TextOf(hwnd).size());
  case WM_WINDOWPOSCHANGED: {
    auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (pos)
      SendMoveAndSize(hwnd, pos->flags);
    return 0;
  }
  case WM_ACTIVATE:
    if (LOWORD(wParam) != WA_INACTIVE)
      SetFocus(hwnd);
    return 0;
  case WM_NCACTIVATE:
    return TRUE;
  case WM_CLOSE:
    DestroyWindow(hwnd);
    return 0;
  case WM_CANCELMODE:
    if (GetCapture() == hwnd)
      ReleaseCapture();
    return 0;
  case WM_NCHITTEST:
    return DefaultHitTest(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  case WM_NCLBUTTONDOWN:
  case WM_NCMOUSEMOVE:
  case WM_NCLBUTTONUP:
    // A tap on the window's own scroll bar: the controls run the bar's gesture.
    if (auto hooks = user_bars::GetHooks(); hooks && hooks->pointer && (wParam == HTVSCROLL || wParam == HTHSCROLL))
      hooks->pointer(hwnd, message, static_cast<int>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_ERASEBKGND:
    if (auto hooks = user_paint::GetHooks(); hooks && hooks->defaultErase)
      return hooks->defaultErase(hwnd, reinterpret_cast<HDC>(wParam));
    return 0;
  case WM_PAINT: {
    // Painting proper belongs to the drawing layer; without it the window is taken as painted.
    if (auto hooks = user_paint::GetHooks(); hooks && hooks->defaultPaint) {
      hooks->defaultPaint(hwnd);
      return 0;
    }
    Lock held(state().lock);
    if (auto window = Find(held, hwnd); window && window->needsPaint) {
      window->needsPaint = false;
      window->queue->paintCount--;
    }
    return 0;
  }
  case WM_IME_COMPOSITION:
    if (lParam & GCS_RESULTSTR) {
      HIMC context = ImmGetContext(hwnd);
      LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
      std::u16string text(static_cast<size_t>(bytes) / sizeof(char16_t), u'\0');
      ImmGetCompositionStringW(context, GCS_RESULTSTR, text.data(), static_cast<DWORD>(bytes));
      ImmReleaseContext(hwnd, context);
      for (char16_t character : text)
        SendMessageW(hwnd, WM_IME_CHAR, character, 1);
    }
    return 0;
  case WM_IME_CHAR:
    SendMessageW(hwnd, WM_CHAR, wParam, lParam);
    return 0;
  default:
    return 0;
  }
}
