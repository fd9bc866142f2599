// The trade detail ("交易信息") that the trade query list opens for a trade that needs nothing
// from the user: the trade's status in a caption strip, and under it the tab "交易详情" with its
// label and value rows and, for a paid trade with logistics, the tab "物流信息". Left and right
// switch the tabs, up and down scroll the current one.
#pragma once

#include <memory>
#include <mutex>

#include "account_tab_ctrl.h"
#include "caption_strip.h"
#include "list_results.h"
#include "list_rows.h"
#include "service_listener.h"
#include "tab_detail_dlg.h"

// Posted to itself once the detail's wait ended (the trade query list uses it the same way).
#define WM_KV_TRADEDETAIL_READY 0x618

class CTradeDetailDlg : public CTabDetailDlg, public IServiceListener {
 public:
  CTradeDetailDlg();
  ~CTradeDetailDlg() override;

  // Set by the opener before the dialog shows.
  void SetTradeNo(const CStringW& tradeNo) { m_strTradeNo = tradeNo; }
  void SetStatusText(const CStringW& text) { m_strStatusText = text; }

  // Asks for the trade's detail (after the dialog shows); the reply fills the rows.
  void QueryTradeDetail();

  // What the dialog shows (for tests).
  CAccountTabCtrl& GetTabs() { return m_tabs; }
  const CListRows& GetDetailRows() const { return m_detailRows; }
  const CListRows& GetLogisticsRows() const { return m_logisticsRows; }
  const CCaptionStrip& GetCaptionStrip() const { return m_caption; }

  BOOL BindControls(BOOL save, int controlId) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // On the network worker: keeps the detail (18) or its refusal (19) and ends the wait; every
  // other code is ignored.
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

  BEGIN_MSG_MAP(CTradeDetailDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_KV_TRADEDETAIL_READY, OnDetailReady)
    COMMAND_ID_HANDLER(ID_KV_GODESKTOP, OnGoDesktop)
    CHAIN_MSG_MAP(CTabDetailDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnDetailReady(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnGoDesktop(WORD, WORD, HWND, BOOL&);

  void Layout();
  void LayOutColumns(CAccountTabCtrl::ListPage page, CListRows& rows);
  // Left and right switch the tabs, up and down scroll the current one; true when consumed.
  bool HandleKey(WPARAM key);

  CCaptionStrip m_caption;
  CAccountTabCtrl m_tabs;
  CListRows m_detailRows;
  CListRows m_logisticsRows;
  CStringW m_strTradeNo;
  CStringW m_strStatusText;
  // The trade query list the dialog is shown over: it closes too when the user goes to the
  // desktop or the session ended.
  HWND m_hQueryList = nullptr;

  // What the listener keeps, guarded: it writes on the network worker.
  std::mutex m_lock;
  int m_nCode = 0;
  int m_nStatus = 0;
  CStringW m_strMemo;
  std::unique_ptr<CTradeDetailResult> m_pDetail;
};
