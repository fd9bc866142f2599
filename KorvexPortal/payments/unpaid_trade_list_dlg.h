// The list shown after login when the login reply lists trades waiting for the user's payment:
// a banner with their number, the trades, a link to the full trade query when more wait on the
// server, and a check box that makes the next login ask only for trades newer than this one.
// A row is paid through the trade pay dialog, after its detail has been fetched.
#pragma once

#include <memory>
#include <mutex>

#include "base_dlg.h"
#include "list_rows.h"
#include "owner_draw_ctrl_a.h"
#include "paged_list_view.h"
#include "scroll_panel.h"
#include "service_listener.h"
#include "skin_label.h"
#include "trade_list.h"
#include "trade_pay_dlg.h"
#include "trade_pay_params.h"

struct CTradeDetailResult;

// Posted to itself to open the trade pay dialog once the wait box has gone and handed the
// activation back, so the trade pay dialog is shown above the list.
#define WM_KV_OPEN_TRADEPAY 0x641

class CUnpaidTradeListDlg : public CBaseDlg, public IServiceListener {
 public:
  CUnpaidTradeListDlg();
  ~CUnpaidTradeListDlg() override;

  // The login reply's trade table ("extraData") and server time ("loginServerTime"); read
  // each time the dialog's window is made.
  void SetTradeListText(const CStringW& text) { m_strTradeTable = text; }
  void SetReplyValue(const CStringW& serverTime) { m_strServerTime = serverTime; }

  // What the list shows (for the screen's owner and tests).
  const TradeListBlock& GetTrades() const { return m_block; }
  int GetTotalCount() const { return m_nTotalCount; }
  CTradePayDlg* GetTradePayDlg() const { return m_pTradePayDlg.get(); }

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  BOOL BindControls(BOOL save, int controlId) override;
  void InitFocus() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // On the network worker: keeps the trade detail ("queryTradeDetail", 18) or the refusal (19)
  // and ends the wait; every other code is ignored.
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

  BEGIN_MSG_MAP(CUnpaidTradeListDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColor)
    MESSAGE_HANDLER(WM_CTLCOLORBTN, OnCtlColor)
    MESSAGE_HANDLER(WM_KV_LIST_OPENITEM, OnOpenItem)
    MESSAGE_HANDLER(WM_KV_OPEN_TRADEPAY, OnOpenTradePay)
    MESSAGE_HANDLER(WM_KV_CONFIRMGOODS_RESULT, OnTradePayResult)
    COMMAND_ID_HANDLER(1021, OnPayCommand)
    COMMAND_ID_HANDLER(1020, OnSkip)
    COMMAND_ID_HANDLER(1173, OnCheckBox)
    COMMAND_ID_HANDLER(1174, OnMore)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCtlColor(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnOpenItem(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnOpenTradePay(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTradePayResult(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnPayCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnSkip(WORD, WORD, HWND, BOOL&);
  LRESULT OnCheckBox(WORD, WORD, HWND, BOOL&);
  LRESULT OnMore(WORD, WORD, HWND, BOOL&);

  // The rows from the trades, the link when more wait than are listed, the columns.
  void BuildRows();
  void LayoutList();
  void SetColumnWidths(int width);
  // The banner's band below the account label.
  RECT BannerRect();
  // Fetches the row's detail and opens the trade pay dialog on it.
  void PayRow(int index);
  void OpenTradePay(const CTradeDetailResult& detail, const CStringW& memo);
  void CloseTradePay();
  // Moves the focus for Up and Down between the list, the link and the check box; false when
  // the key is the list's own.
  bool MoveFocus(UINT key);
  bool LinkVisible();

  CStringW m_strTradeTable;
  CStringW m_strServerTime;
  TradeListBlock m_block;
  int m_nTotalCount = 0;
  int m_nHandledIndex = -1;
  TradePayParams m_params;
  std::unique_ptr<CTradePayDlg> m_pTradePayDlg;
  // What the listener keeps, guarded: it writes on the network worker.
  std::mutex m_lock;
  int m_nStatus = 0;
  CStringW m_strMemo;
  std::unique_ptr<CTradeDetailResult> m_pDetail;
  // The detail and memo that the trade pay dialog is about to open on (user-interface thread).
  std::unique_ptr<CTradeDetailResult> m_pOpening;
  CStringW m_strOpeningMemo;

  CPagedListView m_list;
  std::unique_ptr<CScrollPanel> m_pPanel;
  CListRows m_rows;
  COwnerDrawCtrlA m_link;
  CSkinLabel m_accountLabel;
  HBRUSH m_hBrush = nullptr;
};
