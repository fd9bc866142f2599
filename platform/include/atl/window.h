// CWindow: a window handle with the window calls as members. It does not own the window.
#pragma once

#include "text/cstring.h"
#include "user/user.h"

class CWindow {
 public:
  HWND m_hWnd = nullptr;

  CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
  CWindow& operator=(HWND hWnd)
  {
    m_hWnd = hWnd;
    return *this;
  }
  operator HWND() const { return m_hWnd; }

  void Attach(HWND hWndNew) { m_hWnd = hWndNew; }
  HWND Detach()
  {
    HWND hWnd = m_hWnd;
    m_hWnd = nullptr;
    return hWnd;
  }

  HWND Create(LPCWSTR className, HWND hWndParent, const RECT& rect, LPCWSTR windowName = nullptr, DWORD style = 0,
              DWORD exStyle = 0, UINT_PTR menuOrId = 0, LPVOID createParam = nullptr)
  {
    m_hWnd = ::CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, hWndParent, reinterpret_cast<HMENU>(menuOrId), nullptr,
                               createParam);
    return m_hWnd;
  }
  BOOL DestroyWindow()
  {
    if (!::DestroyWindow(m_hWnd))
      return FALSE;
    m_hWnd = nullptr;
    return TRUE;
  }

  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
  // Removes and adds style bits; flags other than 0 apply the change with SetWindowPos.
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0) { return ModifyLong(GWL_STYLE, remove, add, flags); }
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0) { return ModifyLong(GWL_EXSTYLE, remove, add, flags); }
  LONG_PTR GetWindowLongPtr(int index) const { return ::GetWindowLongPtrW(m_hWnd, index); }
  LONG_PTR SetWindowLongPtr(int index, LONG_PTR value) { return ::SetWindowLongPtrW(m_hWnd, index, value); }

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
  {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
  {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
  }

  BOOL SetWindowText(LPCWSTR text) { return ::SetWindowTextW(m_hWnd, text); }
  int GetWindowText(LPWSTR buffer, int bufferChars) const { return ::GetWindowTextW(m_hWnd, buffer, bufferChars); }
  int GetWindowText(CStringW& text) const
  {
    int length = ::GetWindowTextLengthW(m_hWnd);
    int copied = ::GetWindowTextW(m_hWnd, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer(copied);
    return copied;
  }
  int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }

  HWND GetParent() const { return ::GetParent(m_hWnd); }
  HWND SetParent(HWND newParent) { return ::SetParent(m_hWnd, newParent); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  HWND GetWindow(UINT relation) const { return ::GetWindow(m_hWnd, relation); }
  BOOL IsChild(HWND hWnd) const { return ::IsChild(m_hWnd, hWnd); }
  HWND GetTopLevelParent() const
  {
    HWND top = m_hWnd;
    while (top && (::GetWindowLongW(top, GWL_STYLE) & WS_CHILD))
      top = ::GetParent(top);
    return top;
  }

  BOOL GetWindowRect(LPRECT rect) const { return ::GetWindowRect(m_hWnd, rect); }
  BOOL GetClientRect(LPRECT rect) const { return ::GetClientRect(m_hWnd, rect); }
  BOOL ClientToScreen(LPPOINT point) const { return ::ClientToScreen(m_hWnd, point); }
  BOOL ScreenToClient(LPPOINT point) const { return ::ScreenToClient(m_hWnd, point); }
  BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
  {
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
  }
  BOOL SetWindowPos(HWND insertAfter, LPCRECT rect, UINT flags)
  {
    return ::SetWindowPos(m_hWnd, insertAfter, rect->left, rect->top, rect->right - rect->left,
                          rect->bottom - rect->top, flags);
  }
  BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE)
  {
    return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
  }
  BOOL MoveWindow(LPCRECT rect, BOOL repaint = TRUE)
  {
    return ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
  }
  BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  static HWND GetFocus() { return ::GetFocus(); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  HWND SetActiveWindow() { return ::SetActiveWindow(m_hWnd); }

  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr)
  {
    return ::SetTimer(m_hWnd, id, elapseMs, proc);
  }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
  {
    return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
  }
  BOOL SetDlgItemText(int id, LPCWSTR text) { return ::SetDlgItemTextW(m_hWnd, id, text); }
  UINT GetDlgItemText(int id, LPWSTR buffer, int bufferChars) const
  {
    return ::GetDlgItemTextW(m_hWnd, id, buffer, bufferChars);
  }
  BOOL SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { return ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
  UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const
  {
    return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
  }
  HWND GetNextDlgTabItem(HWND control, BOOL previous = FALSE) const
  {
    return ::GetNextDlgTabItem(m_hWnd, control, previous);
  }
  BOOL MapDialogRect(LPRECT rect) const { return ::MapDialogRect(m_hWnd, rect); }

  HFONT GetFont() const { return reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }
  void SetFont(HFONT font, BOOL redraw = TRUE)
  {
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
  }

 private:
  BOOL ModifyLong(int index, DWORD remove, DWORD add, UINT flags)
  {
    DWORD old = static_cast<DWORD>(::GetWindowLongW(m_hWnd, index));
    DWORD updated = (old & ~remove) | add;
    if (old == updated)
      return FALSE;
    ::SetWindowLongW(m_hWnd, index, static_cast<LONG>(updated));
    if (flags)
      ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
  }
};
