// The STATIC control.
#include "control_procedures.h"
#include "control_support.h"
#include "control_painting.h"

namespace controls_detail {

namespace {

struct StaticRecord {
  HFONT font = nullptr;
};

LRESULT Handle(HWND hwnd, StaticRecord& record, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_NCHITTEST:
    // Without SS_NOTIFY a tap goes on to the window below.
    if (!(StyleOf(hwnd) & SS_NOTIFY))
      return HTTRANSPARENT;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  case WM_LBUTTONDOWN:
    if (StyleOf(hwnd) & SS_NOTIFY)
      NotifyParent(hwnd, STN_CLICKED);
    return 0;
  case WM_LBUTTONDBLCLK:
    if (StyleOf(hwnd) & SS_NOTIFY)
      NotifyParent(hwnd, STN_DBLCLK);
    return 0;
  case WM_ENABLE:
    if (StyleOf(hwnd) & SS_NOTIFY)
      NotifyParent(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
    Redraw(hwnd);
    return 0;
  case WM_SETTEXT:
    return SetTextAndRedraw(hwnd, wParam, lParam);
  case WM_SETFONT:
  case WM_GETFONT:
    return FontMessage(hwnd, message, wParam, lParam, record.font);
  case WM_GETDLGCODE:
    return DLGC_STATIC;
  case WM_PAINT:
  case WM_PRINTCLIENT:
    return PaintMessage(hwnd, message, wParam, [&](HDC dc) { PaintStatic(hwnd, dc, record.font); });
  default:
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return WithRecord<StaticRecord>(hwnd, message, wParam, lParam, Handle);
}

}  // namespace controls_detail
