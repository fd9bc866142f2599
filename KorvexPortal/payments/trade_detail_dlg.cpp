// The trade detail's look: the caption strip, the tabs, layout, painting, keys and commands.
#include "trade_detail_dlg.h"

#include "app_services.h"
#include "skin_image.h"
#include "skin_soft_key.h"
#include "tab_strip.h"
#include "trade_detail_rows.h"
#include "window_helpers.h"

namespace {

constexpr int kCaptionStripId = 1004;

}  // namespace

CTradeDetailDlg::CTradeDetailDlg() = default;

CTradeDetailDlg::~CTradeDetailDlg()
{
  // The models own their rows.
  m_detailRows.Clear();
  m_logisticsRows.Clear();
}

LRESULT CTradeDetailDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetTitle(u"交易信息", FALSE);
  SetSoftKeyTexts(u"返回", u"", FALSE);
  m_hQueryList = ::GetWindow(m_hWnd, GW_OWNER);
  if (!m_hQueryList)
    m_hQueryList = ::GetParent(m_hWnd);
  bHandled = FALSE;  // on to the base, which binds the controls
  return 0;
}

BOOL CTradeDetailDlg::BindControls(BOOL save, int)
{
  if (save || !m_hWnd || m_tabs.IsWindow())
    return FALSE;
  m_caption.Create(m_hWnd, RECT{0, 0, 10, 10}, nullptr, 0, 0, static_cast<UINT_PTR>(kCaptionStripId));
  if (HFONT font = GetFont())
    m_caption.SetFont(font, FALSE);
  m_caption.SetText(m_strStatusText);
  m_tabs.Create(m_hWnd, RECT{0, 0, 10, 10}, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
                static_cast<UINT_PTR>(kTabsId));
  m_tabs.ShowWindow(SW_SHOW);
  m_tabs.AddTradeDetailPage(&m_detailRows);
  Layout();
  return TRUE;
}

LRESULT CTradeDetailDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_caption.IsWindow())
    m_caption.DestroyWindow();
  if (m_tabs.IsWindow())
    m_tabs.DestroyWindow();
  bHandled = FALSE;
  return 0;
}

LRESULT CTradeDetailDlg::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  if (TakeNewSize(lParam))
    Layout();
  bHandled = FALSE;
  return 0;
}

void CTradeDetailDlg::Layout()
{
  if (!m_tabs.IsWindow())
    return;
  int s = GetWidthScale();
  RECT area = WorkingRect();
  int width = area.right - area.left;
  int flags = SWP_NOZORDER | SWP_NOACTIVATE;
  m_caption.SetWindowPos(nullptr, area.left, area.top + 5 * s, width, 20 * s, flags);
  int tabTop = area.top + 30 * s;
  int tabHeight = area.bottom - tabTop;
  m_tabs.SetWindowPos(nullptr, area.left, tabTop, width, tabHeight < 0 ? 0 : tabHeight, flags);
  LayOutColumns(CAccountTabCtrl::kTradeDetailPage, m_detailRows);
  LayOutColumns(CAccountTabCtrl::kLogisticsPage, m_logisticsRows);
}

void CTradeDetailDlg::LayOutColumns(CAccountTabCtrl::ListPage page, CListRows& rows)
{
  CKorvexListView& list = m_tabs.GetList(page);
  if (!m_tabs.IsWindow() || !list.IsWindow())
    return;
  RECT client{};
  list.GetClientRect(&client);
  bool exceeds = static_cast<int>(rows.m_rows.size()) > list.GetCountPerPage();
  int labelText = 0;
  int colonText = 0;
  MeasureTradeDetailLabels(list.m_hWnd, labelText, colonText);
  rows.m_columnWidths = TradeDetailColumnWidths(GetWidthScale(), client.right - client.left, exceeds,
                                                GetSystemMetrics(SM_CYHSCROLL), labelText, colonText);
  list.Rebuild();
}

LRESULT CTradeDetailDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  PaintTabPageBackground(m_tabs.m_hWnd, dc, WorkingRect(), 30);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CTradeDetailDlg::OnClose(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  CloseDialog(2, wParam == 0);
  return 0;
}

LRESULT CTradeDetailDlg::OnGoDesktop(WORD, WORD, HWND, BOOL&)
{
  if (m_hQueryList && ::IsWindow(m_hQueryList))
    ::PostMessageW(m_hQueryList, WM_CLOSE, 0, 0);
  CloseDialog(2, TRUE);
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowDesktopDlg(0);
  return 0;
}

bool CTradeDetailDlg::HandleKey(WPARAM key)
{
  int count = m_tabs.GetPageCount();
  int current = m_tabs.GetCurSel();
  switch (key) {
  case VK_LEFT:
    if (count > 1)
      m_tabs.SetCurSel(current > 0 ? current - 1 : count - 1);
    return true;
  case VK_RIGHT:
    if (count > 0)
      m_tabs.SetCurSel((current + 1) % count);
    return true;
  case VK_UP:
  case VK_DOWN: {
    HWND list = m_tabs.GetCurrentPage();
    // The list scrolls only when its rows exceed what it shows.
    CKorvexListView* view = nullptr;
    for (int page : {CAccountTabCtrl::kTradeDetailPage, CAccountTabCtrl::kLogisticsPage})
      if (m_tabs.GetList(static_cast<CAccountTabCtrl::ListPage>(page)).m_hWnd == list)
        view = &m_tabs.GetList(static_cast<CAccountTabCtrl::ListPage>(page));
    if (view && view->GetModel() && static_cast<int>(view->GetModel()->m_rows.size()) > view->GetCountPerPage())
      view->SendMessage(WM_VSCROLL, key == VK_UP ? SB_LINEUP : SB_LINEDOWN, 0);
    return false;
  }
  default:
    return false;
  }
}

BOOL CTradeDetailDlg::PreTranslateMessage(MSG* pMsg)
{
  if (pMsg->message == WM_KEYDOWN && IsWindow() && m_tabs.IsWindow()) {
    ::SetFocus(m_tabs.m_hWnd);
    if (HandleKey(pMsg->wParam))
      return TRUE;
  }
  return CTabDetailDlg::PreTranslateMessage(pMsg);
}
