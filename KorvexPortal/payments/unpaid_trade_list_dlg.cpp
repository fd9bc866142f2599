#include "unpaid_trade_list_dlg.h"

#include "app_services.h"
#include "ini_file.h"
#include "resource_values.h"
#include "text_helpers.h"
#include "unpaid_ids.h"
#include "window_helpers.h"

namespace {

constexpr COLORREF kDialogColour = 0xF7F7F7;
constexpr COLORREF kCountColour = RGB(0xFF, 0, 0);
constexpr COLORREF kRuleColour = 0xCCCCCC;
constexpr COLORREF kLinkColour = RGB(0, 0, 0xFF);
// The banner's band below the account label, in pixels of a 240-pixel-wide screen.
constexpr int kBannerTop = 2;
constexpr int kBannerBottom = 32;

int Scaled(int pixels)
{
  return static_cast<int>(pixels * GetScreenScaleX());
}

CListCell* TextCell(const std::u16string& text, int kind = CListCell::kText)
{
  auto* cell = new CListCell;
  cell->m_strText = CStringW(text.c_str());
  cell->m_nKind = kind;
  return cell;
}

bool IsChecked(HWND box)
{
  return box && ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace

CUnpaidTradeListDlg::CUnpaidTradeListDlg() = default;

CUnpaidTradeListDlg::~CUnpaidTradeListDlg()
{
  if (m_hBrush)
    ::DeleteObject(m_hBrush);
}

int CUnpaidTradeListDlg::GetTemplateId(int orientation)
{
  return orientation == -1 ? IDD_UNPAID_LAND : IDD_UNPAID;
}

int CUnpaidTradeListDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? IDB_UNPAID_BACKGROUND_LAND : IDB_UNPAID_BACKGROUND;
}

int CUnpaidTradeListDlg::GetLayoutStringId()
{
  return 132;
}

int CUnpaidTradeListDlg::GetSoftKey1Id()
{
  return IDC_UNPAID_PAY;
}

int CUnpaidTradeListDlg::GetSoftKey2Id()
{
  return IDC_UNPAID_SKIP;
}

LRESULT CUnpaidTradeListDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetSoftKeyTexts(u"付款", u"跳过", FALSE);
  if (!m_hBrush)
    m_hBrush = ::CreateSolidBrush(kDialogColour);
  m_block = ParseUnpaidTradeList(m_strTradeTable, m_nTotalCount);
  m_nHandledIndex = -1;
  bHandled = FALSE;  // on to the base, which binds the controls
  return 0;
}

BOOL CUnpaidTradeListDlg::BindControls(BOOL save, int)
{
  if (save || !m_hWnd)
    return FALSE;
  CKorvexPortalApp* app = GetKorvexPortalApp();
  AttachSkinLabel(IDC_UNPAID_ACCOUNT, m_accountLabel, kControlLabel, save, -1, -1, 0);
  CStringW account = u"您的账户：";
  account += app ? app->GetUserName() : CStringW();
  EllipsizeString(account, 30);
  SetDlgItemText(IDC_UNPAID_ACCOUNT, account);

  if (!m_link.m_hWnd) {
    m_link.SubclassWindow(GetDlgItem(IDC_UNPAID_MORE));
    m_link.AddItem(u"查看更多未付款交易", kLinkColour);
  }
  ::ShowWindow(m_link.m_hWnd, SW_HIDE);

  CStringW showNewOnly;
  bool checked = app && app->GetConfig(u"ShowOrderList", showNewOnly) && !showNewOnly.IsEmpty() && showNewOnly != u"0";
  ::SendMessageW(GetDlgItem(IDC_UNPAID_SHOW_NEW_ONLY), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);

  if (!m_list.m_hWnd) {
    m_list.Create(m_hWnd, RECT{0, 0, 10, 10}, nullptr, CKorvexListViewTraits::GetWndStyle(0) | WS_VISIBLE, 0,
                  IDC_UNPAID_LIST);
    m_list.SetModel(&m_rows);
    m_pPanel = std::make_unique<CScrollPanel>();
    m_pPanel->Attach(m_list.m_hWnd);
  }
  BuildRows();
  LayoutList();
  return TRUE;
}

void CUnpaidTradeListDlg::InitFocus()
{
  SetTitle(u"待付款交易", TRUE);
  if (m_rows.m_rows.empty())
    return;
  ::SetFocus(m_list.m_hWnd);
  m_list.SelectItem(0);
}

