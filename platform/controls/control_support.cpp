#include "control_support.h"

#include "control_painting.h"
#include "item_painting.h"

namespace controls_detail {

void NotifyParent(HWND control, WORD code)
{
  HWND parent = GetParent(control);
  if (parent)
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

LRESULT NotifyParent(HWND control, UINT code, NMHDR* header)
{
  return NotifyWindow(GetParent(control), control, code, header);
}

LRESULT NotifyWindow(HWND target, HWND control, UINT code, NMHDR* header)
{
  header->hwndFrom = control;
  header->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
  header->code = code;
  return target ? SendMessageW(target, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header)) : 0;
}

void Redraw(HWND hwnd)
{
  InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT SetTextAndRedraw(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
  LRESULT result = DefWindowProcW(hwnd, WM_SETTEXT, wParam, lParam);
  Redraw(hwnd);
  return result;
}

LRESULT FontMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, HFONT& font)
{
  if (message == WM_GETFONT)
    return reinterpret_cast<LRESULT>(font);
  font = reinterpret_cast<HFONT>(wParam);
  if (LOWORD(lParam))
    Redraw(hwnd);
  return 0;
}

LRESULT PaintInFont(HWND hwnd, UINT message, WPARAM wParam, HFONT font, void (*paint)(HWND, HDC))
{
  return PaintMessage(hwnd, message, wParam, [&](HDC dc) {
    SelectedFont selected(dc, font);
    paint(hwnd, dc);
  });
}

void RegisterControlClass(LPCWSTR name, WNDPROC procedure, UINT style)
{
  WNDCLASSW wc{};
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = kRecordBytes;
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

bool PointInClient(HWND hwnd, LPARAM pointerLParam)
{
  RECT client;
  GetClientRect(hwnd, &client);
  int x = GET_X_LPARAM(pointerLParam);
  int y = GET_Y_LPARAM(pointerLParam);
  return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

DWORD StyleOf(HWND hwnd)
{
  return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

bool HasFocus(HWND hwnd)
{
  return GetFocus() == hwnd;
}

}  // namespace controls_detail
