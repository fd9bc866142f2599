// The account query page: tabs, layout, painting, keys, the soft-key menu and the page counter.
#include "account_query_page.h"

#include "account_columns.h"
#include "accountquery_ids.h"
#include "app_services.h"
#include "service_results.h"
#include "skin_image.h"
#include "statement_paging.h"
#include "tab_strip.h"
#include "window_helpers.h"

namespace {

constexpr int kMenuTextChars = 32;

// The statement's commands, in the order the menu shows them; the last two stay on every tab.
constexpr UINT kStatementCommands[] = {ID_KV_OPENITEM, ID_KV_NEXTPAGE, ID_KV_PREVPAGE, ID_KV_FOCUSFILTER};
constexpr UINT kPageCommands[] = {ID_KV_GODESKTOP, ID_KV_ABOUT};

// The first item of the menu that opens a submenu, and its position; null when none does.
HMENU FirstPopup(HMENU menu, int* position = nullptr)
{
  int count = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i)
    if (HMENU popup = GetSubMenu(menu, i)) {
      if (position)
        *position = i;
      return popup;
    }
  return nullptr;
}

}  // namespace

CAccountQueryPage::CAccountQueryPage() = default;

CAccountQueryPage::~CAccountQueryPage()
{
  if (IsWindow())
    DestroyWindow();
  m_balanceRows.Clear();
  if (m_hOwnMenu)
    ::DestroyMenu(m_hOwnMenu);
}

int CAccountQueryPage::GetTemplateId(int)
{
  return IDD_ACCOUNTQUERY;
}

int CAccountQueryPage::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? 0x419 : 0x418;
}

int CAccountQueryPage::GetLayoutStringId()
{
  return 132;
}

int CAccountQueryPage::GetSoftKey1Id()
{
  return kExitKeyId;
}

int CAccountQueryPage::GetSoftKey2Id()
{
  return kMenuKeyId;
}

int CAccountQueryPage::GetMenuId()
{
  return IDR_ACCOUNTQUERY_MENU;
}

int CAccountQueryPage::GetCenterKeyId()
{
  return 135;
}

LRESULT CAccountQueryPage::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetTitle(u"账户查询", FALSE);
  bHandled = FALSE;  // on to the base, which binds the controls
  return 0;
}

BOOL CAccountQueryPage::BindControls(BOOL save, int)
{
  if (save || !m_hWnd || m_tabs.IsWindow())
    return FALSE;
  m_tabs.Create(m_hWnd, RECT{0, 0, 10, 10}, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
                static_cast<UINT_PTR>(kTabsId));
  if (!m_hOwnMenu)
    m_hOwnMenu = ::LoadMenuW(::AtlGetResourceInstance(), MAKEINTRESOURCEW(IDR_ACCOUNTQUERY_MENU));
  m_tabs.AddBalancePage(&m_balanceRows);
  m_tabs.AddTransQueryPage();
  Layout();
  return TRUE;
}

void CAccountQueryPage::InitFocus()
{
  SetSoftKeyTexts(nullptr, u"", TRUE);
  if (m_softKey2.IsWindow())
    m_softKey2.EnableWindow(FALSE);
}

LRESULT CAccountQueryPage::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_pBalance.reset();
  }
  if (m_tabs.IsWindow())
    m_tabs.DestroyWindow();
  if (m_hOwnMenu)
    ::DestroyMenu(m_hOwnMenu);
  m_hOwnMenu = nullptr;
  bHandled = FALSE;
  return 0;
}

LRESULT CAccountQueryPage::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  if (TakeNewSize(lParam))
    Layout();
  bHandled = FALSE;
  return 0;
}

void CAccountQueryPage::Layout()
{
  if (!m_tabs.IsWindow())
    return;
  int s = GetWidthScale();
  PlaceTabControl(m_tabs.m_hWnd, WorkingRect(), s);
  CKorvexListView& list = m_tabs.GetList(CAccountTabCtrl::kBalancePage);
  if (!list.IsWindow())
    return;
  RECT inner{};
  list.GetClientRect(&inner);
  m_balanceRows.m_columnWidths = BalanceColumnWidths(s, inner.right - inner.left);
  list.Rebuild();
}

LRESULT CAccountQueryPage::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  PaintTabPageBackground(m_tabs.m_hWnd, dc, WorkingRect(), 5);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CAccountQueryPage::OnClose(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  if (m_tabs.IsWindow()) {
    m_tabs.SetCurSel(kBalanceTab);
    m_tabs.DeleteAllPages();
  }
  CloseDialog(2, wParam == 0);
  return 0;
}

