// CHyperLink: a static control shown as a link: its text on one line in the link colour,
// underlined, with a dotted frame while it has the focus. In command-button mode
// (HLINK_COMMANDBUTTON) a tap on it, or the return key while it has the focus, sends its parent
// WM_COMMAND with the control's id and window; everything else is the static's own handling
// (text, font, enabling, the parent's background). This layer offers no navigation to an
// address, so without that mode the link only looks like one.
#pragma once

#include "atl/window_impl.h"
#include "controls/static.h"
#include "gdi/gdi.h"

#define HLINK_COMMANDBUTTON 0x00000004

class CHyperLink : public CWindowImpl<CHyperLink> {
 public:
  static constexpr COLORREF kLinkColour = RGB(0, 0, 255);

  DWORD GetHyperLinkExtendedStyle() const { return m_extendedStyle; }
  void SetHyperLinkExtendedStyle(DWORD style)
  {
    m_extendedStyle = style;
    ApplyTapStyle();
  }
  BOOL SubclassWindow(HWND hWnd)
  {
    if (!CWindowImpl<CHyperLink>::SubclassWindow(hWnd))
      return FALSE;
    ApplyTapStyle();
    return TRUE;
  }

  BEGIN_MSG_MAP(CHyperLink)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_GETDLGCODE, OnGetDlgCode)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_SETFOCUS, OnFocusChanged)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnFocusChanged)
    MESSAGE_HANDLER(WM_ENABLE, OnFocusChanged)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
  END_MSG_MAP()

 private:
  bool IsCommandButton() const { return (m_extendedStyle & HLINK_COMMANDBUTTON) != 0; }

  // A static lets taps through to the window below unless it has SS_NOTIFY; a command link takes
  // them (and answers them itself, so the static's own notification never goes). The style is
  // taken back when the mode goes, unless the static had it of its own.
  void ApplyTapStyle()
  {
    if (!m_hWnd)
      return;
    if (IsCommandButton() && !(GetStyle() & SS_NOTIFY)) {
      ModifyStyle(0, SS_NOTIFY);
      m_bAddedNotify = true;
    } else if (!IsCommandButton() && m_bAddedNotify) {
      ModifyStyle(SS_NOTIFY, 0);
      m_bAddedNotify = false;
    }
  }

  // The parent learns of the activation the way it learns of a button's click.
  void SendCommand()
  {
    HWND self = m_hWnd;
    ::SendMessageW(::GetParent(self), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(self), 0), reinterpret_cast<LPARAM>(self));
  }

  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& bHandled)
  {
    if (!(bHandled = IsCommandButton()))
      return 0;
    ::SetCapture(m_hWnd);
    m_bPressed = true;
    return 0;
  }
  // The command goes when the pen is lifted over the link that it went down on.
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
  {
    if (!(bHandled = IsCommandButton()))
      return 0;
    bool pressed = m_bPressed;
    m_bPressed = false;
    if (::GetCapture() == m_hWnd)
      ::ReleaseCapture();
    RECT client{};
    GetClientRect(&client);
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (pressed && ::PtInRect(&client, point))
      SendCommand();
    return 0;
  }
  // The return key is the link's own; the other keys keep the dialog's meaning.
  LRESULT OnGetDlgCode(UINT, WPARAM, LPARAM lParam, BOOL&)
  {
    LRESULT code = DefWindowProc();
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (IsCommandButton() && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
      code |= DLGC_WANTMESSAGE;
    return code;
  }
  LRESULT OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
  {
    if (!(bHandled = IsCommandButton() && wParam == VK_RETURN))
      return 0;
    SendCommand();
    return 0;
  }
  LRESULT OnFocusChanged(UINT, WPARAM, LPARAM, BOOL& bHandled)
  {
    bHandled = FALSE;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
  }
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&)
  {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client{};
    GetClientRect(&client);
    auto brush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(GetParent(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hWnd)));
    ::FillRect(dc, &client, brush ? brush : ::GetSysColorBrush(COLOR_STATIC));
    auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
    COLORREF colour = IsWindowEnabled() ? kLinkColour : ::GetSysColor(COLOR_GRAYTEXT);
    COLORREF oldColour = ::SetTextColor(dc, colour);
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    CStringW text;
    GetWindowText(text);
    DWORD style = GetStyle();
    UINT format = DT_SINGLELINE | DT_NOPREFIX;
    if ((style & SS_TYPEMASK) == SS_CENTER)
      format |= DT_CENTER;
    else if ((style & SS_TYPEMASK) == SS_RIGHT)
      format |= DT_RIGHT;
    if (style & SS_CENTERIMAGE)
      format |= DT_VCENTER;
    if (!text.IsEmpty()) {
      // Where the text lands, for its underline.
      RECT measured = client;
      ::DrawTextW(dc, text, text.GetLength(), &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
      int width = measured.right - measured.left;
      int height = measured.bottom - measured.top;
      int left = (format & DT_CENTER)  ? (client.left + client.right - width) / 2
                 : (format & DT_RIGHT) ? client.right - width
                                       : client.left;
      int top = (format & DT_VCENTER) ? (client.top + client.bottom - height) / 2 : client.top;
      RECT textRect = client;
      ::DrawTextW(dc, text, text.GetLength(), &textRect, format);
      RECT underline{left < client.left ? client.left : left, top + height - 1,
                     left + width > client.right ? client.right : left + width, top + height};
      HBRUSH line = ::CreateSolidBrush(colour);
      ::FillRect(dc, &underline, line);
      ::DeleteObject(line);
    }
    if (::GetFocus() == m_hWnd)
      ::DrawFocusRect(dc, &client);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColour);
    if (oldFont)
      ::SelectObject(dc, oldFont);
    ::EndPaint(m_hWnd, &paint);
    return 0;
  }

  DWORD m_extendedStyle = 0;
  bool m_bPressed = false;
  bool m_bAddedNotify = false;
};
