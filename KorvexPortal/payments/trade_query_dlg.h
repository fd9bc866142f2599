// The trade query list ("交易查询"), a page of the desktop: the user's trades of the last month,
// one page at a time, filtered by their status. A trade that waits for the user opens the trade
// pay dialog (pay it, or confirm the receipt of its goods) once its detail has been fetched;
// any other trade opens the trade detail.
#pragma once

#include <memory>
#include <mutex>

#include "base_dlg.h"
#include "list_results.h"
#include "list_rows.h"
#include "paged_list_view.h"
#include "scroll_form_ctrl.h"
#include "scroll_panel.h"
#include "service_listener.h"
#include "trade_detail_dlg.h"
#include "trade_pay_dlg.h"
#include "trade_pay_params.h"

class CServiceCommand;

// Posted to itself: the list reply, the filter changed (and WM_KV_TRADEDETAIL_READY: the detail
// of a trade to pay).
#define WM_KV_TRADELIST_READY 0x617
#define WM_KV_FILTER_CHANGED 0x61B

class CTradeQueryDlg : public CBaseDlg, public IServiceListener {
 public:
  // The status filter's entries, in the combo's order.
  enum { kFilterCount = 5, kFilterWaitPay = 4 };

  CTradeQueryDlg();
  ~CTradeQueryDlg() override;

  // The opener's preset, before the dialog shows: 4 lists the unpaid trades; others change
  // nothing.
  void GetStatusFilter(int index);
  // Queries the current page (after the dialog shows).
  void Refresh();

  // What the list holds (for the desktop and tests).
  int GetPage() const { return m_nPage; }
  int GetTotalCount() const { return m_nTotalCount; }
  int GetPageSize() const { return m_nPageSize; }
  const CStringW& GetStatusCode() const { return m_strStatusCode; }
  const CListRows& GetTradeRows() const { return m_tradeRows; }
  const CListRows& GetEmptyRows() const { return m_emptyRows; }
  CPagedListView& GetList() { return m_list; }
  HWND GetFilterCombo() const { return m_hCombo; }
  CTradePayDlg* GetTradePayDlg() const { return m_pTradePayDlg.get(); }
  CTradeDetailDlg* GetTradeDetailDlg() const { return m_pTradeDetailDlg.get(); }
  const TradePayParams& GetTradePayParams() const { return m_payParams; }

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

  // On the network worker: keeps the list (14) or detail (18) or their refusals (15, 19) and
  // ends the wait; every other code is ignored.
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

  BEGIN_MSG_MAP(CTradeQueryDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_KV_FILTER_CHANGED, OnFilterChanged)
    MESSAGE_HANDLER(WM_KV_TRADELIST_READY, OnTradeListReady)
    MESSAGE_HANDLER(WM_KV_TRADEDETAIL_READY, OnTradeDetailReady)
    MESSAGE_HANDLER(WM_KV_CONFIRMGOODS_RESULT, OnTradePayResult)
    MESSAGE_HANDLER(WM_KV_LIST_PREVPAGE, OnPrevPageMessage)
    MESSAGE_HANDLER(WM_KV_LIST_NEXTPAGE, OnNextPageMessage)
    MESSAGE_HANDLER(WM_KV_LIST_OPENITEM, OnOpenItemMessage)
    COMMAND_ID_HANDLER(kExitKeyId, OnExitKey)
    COMMAND_ID_HANDLER(ID_KV_GODESKTOP, OnGoDesktop)
    COMMAND_ID_HANDLER(ID_KV_FOCUSFILTER, OnFocusFilter)
    COMMAND_ID_HANDLER(ID_KV_PREVPAGE, OnPrevPage)
    COMMAND_ID_HANDLER(ID_KV_NEXTPAGE, OnNextPage)
    COMMAND_ID_HANDLER(ID_KV_OPENITEM, OnOpenItem)
    COMMAND_HANDLER(kComboId, CBN_CLOSEUP, OnFilterCloseUp)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  enum { kExitKeyId = 133, kComboId = 1002 };

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnKeyUp(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnFilterChanged(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTradeListReady(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTradeDetailReady(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTradePayResult(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnPrevPageMessage(UINT, WPARAM, LPARAM, BOOL&) { return PreviousPage(), 0; }
  LRESULT OnNextPageMessage(UINT, WPARAM, LPARAM, BOOL&) { return NextPage(), 0; }
  LRESULT OnOpenItemMessage(UINT, WPARAM, LPARAM, BOOL&) { return OpenSelectedRow(), 0; }
  LRESULT OnExitKey(WORD, WORD, HWND, BOOL&);
  LRESULT OnGoDesktop(WORD, WORD, HWND, BOOL&);
  LRESULT OnFocusFilter(WORD, WORD, HWND, BOOL&);
  LRESULT OnPrevPage(WORD, WORD, HWND, BOOL&) { return PreviousPage(), 0; }
  LRESULT OnNextPage(WORD, WORD, HWND, BOOL&) { return NextPage(), 0; }
  LRESULT OnOpenItem(WORD, WORD, HWND, BOOL&) { return OpenSelectedRow(), 0; }
  LRESULT OnFilterCloseUp(WORD, WORD, HWND, BOOL&);

  void Layout();
  void SetColumnWidths();
  void NextPage();
  void PreviousPage();
  // A notice with the text of the resource string, then the focus back on the list.
  void PageNotice(UINT stringId);
  void OpenSelectedRow();
  void OpenTradeDetail(const CListRow& row);
  void FetchTradeToPay(const CListRow& row);
  void CloseTradePay();
  void CloseTradeDetail();
  // Resets what the listener fills and arms the wait; registers as listener.
  void ArmRequest();
  // Shows the wait while the command runs (none without one), cancels it on the user's cancel,
  // unregisters; false when no command came back or the user cancelled.
  bool WaitForCommand(CServiceCommand* command, UINT waitTextId);
  // A box with the memo, or the network text when there is none.
  void ShowFailure(const CStringW& memo);
  void ShowPageCounter();

  CStringW m_strPeriodCode = u"1m";
  CStringW m_strStatusCode = u"all";
  int m_nPage = 1;
  int m_nTotalCount = 0;
  int m_nPageSize = 0;
  int m_nFilterIndex = 0;

  CListRows m_tradeRows;
  CListRows m_emptyRows;
  CPagedListView m_list;
  std::unique_ptr<CScrollPanel> m_pPanel;
  HWND m_hStatusLabel = nullptr;
  HWND m_hResultLabel = nullptr;
  HWND m_hCombo = nullptr;
  CScrollFormCtrl m_filterControl;  // the combo's skin
  HBRUSH m_hLabelBrush = nullptr;

  TradePayParams m_payParams;
  int m_nPayMode = kTradePayTrade;
  // The row the trade pay dialog was opened for: its index and trade number.
  int m_nPayRow = -1;
  CStringW m_strPayTradeNo;
  std::unique_ptr<CTradePayDlg> m_pTradePayDlg;
  std::unique_ptr<CTradeDetailDlg> m_pTradeDetailDlg;

  // What the listener keeps, guarded: it writes on the network worker.
  std::mutex m_lock;
  int m_nStatus = 0;
  CStringW m_strMemo;
  std::unique_ptr<UnpaidTradeListResult> m_pListResult;
  std::unique_ptr<CTradeDetailResult> m_pDetailResult;
};
