#include "register_notice_pane.h"

#include "resource_values.h"

namespace {

constexpr COLORREF kPaneColour = 0xF5F5F5;

}  // namespace

CRegisterNoticePane::~CRegisterNoticePane()
{
  DeleteBrush();
}

void CRegisterNoticePane::DeleteBrush()
{
  if (m_hBrush)
    ::DeleteObject(m_hBrush);
  m_hBrush = nullptr;
}

LRESULT CRegisterNoticePane::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  m_hText = GetDlgItem(IDC_REGISTER_NOTICE_TEXT);
  if (m_hText)
    ::SetWindowTextW(m_hText, LoadResourceString(IDS_REGISTER_NOTICE));
  DeleteBrush();
  m_hBrush = ::CreateSolidBrush(kPaneColour);
  return TRUE;
}

LRESULT CRegisterNoticePane::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (!m_hBrush) {
    bHandled = FALSE;
    return 0;
  }
  RECT client{};
  GetClientRect(&client);
  ::FillRect(reinterpret_cast<HDC>(wParam), &client, m_hBrush);
  return 1;
}

LRESULT CRegisterNoticePane::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(m_hBrush);
}

LRESULT CRegisterNoticePane::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  DeleteBrush();
  m_hText = nullptr;
  return 0;
}

LRESULT CRegisterNoticePane::OnSize(UINT, WPARAM, LPARAM, BOOL&)
{
  RECT text{};
  if (!m_hText || !::GetWindowRect(m_hText, &text))
    return 0;
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&text), 2);
  RECT client{};
  GetClientRect(&client);
  int width = client.right - 2 * text.left;
  int height = client.bottom - 2 * text.top;
  ::MoveWindow(m_hText, text.left, text.top, width > 0 ? width : 0, height > 0 ? height : 0, TRUE);
  return 0;
}
