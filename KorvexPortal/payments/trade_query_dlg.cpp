// The trade query list's look: its controls, layout, painting, keys and soft-key commands.
#include "trade_query_dlg.h"

#include "skin_image.h"
#include "trade_detail_dlg.h"
#include "trade_query_rows.h"
#include "tradequery_ids.h"
#include "window_helpers.h"

namespace {

constexpr COLORREF kFormColour = 0xF5F5F5;
constexpr COLORREF kRuleColour = 0xCCCCCC;
constexpr int kLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;

struct FilterEntry {
  const char16_t* text;
  const char16_t* code;
};
constexpr FilterEntry kFilters[CTradeQueryDlg::kFilterCount] = {
    {u"全部交易", u"all"},          {u"待处理交易", u"processing"}, {u"成功的交易", u"tradeSuc"},
    {u"失败的交易", u"tradeFail"}, {u"未付款交易", u"waitPay"},
};

HWND CreateChild(HWND parent, const WCHAR* className, const WCHAR* text, DWORD style, int id)
{
  return ::CreateWindowExW(0, className, text, style, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

}  // namespace

CTradeQueryDlg::CTradeQueryDlg()
{
  m_emptyRows.AddRow(MakeEmptyResultRow());
}

CTradeQueryDlg::~CTradeQueryDlg()
{
  // The models own their rows.
  m_tradeRows.Clear();
  m_emptyRows.Clear();
  if (m_hLabelBrush)
    ::DeleteObject(m_hLabelBrush);
}

void CTradeQueryDlg::GetStatusFilter(int index)
{
  if (index != kFilterWaitPay)
    return;
  m_nFilterIndex = kFilterWaitPay;
  m_strStatusCode = kFilters[kFilterWaitPay].code;
}

int CTradeQueryDlg::GetTemplateId(int)
{
  return IDD_TRADEQUERY;
}

int CTradeQueryDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? 0x419 : 0x418;
}

int CTradeQueryDlg::GetLayoutStringId()
{
  return 132;
}

int CTradeQueryDlg::GetSoftKey1Id()
{
  return IDC_TRADEQUERY_EXIT;
}

int CTradeQueryDlg::GetSoftKey2Id()
{
  return IDC_TRADEQUERY_MENU;
}

int CTradeQueryDlg::GetMenuId()
{
  return IDR_TRADEQUERY_MENU;
}

int CTradeQueryDlg::GetCenterKeyId()
{
  return 135;
}

LRESULT CTradeQueryDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetTitle(u"交易查询", FALSE);
  bHandled = FALSE;  // on to the base, which binds the controls
  return 0;
}

BOOL CTradeQueryDlg::BindControls(BOOL save, int)
{
  if (save || !m_hWnd || m_hCombo)
    return FALSE;
  m_hStatusLabel = CreateChild(m_hWnd, WC_STATICW, u"交易状态：", kLabelStyle, IDC_TRADEQUERY_STATUS_LABEL);
  m_hResultLabel = CreateChild(m_hWnd, WC_STATICW, u"查询结果：", kLabelStyle, IDC_TRADEQUERY_RESULT_LABEL);
  // Hidden until the first query went out.
  m_hCombo = CreateChild(m_hWnd, WC_COMBOBOXW, u"", WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, kComboId);
  if (m_hCombo)
    m_filterControl.SubclassWindow(m_hCombo);
  HFONT font = GetFont();
  for (HWND control : {m_hStatusLabel, m_hResultLabel, m_hCombo})
    if (control && font)
      ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (int i = 0; i < kFilterCount; ++i) {
    LRESULT item = ::SendMessageW(m_hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kFilters[i].text));
    ::SendMessageW(m_hCombo, CB_SETITEMDATA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(kFilters[i].code));
    if (m_strStatusCode.CompareNoCase(kFilters[i].code) == 0) {
      ::SendMessageW(m_hCombo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      m_nFilterIndex = i;
    }
  }
  m_list.Create(m_hWnd, RECT{0, 0, 10, 10}, nullptr, CKorvexListViewTraits::GetWndStyle(0) | WS_VISIBLE, 0,
                IDC_TRADEQUERY_LIST);
  m_list.SetModel(&m_tradeRows);
  m_pPanel = std::make_unique<CScrollPanel>();
  m_pPanel->Attach(m_list.m_hWnd);
  if (!m_hLabelBrush)
    m_hLabelBrush = ::CreateSolidBrush(kFormColour);
  Layout();
  return TRUE;
}

void CTradeQueryDlg::InitFocus()
{
  ::SetFocus(m_hCombo);
}

LRESULT CTradeQueryDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  CloseTradePay();
  CloseTradeDetail();
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_pListResult.reset();
    m_pDetailResult.reset();
  }
  m_list.SetModel(nullptr);
  m_tradeRows.Clear();
  if (m_pPanel)
    m_pPanel->Detach(FALSE);
  m_pPanel.reset();
  if (m_list.m_hWnd)
    m_list.DestroyWindow();
  for (HWND* control : {&m_hStatusLabel, &m_hResultLabel, &m_hCombo}) {
    if (*control)
      ::DestroyWindow(*control);
    *control = nullptr;
  }
  if (m_hLabelBrush)
    ::DeleteObject(m_hLabelBrush);
  m_hLabelBrush = nullptr;
  bHandled = FALSE;
  return 0;
}

LRESULT CTradeQueryDlg::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  if (TakeNewSize(lParam))
    Layout();
  bHandled = FALSE;
  return 0;
}