LRESULT CAccountQueryPage::OnExitKey(WORD, WORD, HWND, BOOL&)
{
  if (m_tabs.IsWindow())
    m_tabs.SetCurSel(kBalanceTab);
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CAccountQueryPage::OnGoDesktop(WORD, WORD, HWND, BOOL&)
{
  if (m_tabs.IsWindow())
    m_tabs.SetCurSel(kBalanceTab);
  PostMessage(WM_CLOSE, 0);
  return 0;
}

bool CAccountQueryPage::HasStatement()
{
  return m_tabs.IsWindow() && GetStatement().IsWindow();
}

LRESULT CAccountQueryPage::OnNextPage(WORD, WORD, HWND, BOOL&)
{
  if (HasStatement())
    GetStatement().NextPage();
  return 0;
}

LRESULT CAccountQueryPage::OnPrevPage(WORD, WORD, HWND, BOOL&)
{
  if (HasStatement())
    GetStatement().PrevPage();
  return 0;
}

LRESULT CAccountQueryPage::OnOpenItem(WORD, WORD, HWND, BOOL&)
{
  if (HasStatement())
    GetStatement().PostMessage(WM_KV_LIST_OPENITEM);
  return 0;
}

LRESULT CAccountQueryPage::OnFocusFilter(WORD, WORD, HWND, BOOL&)
{
  if (HasStatement())
    GetStatement().FocusRange();
  return 0;
}

LRESULT CAccountQueryPage::OnTabChange(int, LPNMHDR, BOOL&)
{
  // The control shows the chosen page first, so the statement's query runs over its own page.
  m_tabs.SetCurSel(m_tabs.TabCtrlGetCurSel());
  FollowCurrentTab();
  PostMessage(WM_KV_PAGECOUNTER_UPDATE);
  return 0;
}

void CAccountQueryPage::FollowCurrentTab()
{
  if (!m_tabs.IsWindow())
    return;
  bool statement = m_tabs.GetCurSel() == kStatementTab;
  SetSoftKeyTexts(nullptr, statement ? u"菜单" : u"", TRUE);
  if (m_softKey2.IsWindow())
    m_softKey2.EnableWindow(statement);
  if (statement && !m_bStatementQueried && HasStatement()) {
    m_bStatementQueried = true;
    GetStatement().RequestPage();
  }
}

BOOL CAccountQueryPage::PreTranslateMessage(MSG* pMsg)
{
  if (!IsWindow() || !m_tabs.IsWindow())
    return CBaseDlg::PreTranslateMessage(pMsg);
  if (pMsg->message == WM_KEYUP && pMsg->wParam == VK_F2 && m_tabs.GetCurSel() == kBalanceTab &&
      (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
    return TRUE;
  if (pMsg->message != WM_KEYDOWN || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
    return CBaseDlg::PreTranslateMessage(pMsg);
  WPARAM key = pMsg->wParam;
  int current = m_tabs.GetCurSel();
  int count = m_tabs.GetPageCount();
  HWND focus = ::GetFocus();
  CAccountQueryDlg& statement = GetStatement();
  bool listFocused = statement.IsWindow() && focus == statement.GetList().m_hWnd;
  BOOL consumed = FALSE;
  if (current == kStatementTab && (key == VK_RETURN || key == VK_UP || key == VK_DOWN)) {
    // Straight to the focused control, without the dialog's navigation.
    ::DispatchMessageW(pMsg);
    consumed = TRUE;
  } else if ((key == VK_LEFT || key == VK_RIGHT) && listFocused) {
    // The list turns them into its page messages.
    ::DispatchMessageW(pMsg);
    consumed = TRUE;
  } else if (key == VK_LEFT) {
    if (current > 0) {
      m_tabs.SetCurSel(current - 1);
      PostMessage(WM_KV_PAGECOUNTER_UPDATE);
    } else if (count >= 2) {
      m_tabs.SetCurSel(count - 1);
    }
    consumed = TRUE;
  } else if (key == VK_RIGHT) {
    bool dropped = statement.IsWindow() && ::SendMessageW(statement.GetRangeCombo(), CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (count > 0) {
      m_tabs.SetCurSel((current + 1) % count);
      PostMessage(WM_KV_PAGECOUNTER_UPDATE);
    }
    consumed = dropped;
  }
  FollowCurrentTab();
  if (consumed)
    return TRUE;
  return CBaseDlg::PreTranslateMessage(pMsg);
}

LRESULT CAccountQueryPage::OnPageCounterUpdate(UINT, WPARAM, LPARAM, BOOL&)
{
  CStringW counter;
  if (HasStatement() && m_tabs.GetCurSel() == kStatementTab) {
    CAccountQueryDlg& statement = GetStatement();
    if (statement.GetPageSize() != 0 && !statement.GetTransRows().m_rows.empty())
      counter.Format(u"%d/%d", statement.GetPage(), StatementPageCount(statement.GetTotalCount(), statement.GetPageSize()));
  }
  m_strCounter = counter;
  if (m_centerKey.IsWindow())
    m_centerKey.SetTitle(counter);
  return 0;
}

LRESULT CAccountQueryPage::OnSoftKeyPopup(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  if (!m_tabs.IsWindow() || m_tabs.GetCurSel() != kStatementTab)
    return 0;
  RebuildSoftKeyMenu();
  return 0;
}

void CAccountQueryPage::RebuildSoftKeyMenu()
{
  if (m_menuTexts.empty()) {
    if (HMENU own = FirstPopup(m_hOwnMenu)) {
      for (UINT command : {ID_KV_OPENITEM, ID_KV_NEXTPAGE, ID_KV_PREVPAGE, ID_KV_FOCUSFILTER, ID_KV_GODESKTOP,
                           ID_KV_ABOUT, ID_KV_EXIT}) {
        WCHAR text[kMenuTextChars + 1] = {};
        if (::GetMenuStringW(own, command, text, kMenuTextChars, MF_BYCOMMAND) > 0 && text[0])
          m_menuTexts[command] = text;
      }
    }
  }
  int position = 0;
  HMENU popup = FirstPopup(m_hMenu, &position);
  if (!popup)
    return;
  for (UINT command : kStatementCommands)
    ::DeleteMenu(popup, command, MF_BYCOMMAND);
  for (UINT command : kPageCommands)
    ::DeleteMenu(popup, command, MF_BYCOMMAND);
  bool statement = m_tabs.GetCurSel() == kStatementTab;
  auto append = [&](UINT command) {
    auto found = m_menuTexts.find(command);
    if (found != m_menuTexts.end())
      ::AppendMenuW(popup, MF_STRING, command, found->second);
  };
  if (statement)
    for (UINT command : kStatementCommands)
      append(command);
  for (UINT command : kPageCommands)
    append(command);
  // The key's popup takes the items anew, drawn as its own.
  if (m_softKey2.IsWindow())
    m_softKey2.SetMenu(m_hMenu, position);
}
