// The account statement page ("账户明细查询"): a child window of the account tab control that
// lists the account's transactions of a chosen time range one page at a time ("queryTransList")
// and opens a transaction's details. The account query page that holds the tab control forwards
// its soft-key menu's paging and open commands here and draws the page counter.
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "atl/atl.h"
#include "list_rows.h"
#include "paged_list_view.h"
#include "scroll_form_ctrl.h"
#include "scroll_panel.h"
#include "service_listener.h"
#include "text/cstring.h"
#include "windows.h"

class CServiceCommand;
class CTransDetailDlg;
struct CTransListResult;

// Posted to the account query page: draw the page counter again (wParam and lParam 0).
#define WM_KV_PAGECOUNTER_UPDATE 0x61A
// Posted to itself: the list reply came; the range changed.
#define WM_KV_TRANSLIST_READY 0x618
#define WM_KV_FILTER_CHANGED 0x61B

typedef CWinTraits<WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0> CAccountQueryDlgTraits;

class CAccountQueryDlg : public CWindowImpl<CAccountQueryDlg, CWindow, CAccountQueryDlgTraits>,
                         public CMessageFilter,
                         public CIdleHandler,
                         public IServiceListener {
 public:
  DECLARE_WND_CLASS(u"KvAccountQuery")

  // The range combo's entries: text and the code sent as "timeRange".
  enum { kRangeCount = 4 };
  static const WCHAR* const kRangeTexts[kRangeCount];
  static const WCHAR* const kRangeCodes[kRangeCount];
  // Child ids.
  enum { kRangeLabelId = 1001, kRangeComboId = 1002, kResultLabelId = 1003, kListId = 1004 };
  // Texts of the resource library: the wait, no row selected, already the last page; the empty
  // result's image.
  enum { kWaitTextId = 142, kNoRowTextId = 147, kLastPageTextId = 148, kEmptyImageId = 232 };

  CAccountQueryDlg();
  ~CAccountQueryDlg() override;
  CAccountQueryDlg(const CAccountQueryDlg&) = delete;
  CAccountQueryDlg& operator=(const CAccountQueryDlg&) = delete;

  BEGIN_MSG_MAP(CAccountQueryDlg)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_KV_TRANSLIST_READY, OnTransListReady)
    MESSAGE_HANDLER(WM_KV_FILTER_CHANGED, OnFilterChanged)
    MESSAGE_HANDLER(WM_KV_LIST_NEXTPAGE, OnNextPageMessage)
    MESSAGE_HANDLER(WM_KV_LIST_PREVPAGE, OnPrevPageMessage)
    MESSAGE_HANDLER(WM_KV_LIST_OPENITEM, OnOpenItemMessage)
    COMMAND_HANDLER(kRangeComboId, CBN_CLOSEUP, OnRangeCloseUp)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

  // Queries the current page of the current range (the first time when its tab is first chosen).
  void RequestPage();
  // The next or previous page; past either end a notice and the page stays.
  void NextPage();
  void PrevPage();
  // Focuses the range combo (the page's "filter" command).
  void FocusRange();

  // The account query page that holds the tab control; null when there is none.
  HWND GetAccountPage() const;

  // The keyboard filter while the page exists (on the UI thread's loop).
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnIdle() override { return FALSE; }
  // On the network worker: keeps the list (16) or its refusal (17) and ends the wait; every other
  // code is ignored before anything is kept.
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

  // What the page holds (for the account query page and tests).
  int GetPage() const { return m_nPage; }
  int GetTotalCount() const { return m_nTotalCount; }
  int GetPageSize() const { return m_nPageSize; }
  const CStringW& GetPeriodCode() const { return m_strPeriodCode; }
  CListRows& GetTransRows() { return m_transRows; }
  CListRows& GetEmptyRows() { return m_emptyRows; }
  CListRows& GetDetailRows() { return m_detailRows; }
  CPagedListView& GetList() { return m_list; }
  HWND GetRangeCombo() const { return m_hCombo; }
  CTransDetailDlg* GetDetailDlg() const { return m_pDetailDlg.get(); }
  size_t GetKnownTransactionCount() const { return m_transactions.size(); }

 private:
  using TransFields = std::map<CStringW, CStringW>;

  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnKeyUp(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnTransListReady(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnFilterChanged(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNextPageMessage(UINT, WPARAM, LPARAM, BOOL&) { return NextPage(), 0; }
  LRESULT OnPrevPageMessage(UINT, WPARAM, LPARAM, BOOL&) { return PrevPage(), 0; }
  LRESULT OnOpenItemMessage(UINT, WPARAM, LPARAM, BOOL&) { return OpenSelectedRow(), 0; }
  LRESULT OnRangeCloseUp(WORD, WORD, HWND, BOOL& bHandled);

  void Layout(int width);
  void SetColumnWidths(int width);
  void FocusChild(HWND child);
  void PostPageCounter();
  void OpenSelectedRow();
  void CloseDetailDlg();
  // A notice of the text (type 0x40).
  void ShowNotice(const CStringW& text);
  void ResetListener();

  CStringW m_strPeriodCode = u"1d";
  int m_nPage = 1;
  int m_nTotalCount = 0;
  int m_nPageSize = 0;
  int m_nRangeIndex = 0;
  int m_nLastWidth = 0;
  int m_nLastHeight = 0;

  CListRows m_transRows;
  CListRows m_emptyRows;
  CListRows m_detailRows;
  std::map<CStringW, TransFields> m_transactions;

  HWND m_hRangeLabel = nullptr;
  HWND m_hCombo = nullptr;
  CScrollFormCtrl m_rangeControl;  // the combo's skin
  HWND m_hResultLabel = nullptr;
  CPagedListView m_list;
  CScrollPanel m_panel;
  HWND m_hFocus = nullptr;
  HBRUSH m_hLabelBrush = nullptr;
  CMessageLoop* m_pFilterLoop = nullptr;
  std::unique_ptr<CTransDetailDlg> m_pDetailDlg;

  // What the listener keeps, guarded: it writes on the network worker.
  std::mutex m_lock;
  int m_nStatus = 0;
  CStringW m_strMemo;
  std::unique_ptr<CTransListResult> m_pResult;
};