void CUnpaidTradeListDlg::BuildRows()
{
  m_rows.Clear();
  for (const TradeRecord& trade : m_block.records) {
    auto* row = new CListRow;
    row->AddCell(TextCell(trade.tradeNO));
    row->AddCell(TextCell(trade.tradeTime));
    row->AddCell(TextCell(trade.act));
    row->AddCell(TextCell(trade.goodsName));
    row->AddCell(TextCell(trade.tradeMoney));
    row->AddCell(TextCell(u"JWS", CListCell::kImage));
    row->m_strKey = CStringW(trade.tradeStatus.c_str());
    row->m_nFlag = 1;
    m_rows.AddRow(row);
  }
  if (!m_rows.m_rows.empty())
    m_rows.m_nSelected = 0;
  bool more = static_cast<int>(m_block.records.size()) < m_nTotalCount;
  ::ShowWindow(m_link.m_hWnd, more ? SW_SHOW : SW_HIDE);
}

void CUnpaidTradeListDlg::SetColumnWidths(int width)
{
  std::vector<int>& widths = m_rows.m_columnWidths;
  if (m_rows.m_rows.empty()) {
    widths = {0, Scaled(20), width - Scaled(20)};
    return;
  }
  int time = width * 32 / 100;
  int role = width * 8 / 100;
  int goods = width * 25 / 100;
  int amount = width * 25 / 100;
  widths = {0, time, role, goods, amount, std::max(0, width - time - role - goods - amount - Scaled(16))};
}

RECT CUnpaidTradeListDlg::BannerRect()
{
  RECT label{};
  ::GetWindowRect(GetDlgItem(IDC_UNPAID_ACCOUNT), &label);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&label), 2);
  return RECT{label.left, label.bottom + Scaled(kBannerTop), label.right, label.bottom + Scaled(kBannerBottom)};
}

void CUnpaidTradeListDlg::LayoutList()
{
  if (!m_list.m_hWnd)
    return;
  RECT client{};
  GetClientRect(&client);
  RECT banner = BannerRect();
  RECT below{};
  ::GetWindowRect(GetDlgItem(IDC_UNPAID_MORE), &below);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&below), 2);
  int top = banner.bottom + 2;
  int bottom = std::max(top, static_cast<int>(below.top) - 2);
  // The list keeps the banner's margins, as the screen's other lines do; it moves in dialog
  // coordinates and its scroll panel takes the same place.
  int left = banner.left;
  int right = banner.right > left ? banner.right : client.right;
  m_list.SetWindowPos(nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT inner{};
  m_list.GetClientRect(&inner);
  SetColumnWidths(inner.right > 0 ? inner.right : client.right);
  m_list.Rebuild();
}

LRESULT CUnpaidTradeListDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  LayoutList();
  bHandled = FALSE;
  return 0;
}

LRESULT CUnpaidTradeListDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT band = BannerRect();
  int x = band.left;
  if (HBITMAP icon = LoadResourceBitmap(IDB_UNPAID_BANNER)) {
    BITMAP info{};
    ::GetObjectW(icon, sizeof info, &info);
    int y = band.top + (band.bottom - band.top - info.bmHeight) / 2;
    TransparentImage(dc, x, y, info.bmWidth, info.bmHeight, icon, 0, 0, info.bmWidth, info.bmHeight, kDialogColour);
    x += info.bmWidth + Scaled(4);
    ::DeleteObject(icon);
  }
  CStringW count;
  count.Format(u"%d", m_nTotalCount);
  struct Run {
    CStringW text;
    COLORREF colour;
  } runs[] = {{u"您有 ", RGB(0, 0, 0)}, {count, kCountColour}, {u" 笔新的交易待付款！", RGB(0, 0, 0)}};
  HGDIOBJ oldFont = ::SelectObject(dc, GetFont());
  ::SetBkMode(dc, TRANSPARENT);
  for (const Run& run : runs) {
    RECT place{x, band.top, band.right, band.bottom};
    ::SetTextColor(dc, run.colour);
    ::DrawTextW(dc, run.text, run.text.GetLength(), &place, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, run.text, run.text.GetLength(), &size);
    x += size.cx;
  }
  ::SelectObject(dc, oldFont);
  HPEN pen = ::CreatePen(PS_SOLID, 1, kRuleColour);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  ::MoveToEx(dc, band.left, band.bottom, nullptr);
  ::LineTo(dc, band.right, band.bottom);
  ::SelectObject(dc, oldPen);
  ::DeleteObject(pen);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CUnpaidTradeListDlg::OnCtlColor(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_UNPAID_SHOW_NEW_ONLY) {
    bHandled = FALSE;
    return 0;
  }
  ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(m_hBrush);
}

