// The cashier screen of the order-pay mode. The program started with "/ORDERPAY:<order>" shows it
// modally, its creation parameter the order text (a const WCHAR*, null for none):
//
//   COrderPayDlg dialog;
//   int result = dialog.ShowDialog(nullptr, reinterpret_cast<LPARAM>(order.GetString()), TRUE, TRUE);
//
// It has the gateway verify the order ("preOrderPay"), shows its summary, takes the payment
// password, sends "orderPay" and hands the outcome back to the gateway service that started the
// program (handoff/order_pay_handoff.h): status 0 with the trade data when paid, status 4 when the
// payment failed or the user left without paying. Exactly one outcome is handed back per run,
// always before the dialog ends; the dialog ends with that status (0 or 4).
#pragma once

#include <memory>
#include <mutex>

#include "base_dlg.h"
#include "korvex_list_view.h"
#include "list_rows.h"
#include "order_pay_summary.h"
#include "scroll_panel.h"
#include "service_command.h"
#include "service_listener.h"
#include "skin_edit.h"
#include "skin_label.h"

// Private messages: rebuild the trade list; the "orderPay" reply (wParam the HttpResult, lParam
// the HttpReplySlot).
#define WM_KV_ORDERPAY_FILLLIST 0x60C
#define WM_KV_ORDERPAY_REPLY 0x60D

#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 0xE140
#endif

struct PreOrderPayResult;

class COrderPayDlg : public CBaseDlg {
 public:
  COrderPayDlg();
  ~COrderPayDlg() override;

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  BOOL BindControls(BOOL save, int controlId) override;
  void InitFocus() override;

  BEGIN_MSG_MAP(COrderPayDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_KV_ENDDIALOG, OnEndDialog)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_KV_ORDERPAY_FILLLIST, OnFillList)
    MESSAGE_HANDLER(WM_KV_ORDERPAY_REPLY, OnOrderPayReply)
    COMMAND_ID_HANDLER(kSubmitKey, OnSubmit)
    COMMAND_ID_HANDLER(kLeaveKey, OnLeaveKey)
    COMMAND_ID_HANDLER(ID_APP_ABOUT, OnAbout)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

  // Dialog items.
  enum : int {
    kSubmitKey = 133,
    kLeaveKey = 134,
    kPasswordEdit = 1011,
  };

 private:
  // Stores what the "preOrderPay" result brings, on the network worker, and ends the wait.
  class VerifyListener : public IServiceListener {
   public:
    int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

    // Forgets an earlier answer and takes the next one.
    void Arm();
    // The answer, once the wait ended (status 0 and no record when none came).
    struct Answer {
      int status = 0;
      HRESULT hr = 0;
      std::unique_ptr<PreOrderPayResult> record;
      CStringW memo;
    };
    Answer Take();

   private:
    std::mutex lock_;
    bool armed_ = false;
    Answer answer_;
  };

  LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnEndDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnFillList(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnOrderPayReply(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnSubmit(WORD, WORD, HWND, BOOL&);
  LRESULT OnLeaveKey(WORD, WORD, HWND, BOOL&);
  LRESULT OnAbout(WORD, WORD, HWND, BOOL&);

  // The caption and the list under the summary.
  void CreateTradeList();
  void LayoutTradeList(int width, int height);
  void FillTradeRows();
  // Has the gateway verify the order and shows its summary when it is valid.
  void VerifyOrder(const WCHAR* order);
  void TakeVerifiedOrder(const OrderDetail& detail);
  // Sends "orderPay"; -1 (nothing sent) without a trade number or cipher.
  int SendOrderPay(const CStringW& tradeNo, const CStringW& cipher);
  // Hands the outcome back once; later calls do nothing.
  void HandOff(DWORD status, const CStringW& payload);
  // Hands back "failed" unless an outcome went already.
  void HandOffLeaving();
  // Writes the outcome, hides the shared box and ends the dialog with the status.
  void Finish(DWORD status, const CStringW& payload);
  int ShowBox(const CStringW& text, UINT type, int afterShow = SW_HIDE);

  VerifyListener m_listener;
  // The verified order (empty until "preOrderPay" said it is valid) and its key.
  int m_orderValidate = 0;
  CStringW m_rsaPK;
  CStringW m_rsaTS;
  OrderDetail m_order;
  CStringW m_strEncryptedPassword;
  OrderSummary m_summary;

  CSkinEdit m_passwordEdit;
  CSkinLabel m_labels[kSummaryLines];
  CWindow m_caption;
  HBRUSH m_hCaptionBrush = nullptr;
  CKorvexListView m_list;
  CScrollPanel m_listPanel;
  // The caption's and the list's windows as the dialog base records them, so that paging moves
  // them with the form.
  HWND m_hCaptionSlot = nullptr;
  HWND m_hListSlot = nullptr;
  CListRows m_rows;
  SIZE m_lastSize{0, 0};

  bool m_bHandedOff = false;
  DWORD m_handedStatus = 4;
};
