// The link: blue text drawn on the control's own DC.
#include "link_label.h"

namespace {

constexpr COLORREF kLinkColour = RGB(0, 0, 255);

}  // namespace

LRESULT CLinkLabel::OnDrawItem(UINT, WPARAM, LPARAM, BOOL&)
{
  RECT client{};
  GetClientRect(&client);
  CStringW text;
  GetWindowText(text);
  HDC dc = ::GetDC(m_hWnd);
  COLORREF oldColour = ::SetTextColor(dc, kLinkColour);
  ::DrawTextW(dc, text, text.GetLength(), &client, DT_SINGLELINE | DT_LEFT | DT_TOP);
  ::SetTextColor(dc, oldColour);
  ::ReleaseDC(m_hWnd, dc);
  return TRUE;
}

LRESULT CLinkLabel::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (!item)
    return TRUE;
  if (item->CtlType == ODT_MENU) {
    item->itemHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYMENU));
    return TRUE;
  }
  HWND control = ::GetDlgItem(GetParent(), static_cast<int>(item->CtlID));
  HDC dc = ::GetDC(control);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ::ReleaseDC(control, dc);
  item->itemHeight = static_cast<UINT>(metrics.tmHeight);
  return TRUE;
}

LRESULT CLinkLabel::OnDeleteItem(UINT, WPARAM, LPARAM, BOOL&)
{
  return TRUE;
}

LRESULT CLinkLabel::OnCompareItem(UINT, WPARAM, LPARAM, BOOL&)
{
  return 0;
}
