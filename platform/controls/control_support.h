// What every control of this library shares: its record in the window's extra bytes, the
// notifications to its parent, repainting.
#pragma once

#include "windows.h"

namespace controls_detail {

// Each control class reserves one pointer of extra bytes for its record, made at WM_NCCREATE
// and deleted at WM_NCDESTROY.
constexpr int kRecordBytes = static_cast<int>(sizeof(void*));

template <class Record>
Record* RecordOf(HWND hwnd)
{
  return reinterpret_cast<Record*>(GetWindowLongPtrW(hwnd, 0));
}

// A control's window procedure around its record: the record is made at WM_NCCREATE (which
// `handle` then sees too) and deleted at WM_NCDESTROY; without a record the default procedure
// answers.
template <class Record>
LRESULT WithRecord(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                   LRESULT (*handle)(HWND, Record&, UINT, WPARAM, LPARAM))
{
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(new Record()));
  auto* record = RecordOf<Record>(hwnd);
  if (!record)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, 0, 0);
    delete record;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return handle(hwnd, *record, message, wParam, lParam);
}

// WM_COMMAND to the parent: the control id and the code in wParam, the control in lParam.
void NotifyParent(HWND control, WORD code);
// WM_NOTIFY to the parent with the record (its header filled in here); the parent's answer.
LRESULT NotifyParent(HWND control, UINT code, NMHDR* header);
// The same to another window than the parent.
LRESULT NotifyWindow(HWND target, HWND control, UINT code, NMHDR* header);
// Asks the window to be painted again.
void Redraw(HWND hwnd);
// WM_SETTEXT of a control that shows the window's own text: the default procedure, then a repaint.
LRESULT SetTextAndRedraw(HWND hwnd, WPARAM wParam, LPARAM lParam);
// WM_SETFONT (repainting when lParam asks) and WM_GETFONT of a control that keeps its font in `font`.
LRESULT FontMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, HFONT& font);
// WM_PAINT and WM_PRINTCLIENT of a control that paints in its own font (the system font when null).
LRESULT PaintInFont(HWND hwnd, UINT message, WPARAM wParam, HFONT font, void (*paint)(HWND, HDC));
// Registers a control's window class as a system class of the process, with room for its record.
void RegisterControlClass(LPCWSTR name, WNDPROC procedure, UINT style);
bool PointInClient(HWND hwnd, LPARAM pointerLParam);
DWORD StyleOf(HWND hwnd);
bool HasFocus(HWND hwnd);

}  // namespace controls_detail