void CTradeQueryDlg::Layout()
{
  if (!m_list.m_hWnd)
    return;
  int s = GetWidthScale();
  RECT area = WorkingRect();
  int left = area.left + 10;
  int width = area.right - area.left - 20;
  if (width < 0)
    width = 0;
  int labelWidth = width * 40 / 100;
  int flags = SWP_NOZORDER | SWP_NOACTIVATE;
  ::SetWindowPos(m_hStatusLabel, nullptr, left, area.top + 9 * s, labelWidth, 20 * s, flags);
  ::SetWindowPos(m_hCombo, nullptr, left + labelWidth, area.top + 9 * s, width - labelWidth, 150 * s, flags);
  ::SetWindowPos(m_hResultLabel, nullptr, left, area.top + 38 * s, labelWidth, 20 * s, flags);
  int listTop = area.top + 62 * s;
  int listHeight = area.bottom - listTop;
  m_list.SetWindowPos(nullptr, left, listTop, width, listHeight < 0 ? 0 : listHeight, flags);
  SetColumnWidths();
}

void CTradeQueryDlg::SetColumnWidths()
{
  RECT inner{};
  m_list.GetClientRect(&inner);
  int width = inner.right - inner.left;
  m_tradeRows.m_columnWidths = TradeListColumnWidths(width);
  m_emptyRows.m_columnWidths = EmptyResultColumnWidths(GetWidthScale(), width);
  m_list.Rebuild();
}

LRESULT CTradeQueryDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT area = WorkingRect();
  FillSolid(dc, area, kFormColour);
  // The rule lies between the result label and the list at every scale.
  int s = GetWidthScale();
  RECT rule{area.left + 10, area.top + 60 * s, area.right - 10, area.top + 60 * s + 1};
  FillSolid(dc, rule, kRuleColour);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CTradeQueryDlg::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  HWND control = reinterpret_cast<HWND>(lParam);
  if (control != m_hStatusLabel && control != m_hResultLabel) {
    bHandled = FALSE;
    return 0;
  }
  ::SetBkColor(reinterpret_cast<HDC>(wParam), kFormColour);
  return reinterpret_cast<LRESULT>(m_hLabelBrush);
}

LRESULT CTradeQueryDlg::OnClose(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  CloseDialog(2, wParam == 0);
  return 0;
}

LRESULT CTradeQueryDlg::OnKeyUp(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (wParam == VK_RETURN)
    PostMessage(WM_KV_LIST_OPENITEM);
  bHandled = FALSE;
  return 0;
}

LRESULT CTradeQueryDlg::OnExitKey(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CTradeQueryDlg::OnGoDesktop(WORD, WORD, HWND, BOOL&)
{
  PostMessage(WM_CLOSE, 0);
  return 0;
}

LRESULT CTradeQueryDlg::OnFocusFilter(WORD, WORD, HWND, BOOL&)
{
  ::SetFocus(m_hCombo);
  return 0;
}

LRESULT CTradeQueryDlg::OnFilterCloseUp(WORD, WORD, HWND, BOOL&)
{
  int index = static_cast<int>(::SendMessageW(m_hCombo, CB_GETCURSEL, 0, 0));
  if (index < 0 || index >= kFilterCount || index == m_nFilterIndex)
    return 0;
  m_strPeriodCode = u"1m";
  m_strStatusCode = kFilters[index].code;
  m_nPage = 1;
  m_nTotalCount = 0;
  PostMessage(WM_KV_FILTER_CHANGED);
  m_nFilterIndex = index;
  return 0;
}

LRESULT CTradeQueryDlg::OnFilterChanged(UINT, WPARAM, LPARAM, BOOL&)
{
  // The combo's own messages (the list closing, the focus) are done before the wait box shows.
  MSG pending{};
  while (::PeekMessageW(&pending, m_hWnd, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&pending);
    ::DispatchMessageW(&pending);
  }
  Refresh();
  return 0;
}

BOOL CTradeQueryDlg::PreTranslateMessage(MSG* pMsg)
{
  if (!IsWindow() || !m_list.m_hWnd)
    return CBaseDlg::PreTranslateMessage(pMsg);
  bool onList = pMsg->hwnd == m_list.m_hWnd;
  if (pMsg->message == WM_KEYDOWN) {
    WPARAM key = pMsg->wParam;
    if (onList && (key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN)) {
      // The list turns these into its page messages.
      ::DispatchMessageW(pMsg);
      return TRUE;
    }
    if (pMsg->hwnd == m_hCombo && (key == VK_DOWN || key == VK_RIGHT) &&
        !::SendMessageW(m_hCombo, CB_GETDROPPEDSTATE, 0, 0)) {
      if (!m_tradeRows.m_rows.empty()) {
        ::SetFocus(m_list.m_hWnd);
        int selected = m_list.GetSelectedIndex();
        m_list.SelectItem(selected < 0 ? 0 : selected);
      }
      return TRUE;
    }
  }
  if (pMsg->message == WM_LBUTTONDOWN && onList && m_tradeRows.m_rows.empty()) {
    ::SetFocus(m_hCombo);
    return TRUE;
  }
  return CBaseDlg::PreTranslateMessage(pMsg);
}

void CTradeQueryDlg::CloseTradePay()
{
  if (m_pTradePayDlg && m_pTradePayDlg->IsWindow())
    m_pTradePayDlg->CloseDialog(2, FALSE);
  m_pTradePayDlg.reset();
}

void CTradeQueryDlg::CloseTradeDetail()
{
  if (m_pTradeDetailDlg && m_pTradeDetailDlg->IsWindow())
    m_pTradeDetailDlg->CloseDialog(2, FALSE);
  m_pTradeDetailDlg.reset();
}
