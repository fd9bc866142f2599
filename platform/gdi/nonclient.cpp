// The non-client area of a window: what lies between its window rectangle and its client area
// (border, client edge, scroll bar room), painted in the face colour with the window's frame.
#include "nonclient.h"

#include "gdi/gdi.h"
#include "user/user.h"

namespace gdi_detail {

void PaintNonClient(HWND hwnd)
{
  RECT window, client;
  if (!GetWindowRect(hwnd, &window) || !GetClientRect(hwnd, &client))
    return;
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  RECT inner{origin.x - window.left, origin.y - window.top, origin.x - window.left + client.right,
             origin.y - window.top + client.bottom};
  RECT outer{0, 0, window.right - window.left, window.bottom - window.top};
  if (inner.left == 0 && inner.top == 0 && inner.right == outer.right && inner.bottom == outer.bottom)
    return;
  HDC dc = GetWindowDC(hwnd);
  ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
  FillRect(dc, &outer, GetSysColorBrush(COLOR_BTNFACE));
  DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
  DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
  if (style & WS_BORDER)
    FrameRect(dc, &outer, GetSysColorBrush(COLOR_WINDOWFRAME));
  if (exStyle & WS_EX_CLIENTEDGE) {
    RECT edge{inner.left - 1, inner.top - 1, inner.right + 1, inner.bottom + 1};
    FrameRect(dc, &edge, GetSysColorBrush(COLOR_BTNSHADOW));
  }
  ReleaseDC(hwnd, dc);
}

}  // namespace gdi_detail
