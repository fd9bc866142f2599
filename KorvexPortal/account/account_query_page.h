// The account query page ("账户查询") that the desktop opens for its account entry: under a row
// of tabs, the balance ("账户余额", asked for as the page opens) and the account statement
// ("账户明细查询", asked for the first time its tab is chosen). On the statement's tab the right
// soft key opens its menu (open, next and previous page, the range) and the centre of the
// soft-key bar shows the page counter; left and right switch the tabs.
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "account_tab_ctrl.h"
#include "base_dlg.h"
#include "dialog_ids.h"
#include "list_rows.h"
#include "service_listener.h"
#include "skin_soft_key.h"

struct BalanceResult;

// Posted to itself once the balance's wait ended.
#define WM_KV_BALANCE_READY 0x616

class CAccountQueryPage : public CBaseDlg, public IServiceListener {
 public:
  enum { kExitKeyId = 133, kMenuKeyId = 134, kTabsId = 1005 };
  enum { kBalanceTab = 0, kStatementTab = 1 };

  CAccountQueryPage();
  ~CAccountQueryPage() override;

  // Asks for the balance (after the page shows) and shows it.
  void QueryBalance();

  // What the page holds (for the desktop and tests).
  CAccountTabCtrl& GetTabs() { return m_tabs; }
  CAccountQueryDlg& GetStatement() { return m_tabs.GetQueryPage(); }
  CListRows& GetBalanceRows() { return m_balanceRows; }
  bool StatementQueried() const { return m_bStatementQueried; }
  // The centre key's text: the page counter, empty while the clock shows.
  const CStringW& GetCounterText() const { return m_strCounter; }
  // The soft-key menu the right key opens.
  HMENU GetSoftKeyMenu() const { return m_hMenu; }

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetMenuId() override;
  int GetCenterKeyId() override;
  BOOL BindControls(BOOL save, int controlId) override;
  void InitFocus() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // On the network worker: keeps the balance (12) or its refusal (13) and ends the wait; every
  // other code is ignored before anything is kept.
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

  BEGIN_MSG_MAP(CAccountQueryPage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_KV_SOFTKEY_POPUP, OnSoftKeyPopup)
    MESSAGE_HANDLER(WM_KV_BALANCE_READY, OnBalanceReady)
    MESSAGE_HANDLER(WM_KV_PAGECOUNTER_UPDATE, OnPageCounterUpdate)
    COMMAND_ID_HANDLER(kExitKeyId, OnExitKey)
    COMMAND_ID_HANDLER(ID_KV_GODESKTOP, OnGoDesktop)
    COMMAND_ID_HANDLER(ID_KV_NEXTPAGE, OnNextPage)
    COMMAND_ID_HANDLER(ID_KV_PREVPAGE, OnPrevPage)
    COMMAND_ID_HANDLER(ID_KV_OPENITEM, OnOpenItem)
    COMMAND_ID_HANDLER(ID_KV_FOCUSFILTER, OnFocusFilter)
    NOTIFY_HANDLER(kTabsId, TCN_SELCHANGE, OnTabChange)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnSoftKeyPopup(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnBalanceReady(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPageCounterUpdate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnExitKey(WORD, WORD, HWND, BOOL&);
  LRESULT OnGoDesktop(WORD, WORD, HWND, BOOL&);
  LRESULT OnNextPage(WORD, WORD, HWND, BOOL&);
  LRESULT OnPrevPage(WORD, WORD, HWND, BOOL&);
  LRESULT OnOpenItem(WORD, WORD, HWND, BOOL&);
  LRESULT OnFocusFilter(WORD, WORD, HWND, BOOL&);
  LRESULT OnTabChange(int, LPNMHDR, BOOL& bHandled);

  void Layout();
  // The right soft key for the current tab ("菜单" on the statement, blank and disabled
  // elsewhere) and the statement's first query once its tab is current.
  void FollowCurrentTab();
  void RebuildSoftKeyMenu();
  bool HasStatement();

  CAccountTabCtrl m_tabs;
  CListRows m_balanceRows;
  bool m_bStatementQueried = false;
  CStringW m_strCounter;
  // The page's own copy of its menu, and the texts of its commands read from it once.
  HMENU m_hOwnMenu = nullptr;
  std::map<UINT, CStringW> m_menuTexts;

  // What the listener keeps, guarded: it writes on the network worker.
  std::mutex m_lock;
  int m_nCode = 0;
  int m_nStatus = 0;
  CStringW m_strMemo;
  std::unique_ptr<BalanceResult> m_pBalance;
};
