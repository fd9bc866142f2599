// The screen on which the user confirms a payment with the payment password: a summary of what
// is paid (from the opener's TradePayParams), the red packet where the gateway granted one, the
// password under the secure-input guard. By the record's kind it sends "tradePay",
// "confirmGoods", "deposit4Mobile" or "pucPay", shows the outcome and reports it to its parent
// window; the parent decides when it closes (it stays open after a wrong password).
#pragma once

#include <mutex>

#include "base_dlg.h"
#include "hint_edit.h"
#include "service_listener.h"
#include "skin_label.h"
#include "trade_pay_params.h"

class CServiceCommand;

// Handles a finished request on the user-interface thread (posted by the dialog to itself).
#define WM_KV_SERVICE_DONE 0x610
// To the parent when the result-message choice is 0: wParam 1 on success, else 0; lParam the
// reply's status. Not posted for status 111.
#define WM_KV_TRADEPAY_RESULT 0x611
// To the parent when the result-message choice is 1: wParam 1 on success, else 0; lParam the
// record's kind on success, else -1.
#define WM_KV_CONFIRMGOODS_RESULT 0x63F

class CTradePayDlg : public CBaseDlg, public IServiceListener {
 public:
  CTradePayDlg();
  ~CTradePayDlg() override;

  // 1: the result goes to the parent as WM_KV_CONFIRMGOODS_RESULT; 0 (the default):
  // as WM_KV_TRADEPAY_RESULT.
  void SetResultMessageChoice(int choice) { m_nResultMessage = choice; }

  // The look.
  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;

  BOOL BindControls(BOOL save, int controlId) override;
  void InitFocus() override;
  // Up and Down move between the password and the red-packet check box, as Tab does.
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // On the network worker: keeps the status and memo of this dialog's own operation and ends
  // the wait; every other code is ignored (the activation's 10 and 11 are the application's).
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

  BEGIN_MSG_MAP(CTradePayDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColor)
    MESSAGE_HANDLER(WM_CTLCOLORBTN, OnCtlColor)
    MESSAGE_HANDLER(WM_KV_SERVICE_DONE, OnServiceDone)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(1021, OnPay)
    COMMAND_ID_HANDLER(1020, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnCtlColor(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnServiceDone(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnPay(WORD, WORD, HWND, BOOL&);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);

  // The summary lines from the record.
  void BuildSummary();
  // In landscape the summary is a narrow column beside the password: lines too long for it wrap.
  void FitSummaryColumn();
  // The red-packet note and check box; checked when initial.
  void ShowCoupon(bool initial);
  // Asks the instant-transfer question where it applies; false when the user did not confirm.
  bool ConfirmInstantTransfer();
  // Starts the request of the record's kind; null when none was started.
  CServiceCommand* StartRequest(const CStringW& password);
  // The wait text of the record's kind.
  CStringW WaitText() const;
  // The notification codes of the record's kind: success (and a second success form), failure.
  bool IsOwnSuccess(int code) const;
  bool IsOwnFailure(int code) const;
  void PostResult(bool success, int status);

  TradePayParams* m_pParams = nullptr;
  CHintEdit m_passwordEdit;
  // Items 1111, 1043, 1038, 1034, 1039, 1040, 1041 and their texts; the signature (1025).
  CSkinLabel m_lineLabels[7];
  CStringW m_lineTexts[7];
  CSkinLabel m_signatureLabel;
  HBRUSH m_hBrush = nullptr;
  HWND m_hCouponNote = nullptr;
  HWND m_hCouponCheck = nullptr;
  // The red-packet line has had its first layout, with the box checked.
  bool m_bCouponOffered = false;
  CStringW m_strUseCoupon;
  CStringW m_strCouponAmount;
  int m_nResultMessage = 0;
  // What the listener keeps, guarded: it writes on the network worker.
  std::mutex m_lock;
  CStringW m_strMemo;
  int m_nStatus = 0;
};
