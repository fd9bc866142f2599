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

template <class Record>
Record* MakeRecord(HWND hwnd)
{
  auto* record = new Record();
  SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(record));
  return record;
}

template <class Record>
void DeleteRecord(HWND hwnd)
{
  delete RecordOf<Record>(hwnd);
  SetWindowLongPtrW(hwnd, 0, 0);
}

// WM_COMMAND to the parent: the control id and the code in wParam, the control in lParam.
void NotifyParent(HWND control, WORD code);
// Asks the window to be painted again.
void Redraw(HWND hwnd);
bool PointInClient(HWND hwnd, LPARAM pointerLParam);
DWORD StyleOf(HWND hwnd);
bool HasFocus(HWND hwnd);

}  // namespace controls_detail