LRESULT CUnpaidTradeListDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CUnpaidTradeListDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  // The choice for the next login: with the box checked it asks only for trades after this
  // login's server time.
  if (CKorvexPortalApp* app = GetKorvexPortalApp()) {
    if (IsChecked(GetDlgItem(IDC_UNPAID_SHOW_NEW_ONLY))) {
      app->SetConfig(u"ShowOrderList", u"1");
      app->SetConfig(u"loginServerTime", m_strServerTime);
    } else {
      app->SetConfig(u"ShowOrderList", u"0");
    }
    if (CIniFile* config = app->GetConfigFile())
      config->Save();
  }
  CloseTradePay();
  m_rows.Clear();
  m_block = TradeListBlock();
  if (m_pPanel)
    m_pPanel->Detach(FALSE);
  m_pPanel.reset();
  if (m_list.m_hWnd)
    m_list.DestroyWindow();
  if (m_link.m_hWnd)
    m_link.UnsubclassWindow();
  bHandled = FALSE;
  return 0;
}

LRESULT CUnpaidTradeListDlg::OnSkip(WORD, WORD, HWND, BOOL&)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowDesktopDlg(5);
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CUnpaidTradeListDlg::OnMore(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return 0;
  app->ShowDesktopDlg(5);
  // The desktop opens its trade query on the unpaid trades.
  if (HWND desktop = app->GetDesktopDlgWindow())
    ::PostMessageW(desktop, WM_COMMAND, ID_KV_DESKTOP_ITEM0 + 2, 4);
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CUnpaidTradeListDlg::OnCheckBox(WORD, WORD, HWND, BOOL&)
{
  if (IsChecked(GetDlgItem(IDC_UNPAID_SHOW_NEW_ONLY))) {
    if (CKorvexPortalApp* app = GetKorvexPortalApp())
      app->ShowMessageBox(m_hWnd, u"所有未付款交易可以在“交易查询”中查看！", CStringW(), 0x40, FALSE, SW_HIDE);
  }
  return 0;
}

bool CUnpaidTradeListDlg::LinkVisible()
{
  return m_link.m_hWnd && ::IsWindowVisible(m_link.m_hWnd);
}

bool CUnpaidTradeListDlg::MoveFocus(UINT key)
{
  HWND focus = ::GetFocus();
  HWND check = GetDlgItem(IDC_UNPAID_SHOW_NEW_ONLY);
  int rows = static_cast<int>(m_rows.m_rows.size());
  auto selectRow = [&](int index) {
    if (rows == 0)
      return false;
    ::SetFocus(m_list.m_hWnd);
    m_list.SelectItem(index);
    m_rows.m_nSelected = index;
    return true;
  };
  auto focusOn = [](HWND window) {
    ::SetFocus(window);
    return true;
  };
  bool down = key == VK_DOWN;
  if (focus == m_list.m_hWnd) {
    int selected = m_list.GetSelectedIndex();
    if (down && selected == rows - 1)
      return focusOn(LinkVisible() ? m_link.m_hWnd : check);
    if (!down && selected <= 0)
      return focusOn(check);
    return false;
  }
  if (focus == m_link.m_hWnd)
    return down ? focusOn(check) : selectRow(rows - 1) || focusOn(check);
  if (focus == check) {
    if (down)
      return selectRow(0) || (LinkVisible() && focusOn(m_link.m_hWnd));
    return LinkVisible() ? focusOn(m_link.m_hWnd) : selectRow(rows - 1);
  }
  return false;
}

BOOL CUnpaidTradeListDlg::PreTranslateMessage(MSG* pMsg)
{
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN) && IsWindow() &&
      ::GetForegroundWindow() == m_hWnd && MoveFocus(static_cast<UINT>(pMsg->wParam)))
    return TRUE;
  return CBaseDlg::PreTranslateMessage(pMsg);
}
