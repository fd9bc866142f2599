// The tab control of the account screens. It paints its own strip (a grey band with a line
// under it, flat grey tabs, the current one built from three images) and holds the contents of
// its pages: four owner-drawn lists, each but the balance list inside a scroll panel, and the
// account statement page. The screens add the pages they need with their captions.
//
// Key-ups that reach the control end there: the dialogs act on key-ups in their message filters,
// which already hand the soft keys' releases to the dialog itself, so passing them on would act
// on one key twice.
#pragma once

#include "account_query_dlg.h"
#include "korvex_list_view.h"
#include "korvex_tab_ctrl.h"
#include "scroll_panel.h"
#include "tab_strip.h"

class CAccountTabCtrl : public CKorvexTabCtrl {
 public:
  // The list pages; each list is made the first time it is added.
  enum ListPage { kBalancePage, kAccountDetailPage, kTradeDetailPage, kLogisticsPage, kListPageCount };
  // The list pages' control ids: kFirstListId + the page.
  enum { kFirstListId = 0x100 };
  // The background image in the resource library.
  enum { kBackgroundId = 229 };

  // Loads the tab images and the background from the current resource library.
  CAccountTabCtrl();
  // Destroys the window if it is still there.
  ~CAccountTabCtrl() override;

  BEGIN_MSG_MAP(CAccountTabCtrl)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroyPages)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
    CHAIN_MSG_MAP(CKorvexTabCtrl)
  END_MSG_MAP()

  // Appends a tab with the caption for the list page and shows the model in it; the list is
  // made on first use, inside its scroll panel unless it is the balance list. A list that is
  // already one of the pages keeps its tab. Returns the tab's index, -1 when there is no list.
  int AddListPage(ListPage page, LPCWSTR caption, CListRows* model);

  // The trade detail's pages (account_tab_trade_pages.cpp): "交易详情" and "物流信息".
  int AddTradeDetailPage(CListRows* model);
  int AddLogisticsPage(CListRows* model);

  CKorvexListView& GetList(ListPage page) { return m_lists[page]; }
  CAccountQueryDlg& GetQueryPage() { return m_queryPage; }

  // The account screens' pages (account_tab_account_pages.cpp): "账户余额", "账户明细查询" (the
  // statement page, made as a hidden child on first use) and "账户详情".
  int AddBalancePage(CListRows* model);
  int AddTransQueryPage();
  int AddAccountDetailPage(CListRows* model);

 private:
  LRESULT OnDestroyPages(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnKeyUp(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

  CKorvexListView m_lists[kListPageCount];
  CScrollPanel m_panels[kListPageCount];
  CAccountQueryDlg m_queryPage;

 protected:
  CSelectedTabImages m_tabImages;
  HBITMAP m_hBackground = nullptr;  // freed with the window, or with the object when it has none
};
