// The DISPLAYCLASS window: its messages, the stylus and the keys.
#include <cstdlib>
#include <string>

#include "html/html_viewer.h"
#include "html/view/stylus_press.h"
#include "html_view.h"

namespace {

using kv::html::HtmlView;

struct Viewer {
  explicit Viewer(HWND hwnd) : view(hwnd), press(kv::html::ScreenDpi()) {}

  HtmlView view;
  // On a link, a tap follows the link.
  kv::html::StylusPress press;
};

Viewer* ViewerOf(HWND hwnd)
{
  return reinterpret_cast<Viewer*>(GetWindowLongPtrW(hwnd, 0));
}

POINT PointOf(LPARAM lParam)
{
  return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// Tells the parent that a link is followed. The target is the caller's own copy: the parent may
// change or destroy the viewer while it handles the notification.
void NotifyHotspot(HWND hwnd, const std::u16string& target)
{
  HWND parent = GetParent(hwnd);
  if (!parent)
    return;
  NM_HTMLVIEWW info{};
  info.hdr.hwndFrom = hwnd;
  info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
  info.hdr.code = NM_HOTSPOT;
  info.szTarget = target.c_str();
  info.szData = u"";
  SendMessageW(parent, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
}

void PointerDown(HWND hwnd, Viewer& viewer, POINT at)
{
  if (GetFocus() != hwnd)
    SetFocus(hwnd);
  if (!IsWindow(hwnd))
    return;
  SetCapture(hwnd);
  viewer.press.Down(at, viewer.view.ScrollPos(), viewer.view.LinkAt(at));
}

void PointerMove(Viewer& viewer, POINT at)
{
  if (std::optional<int> scroll = viewer.press.Move(at))
    viewer.view.ScrollTo(*scroll);
}

void PointerUp(HWND hwnd, Viewer& viewer, POINT at)
{
  const int link = viewer.press.Up(viewer.view.LinkAt(at));  // before the capture goes, which cancels a press
  if (GetCapture() == hwnd)
    ReleaseCapture();
  if (link < 0)
    return;
  viewer.view.FocusLink(link);
  NotifyHotspot(hwnd, viewer.view.TargetOf(link));
}

bool KeyDown(HWND hwnd, Viewer& viewer, WPARAM key)
{
  switch (key) {
  case VK_UP: viewer.view.MoveFocus(false); return true;
  case VK_DOWN: viewer.view.MoveFocus(true); return true;
  case VK_PRIOR: viewer.view.ScrollBy(SB_PAGEUP); return true;
  case VK_NEXT: viewer.view.ScrollBy(SB_PAGEDOWN); return true;
  case VK_RETURN:
    if (viewer.view.FocusedLink() < 0)
      return false;
    NotifyHotspot(hwnd, viewer.view.FocusedTarget());
    return true;
  default: return false;
  }
}

LRESULT Handle(HWND hwnd, Viewer& viewer, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case DTM_ADDTEXTW:
    if (lParam)
      viewer.view.Append(reinterpret_cast<LPCWSTR>(lParam), wParam != 0);
    return TRUE;
  case DTM_ENDOFSOURCE:
    viewer.view.EndOfSource();
    return TRUE;
  case DTM_NAVIGATE:
    viewer.press.Cancel();
    return lParam && viewer.view.Navigate(reinterpret_cast<LPCWSTR>(lParam));
  case DTM_CLEAR:
    viewer.press.Cancel();
    viewer.view.Clear();
    return TRUE;
  case WM_SIZE:
    viewer.view.Resize();
    return 0;
  case WM_ERASEBKGND:
    return 1;  // the paint fills the background
  case WM_PAINT: {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    viewer.view.Paint(dc, paint.rcPaint);
    EndPaint(hwnd, &paint);
    return 0;
  }
  case WM_VSCROLL:
    viewer.view.ScrollBy(LOWORD(wParam));
    return 0;
  case WM_LBUTTONDOWN:
    PointerDown(hwnd, viewer, PointOf(lParam));
    return 0;
  case WM_MOUSEMOVE:
    PointerMove(viewer, PointOf(lParam));
    return 0;
  case WM_LBUTTONUP:
    PointerUp(hwnd, viewer, PointOf(lParam));
    return 0;
  case WM_CAPTURECHANGED:
    viewer.press.Cancel();
    return 0;
  case WM_KEYDOWN:
    if (KeyDown(hwnd, viewer, wParam))
      return 0;
    break;
  case WM_GETDLGCODE: {
    // Arrows always; Return too while a link has the focus, to follow it.
    auto* msg = reinterpret_cast<const MSG*>(lParam);
    const bool follows = msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && viewer.view.FocusedLink() >= 0;
    return DLGC_WANTARROWS | (follows ? DLGC_WANTMESSAGE : 0);
  }
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    InvalidateRect(hwnd, nullptr, FALSE);  // the focused link's rectangle shows only with the focus
    return 0;
  default:
    break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ViewerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(new Viewer(hwnd)));
  Viewer* viewer = ViewerOf(hwnd);
  if (!viewer)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, 0, 0);
    delete viewer;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return Handle(hwnd, *viewer, message, wParam, lParam);
}

}  // namespace

BOOL InitHTMLControl(HINSTANCE instance)
{
  WNDCLASSW wc{};
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = ViewerProc;
  wc.cbWndExtra = static_cast<int>(sizeof(Viewer*));
  wc.hInstance = instance;
  wc.lpszClassName = DISPLAYCLASS;
  return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
