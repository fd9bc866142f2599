// The STATIC control.
#include "control_procedures.h"
#include "control_support.h"
#include "control_painting.h"

namespace controls_detail {

namespace {

struct StaticRecord {
  HFONT font = nullptr;
};

}  // namespace

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_NCCREATE) {
    MakeRecord<StaticRecord>(hwnd);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  if (!RecordOf<StaticRecord>(hwnd))
    return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
  case WM_NCDESTROY:
    DeleteRecord<StaticRecord>(hwnd);
    return DefWindowProcW(hwnd, message, wParam, lParam);
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
  case WM_SETTEXT: {
    LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    Redraw(hwnd);
    return result;
  }
  case WM_SETFONT:
    RecordOf<StaticRecord>(hwnd)->font = reinterpret_cast<HFONT>(wParam);
    if (LOWORD(lParam))
      Redraw(hwnd);
    return 0;
  case WM_GETFONT:
    return reinterpret_cast<LRESULT>(RecordOf<StaticRecord>(hwnd)->font);
  case WM_GETDLGCODE:
    return DLGC_STATIC;
  case WM_PAINT:
    PaintWithDc(hwnd, [&](HDC dc) { PaintStatic(hwnd, dc, RecordOf<StaticRecord>(hwnd)->font); });
    return 0;
  case WM_PRINTCLIENT:
    PaintStatic(hwnd, reinterpret_cast<HDC>(wParam), RecordOf<StaticRecord>(hwnd)->font);
    return 0;
  default:
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace controls_detail
