// The account statement page's window: its children, layout, painting, keys and focus.
#include "account_query_dlg.h"

#include "app_services.h"
#include "list_results.h"
#include "resource_values.h"
#include "skin_image.h"
#include "trans_detail_dlg.h"
#include "window_helpers.h"

const WCHAR* const CAccountQueryDlg::kRangeTexts[kRangeCount] = {u"当天", u"最近三天", u"最近一个星期", u"最近一个月"};
const WCHAR* const CAccountQueryDlg::kRangeCodes[kRangeCount] = {u"1d", u"3d", u"1w", u"1m"};

namespace {

constexpr COLORREF kFormColour = 0xF5F5F5;
constexpr COLORREF kRuleColour = 0xCCCCCC;
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;

HWND CreateChild(HWND parent, const WCHAR* className, const WCHAR* text, DWORD style, int id)
{
  return ::CreateWindowExW(0, className, text, style, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

CListCell* TextCell(const WCHAR* text)
{
  auto* cell = new CListCell;
  cell->m_strText = text;
  return cell;
}

}  // namespace

CAccountQueryDlg::CAccountQueryDlg()
{
  // The one row shown when a range has no transactions.
  auto* row = new CListRow;
  row->AddCell(TextCell(u""));
  CListCell* image = TextCell(u"Pic");
  image->m_nKind = CListCell::kImage;
  image->m_hImage = LoadResourceBitmap(kEmptyImageId);
  row->AddCell(image);
  row->AddCell(TextCell(u"您选择的时间段无数据。"));
  m_emptyRows.AddRow(row);
}

CAccountQueryDlg::~CAccountQueryDlg()
{
  if (IsWindow())
    DestroyWindow();
  m_pDetailDlg.reset();
  m_transRows.Clear();
  m_emptyRows.Clear();
  m_detailRows.Clear();
  if (m_hLabelBrush)
    ::DeleteObject(m_hLabelBrush);
}

HWND CAccountQueryDlg::GetAccountPage() const
{
  HWND tabs = IsWindow() ? ::GetParent(m_hWnd) : nullptr;
  HWND page = tabs ? ::GetParent(tabs) : nullptr;
  return page && ::IsWindow(page) ? page : nullptr;
}

LRESULT CAccountQueryDlg::OnCreate(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  m_hRangeLabel = CreateChild(m_hWnd, WC_STATICW, u"查询时间段：", kLabelStyle, kRangeLabelId);
  // Hidden until the first query went out.
  m_hCombo = CreateChild(m_hWnd, WC_COMBOBOXW, u"", WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, kRangeComboId);
  if (m_hCombo)
    m_rangeControl.SubclassWindow(m_hCombo);
  m_hResultLabel = CreateChild(m_hWnd, WC_STATICW, u"查询结果：", kLabelStyle, kResultLabelId);
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(GetParent(), WM_GETFONT, 0, 0));
  for (HWND control : {m_hRangeLabel, m_hCombo, m_hResultLabel})
    if (control && font)
      ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (int i = 0; i < kRangeCount; ++i) {
    LRESULT item = ::SendMessageW(m_hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kRangeTexts[i]));
    ::SendMessageW(m_hCombo, CB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(i));
  }
  ::SendMessageW(m_hCombo, CB_SETCURSEL, 0, 0);
  m_nRangeIndex = 0;
  m_list.Create(m_hWnd, RECT{0, 0, 10, 10}, nullptr, CKorvexListViewTraits::GetWndStyle(0) | WS_VISIBLE, 0, kListId);
  m_list.SetModel(&m_transRows);
  m_panel.Attach(m_list.m_hWnd);
  m_hFocus = m_hCombo;
  ::SetFocus(m_hCombo);
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (CMessageLoop* loop = app ? app->GetMessageLoop() : nullptr) {
    loop->AddMessageFilter(this);
    loop->AddIdleHandler(this);
    m_pFilterLoop = loop;
  }
  if (!m_hLabelBrush)
    m_hLabelBrush = ::CreateSolidBrush(kFormColour);
  bHandled = FALSE;
  return 0;
}

