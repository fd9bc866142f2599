#include "skin_soft_key.h"

namespace {

constexpr int kMenuItemBitmap = 233;
constexpr int kMenuItemSelectedBitmap = 261;
constexpr int kCaptionChars = 254;

}  // namespace

BOOL CSkinSoftKey::Attach(HWND button, bool takesFocus)
{
  if (!SubclassWindow(button))
    return FALSE;
  ModifyStyle(0, BS_OWNERDRAW);
  if (!takesFocus) {
    ModifyStyleEx(0, WS_EX_NOACTIVATE);
    return TRUE;
  }
  if (m_commandId == 0)
    m_commandId = GetDlgCtrlID();
  return TRUE;
}

void CSkinSoftKey::SetMenu(HMENU menu, int position)
{
  m_caption.Empty();
  if (!menu) {
    m_popupMenu = nullptr;
    m_commandId = GetDlgCtrlID();
    return;
  }
  if (position < 0) {
    m_popup.Reset();
    m_popupMenu = menu;
  } else {
    WCHAR text[kCaptionChars + 1] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE;
    item.dwTypeData = text;
    item.cch = kCaptionChars;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item))
      m_caption = text;
    MENUITEMINFOW submenu{};
    submenu.cbSize = sizeof submenu;
    submenu.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &submenu) || !submenu.hSubMenu) {
      m_popupMenu = nullptr;
      m_commandId = GetDlgCtrlID();
      return;
    }
    m_popupMenu = submenu.hSubMenu;
  }
  m_popup.LoadImages(kMenuItemBitmap, kMenuItemSelectedBitmap);
  m_popup.SetMenu(m_popupMenu);
}

void CSkinSoftKey::SizeToBitmap()
{
  SIZE size;
  HBITMAP source = m_background.GetSourceBitmap();
  if (!source || !GetBitmapSize(source, &size))
    return;
  RECT rect;
  GetWindowRect(&rect);
  HWND parent = GetParent();
  POINT topLeft{rect.left, rect.top};
  if (parent)
    ::ScreenToClient(parent, &topLeft);
  SetWindowPos(nullptr, topLeft.x, topLeft.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSkinSoftKey::Click()
{
  int id = GetDlgCtrlID();
  HWND parent = GetParent();
  if (m_popupMenu) {
    ::SendMessageW(parent, WM_KV_SOFTKEY_POPUP, static_cast<WPARAM>(id), 0);
    RECT rect;
    GetWindowRect(&rect);
    POINT topLeft{rect.left, rect.top};
    ::ScreenToClient(parent, &topLeft);
    m_popup.TrackPopup(TPM_BOTTOMALIGN, topLeft.x, topLeft.y, parent);
    ::SendMessageW(parent, WM_KV_SOFTKEY_POPUP_DONE, static_cast<WPARAM>(id), 0);
  } else if (m_commandId != 0) {
    ::SendMessageW(parent, WM_COMMAND, static_cast<WPARAM>(id), 0);
  }
}

LRESULT CSkinSoftKey::OnSetText(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  m_caption.Empty();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  bHandled = FALSE;
  return 0;
}

LRESULT CSkinSoftKey::OnFocusChange(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  bHandled = FALSE;
  return 0;
}

LRESULT CSkinSoftKey::OnTap(UINT, WPARAM, LPARAM, BOOL&)
{
  Click();
  return 0;
}

LRESULT CSkinSoftKey::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  CStringW text = m_caption;
  if (text.IsEmpty() && IsWindowEnabled())
    GetWindowText(text);
  DrawKeyCaption(draw.hDC, draw.rcItem, text);
  return 0;
}

LRESULT CSkinSoftKey::OnColour(UINT, WPARAM, LPARAM, BOOL&)
{
  return reinterpret_cast<LRESULT>(m_background.GetBrush(m_hWnd));
}
