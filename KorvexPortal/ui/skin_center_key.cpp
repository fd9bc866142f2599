#include "skin_center_key.h"

namespace {

constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockPeriodMs = 30000;

// The array the enumeration fills; set only for the length of one SipEnumIM call.
CSimpleArray<IMENUMINFO>* g_enumeratedInputMethods = nullptr;

int AppendInputMethod(IMENUMINFO* info)
{
  if (g_enumeratedInputMethods && info)
    g_enumeratedInputMethods->Add(*info);
  return 1;
}

}  // namespace

CSkinCenterKey::~CSkinCenterKey()
{
  // A control that goes while the input panel is shown still holds its menu.
  if (m_inputMethodMenu)
    DestroyMenu(m_inputMethodMenu);
}

CStringW CSkinCenterKey::ClockText()
{
  SYSTEMTIME now{};
  GetLocalTime(&now);
  CStringW text;
  text.Format(u"%d:%02d", static_cast<int>(now.wHour), static_cast<int>(now.wMinute));
  return text;
}

void CSkinCenterKey::ShowClock(bool on)
{
  if (on == m_clockOn)
    return;
  if (on) {
    SetWindowText(ClockText());
    SetTimer(kClockTimer, kClockPeriodMs);
  } else {
    KillTimer(kClockTimer);
  }
  m_clockOn = on;
}

void CSkinCenterKey::UncheckAllItems()
{
  for (int i = 0; i < InputMethodCount(); ++i)
    CheckMenuItem(m_inputMethodMenu, static_cast<UINT>(i + 1), MF_BYCOMMAND | MF_UNCHECKED);
}

void CSkinCenterKey::CheckCurrentItems()
{
  for (int i = 0; i < InputMethodCount(); ++i) {
    bool current = IsEqualGUID(m_inputMethods[i].clsid, m_currentInputMethod);
    CheckMenuItem(m_inputMethodMenu, static_cast<UINT>(i + 1), MF_BYCOMMAND | (current ? MF_CHECKED : MF_UNCHECKED));
  }
}

void CSkinCenterKey::UpdateInputMethodMenu(bool show, bool rebuild)
{
  if (!show) {
    if (m_inputMethodMenu) {
      DestroyMenu(m_inputMethodMenu);
      m_inputMethodMenu = nullptr;
    }
    m_inputMethodName.Empty();
    if (m_title.IsEmpty())
      ShowClock(true);
    m_currentInputMethod = CLSID{};
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return;
  }

  bool haveCurrent = SipGetCurrentIM(&m_currentInputMethod) != FALSE;
  if (!haveCurrent || !rebuild)
    m_currentInputMethod = CLSID{};

  if (!m_inputMethodMenu && rebuild) {
    m_inputMethods.RemoveAll();
    g_enumeratedInputMethods = &m_inputMethods;
    int reported = SipEnumIM(AppendInputMethod);
    g_enumeratedInputMethods = nullptr;
    if (reported > 0)
      m_inputMethodMenu = CreatePopupMenu();
    if (m_inputMethodMenu) {
      for (int i = 0; i < InputMethodCount(); ++i) {
        bool current = IsEqualGUID(m_inputMethods[i].clsid, m_currentInputMethod);
        AppendMenuW(m_inputMethodMenu, MF_STRING | (current ? MF_CHECKED : MF_UNCHECKED), static_cast<UINT_PTR>(i + 1),
                    m_inputMethods[i].szName);
        if (current)
          m_inputMethodName = m_inputMethods[i].szName;
      }
      AppendMenuW(m_inputMethodMenu, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(m_inputMethodMenu, MF_STRING | (haveCurrent ? MF_ENABLED : MF_GRAYED), CloseItemId(), u"关闭");
    }
    ShowClock(false);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return;
  }

  CheckCurrentItems();
  EnableMenuItem(m_inputMethodMenu, CloseItemId(), MF_BYCOMMAND | MF_ENABLED);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CSkinCenterKey::SetTitle(LPCWSTR text)
{
  m_title = text ? text : u"";
  if (m_title.IsEmpty()) {
    ShowClock(true);
  } else {
    ShowClock(false);
    SetWindowText(m_title);
  }
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CSkinCenterKey::OnCreate(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_title.IsEmpty())
    ShowClock(true);
  else
    SetWindowText(m_title);
  bHandled = FALSE;
  return 0;
}

LRESULT CSkinCenterKey::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  ShowClock(false);
  bHandled = FALSE;
  return 0;
}

LRESULT CSkinCenterKey::OnTimer(UINT, WPARAM, LPARAM, BOOL&)
{
  SetWindowText(ClockText());
  return 0;
}

LRESULT CSkinCenterKey::OnTap(UINT, WPARAM, LPARAM, BOOL&)
{
  if (!m_inputMethodMenu)
    return 0;
  HWND parent = GetParent();
  RECT rect;
  GetWindowRect(&rect);
  ::ScreenToClient(parent, reinterpret_cast<POINT*>(&rect.left));
  ::ScreenToClient(parent, reinterpret_cast<POINT*>(&rect.right));

  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  if (SipGetInfo(&sip) && sip.fdwFlags == 0) {
    // The panel is fully off: no input method is in use.
    UncheckAllItems();
    EnableMenuItem(m_inputMethodMenu, CloseItemId(), MF_BYCOMMAND | MF_GRAYED);
  }

  int chosen = TrackPopupMenuEx(m_inputMethodMenu, TPM_CENTERALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD,
                                (rect.left + rect.right) / 2, rect.top, parent, nullptr);
  // Tracking may have ended because the control went away with its dialog.
  if (chosen == 0 || !m_inputMethodMenu)
    return 0;
  int count = InputMethodCount();
  if (chosen >= 1 && chosen <= count) {
    IMENUMINFO& method = m_inputMethods[chosen - 1];
    if (!SipSetCurrentIM(&method.clsid))
      return 0;
    for (int i = 0; i < count; ++i) {
      if (IsEqualGUID(m_inputMethods[i].clsid, m_currentInputMethod)) {
        CheckMenuItem(m_inputMethodMenu, static_cast<UINT>(i + 1), MF_BYCOMMAND | MF_UNCHECKED);
        break;
      }
    }
    CheckMenuItem(m_inputMethodMenu, static_cast<UINT>(chosen), MF_BYCOMMAND | MF_CHECKED);
    m_currentInputMethod = method.clsid;
    m_inputMethodName = method.szName;
    EnableMenuItem(m_inputMethodMenu, CloseItemId(), MF_BYCOMMAND | MF_ENABLED);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::PostMessageW(parent, WM_KV_SETSIP, 1, 0);
  } else if (chosen == count + 1) {
    UncheckAllItems();
    EnableMenuItem(m_inputMethodMenu, CloseItemId(), MF_BYCOMMAND | MF_GRAYED);
    m_currentInputMethod = CLSID{};
    ::PostMessageW(parent, WM_KV_SETSIP, 0, 0);
  }
  return 0;
}

LRESULT CSkinCenterKey::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  CStringW text = m_inputMethodName;
  if (text.IsEmpty())
    GetWindowText(text);
  DrawKeyCaption(draw.hDC, draw.rcItem, text);
  return 0;
}

LRESULT CSkinCenterKey::OnColour(UINT, WPARAM, LPARAM, BOOL&)
{
  return reinterpret_cast<LRESULT>(m_background.GetBrush(m_hWnd));
}