LRESULT CAccountQueryDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_pFilterLoop) {
    CKorvexPortalApp* app = GetKorvexPortalApp();
    // The loop may be gone with a modal dialog that registered it; only the live one is told.
    if (app && app->GetMessageLoop() == m_pFilterLoop) {
      m_pFilterLoop->RemoveMessageFilter(this);
      m_pFilterLoop->RemoveIdleHandler(this);
    }
    m_pFilterLoop = nullptr;
  }
  CloseDetailDlg();
  if (m_list.IsWindow())
    m_list.DestroyWindow();
  for (HWND* child : {&m_hRangeLabel, &m_hCombo, &m_hResultLabel}) {
    if (*child && ::IsWindow(*child))
      ::DestroyWindow(*child);
    *child = nullptr;
  }
  m_hFocus = nullptr;
  if (m_hLabelBrush)
    ::DeleteObject(m_hLabelBrush);
  m_hLabelBrush = nullptr;
  m_transRows.Clear();
  m_detailRows.Clear();
  m_transactions.clear();
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_pResult.reset();
  }
  m_nLastWidth = m_nLastHeight = 0;
  bHandled = FALSE;
  return 0;
}

LRESULT CAccountQueryDlg::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  int width = LOWORD(lParam);
  int height = HIWORD(lParam);
  if (width != m_nLastWidth || height != m_nLastHeight) {
    m_nLastWidth = width;
    m_nLastHeight = height;
    Layout(width);
  }
  bHandled = FALSE;
  return 0;
}

void CAccountQueryDlg::Layout(int width)
{
  if (!m_list.IsWindow())
    return;
  int s = GetWidthScale();
  RECT client{};
  GetClientRect(&client);
  int labelWidth = width * 40 / 100;
  int flags = SWP_NOZORDER | SWP_NOACTIVATE;
  ::SetWindowPos(m_hRangeLabel, nullptr, 0, 9 * s, labelWidth, 20 * s, flags);
  ::SetWindowPos(m_hCombo, nullptr, labelWidth, 9 * s, width - labelWidth, 150 * s, flags);
  ::SetWindowPos(m_hResultLabel, nullptr, 0, 38 * s, labelWidth, 20 * s, flags);
  int listHeight = client.bottom - 62 * s;
  m_list.SetWindowPos(nullptr, 0, 62 * s, width, listHeight < 0 ? 0 : listHeight, flags);
  SetColumnWidths(width);
}

void CAccountQueryDlg::SetColumnWidths(int width)
{
  int s = GetWidthScale();
  int rest = width - width * 40 / 100 - width * 30 / 100;
  if (static_cast<int>(m_transRows.m_rows.size()) > m_list.GetCountPerPage())
    rest -= GetSystemMetrics(SM_CYHSCROLL);
  m_transRows.m_columnWidths = {0, width * 40 / 100, width * 30 / 100, rest};
  m_emptyRows.m_columnWidths = {0, 20 * s, width - 20 * s};
  m_detailRows.m_columnWidths = {0, 20 * s, width - 20 * s, 0};
  m_list.Rebuild();
}

LRESULT CAccountQueryDlg::OnSetFocus(UINT, WPARAM, LPARAM, BOOL&)
{
  if (m_hFocus && ::IsWindow(m_hFocus))
    ::SetFocus(m_hFocus);
  PostPageCounter();
  return 0;
}

void CAccountQueryDlg::PostPageCounter()
{
  if (HWND page = GetAccountPage())
    ::PostMessageW(page, WM_KV_PAGECOUNTER_UPDATE, 0, 0);
}

LRESULT CAccountQueryDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client{};
  GetClientRect(&client);
  FillSolid(dc, client, kFormColour);
  RECT rule{client.left, client.top + 60, client.right, client.top + 61};
  FillSolid(dc, rule, kRuleColour);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CAccountQueryDlg::OnKeyUp(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (wParam == VK_RETURN)
    PostMessage(WM_KV_LIST_OPENITEM);
  bHandled = FALSE;
  return 0;
}

LRESULT CAccountQueryDlg::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  HWND control = reinterpret_cast<HWND>(lParam);
  if (control != m_hRangeLabel && control != m_hResultLabel) {
    bHandled = FALSE;
    return 0;
  }
  ::SetBkColor(reinterpret_cast<HDC>(wParam), kFormColour);
  return reinterpret_cast<LRESULT>(m_hLabelBrush);
}

void CAccountQueryDlg::FocusChild(HWND child)
{
  m_hFocus = child;
  ::SetFocus(child);
}

void CAccountQueryDlg::FocusRange()
{
  FocusChild(m_hCombo);
}

LRESULT CAccountQueryDlg::OnRangeCloseUp(WORD, WORD, HWND, BOOL& bHandled)
{
  bHandled = FALSE;
  int index = static_cast<int>(::SendMessageW(m_hCombo, CB_GETCURSEL, 0, 0));
  if (index < 0 || index >= kRangeCount || index == m_nRangeIndex)
    return 0;
  int entry = static_cast<int>(::SendMessageW(m_hCombo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
  m_strPeriodCode = kRangeCodes[entry >= 0 && entry < kRangeCount ? entry : index];
  m_nPage = 1;
  m_nTotalCount = 0;
  PostMessage(WM_KV_FILTER_CHANGED);
  m_nRangeIndex = index;
  return 0;
}

LRESULT CAccountQueryDlg::OnFilterChanged(UINT, WPARAM, LPARAM, BOOL&)
{
  // The combo's own messages (the list closing, the focus) are done before the wait box shows.
  MSG pending{};
  while (::PeekMessageW(&pending, m_hWnd, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&pending);
    ::DispatchMessageW(&pending);
  }
  RequestPage();
  return 0;
}

BOOL CAccountQueryDlg::PreTranslateMessage(MSG* pMsg)
{
  if (!IsWindow() || !m_hCombo || !m_list.IsWindow())
    return FALSE;
  HWND target = pMsg->hwnd;
  bool onCombo = target == m_hCombo || ::IsChild(m_hCombo, target);
  bool onList = target == m_list.m_hWnd;
  if (pMsg->message == WM_KEYDOWN && (onCombo || onList || target == m_hWnd)) {
    HWND focus = ::GetFocus();
    bool dropped = ::SendMessageW(m_hCombo, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (!focus || focus == m_hWnd) {
      FocusChild(m_hCombo);
      return TRUE;
    }
    if (pMsg->wParam == VK_UP && onList && m_list.GetSelectedIndex() <= 0) {
      FocusChild(m_hCombo);
      return ::GetFocus() == m_hCombo && !dropped;
    }
    if (pMsg->wParam == VK_DOWN && onCombo && !dropped) {
      if (!m_transRows.m_rows.empty()) {
        FocusChild(m_list.m_hWnd);
        int selected = m_list.GetSelectedIndex();
        m_list.SelectItem(selected < 0 ? 0 : selected);
      }
      return TRUE;
    }
    return FALSE;
  }
  if (pMsg->message == WM_KEYUP && target == GetParent()) {
    // A key released on the tabs while this page is shown puts the focus on the range.
    if (IsWindowVisible())
      FocusChild(m_hCombo);
    return FALSE;
  }
  if (pMsg->message == WM_LBUTTONDOWN && onList && m_transRows.m_rows.empty()) {
    FocusChild(m_hCombo);
    return TRUE;
  }
  return FALSE;
}

void CAccountQueryDlg::CloseDetailDlg()
{
  if (m_pDetailDlg && m_pDetailDlg->IsWindow())
    m_pDetailDlg->CloseDialog(2, FALSE);
  m_pDetailDlg.reset();
}

void CAccountQueryDlg::ShowNotice(const CStringW& text)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowMessageBox(m_hWnd, text, CStringW(), 0x40, FALSE, SW_HIDE);
}
