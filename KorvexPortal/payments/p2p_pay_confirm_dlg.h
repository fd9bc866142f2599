// The transfer's confirmation page: the payee, amount and reason from the prepay, the user's
// account, and the payment password. Its confirm asks the no-refund question and sends
// "p2pPay"; a payee not yet among the user's contacts is then offered on the result page.
#pragma once

#include <memory>

#include "base_dlg.h"
#include "hint_edit.h"
#include "p2p_pay_result_dlg.h"
#include "skin_label.h"

// Posted to itself to open the result page once the wait box has gone.
#define WM_KV_P2P_OPEN_RESULT 0x63A

class CP2PPayConfirmDlg : public CBaseDlg {
 public:
  CP2PPayConfirmDlg();
  ~CP2PPayConfirmDlg() override;

  // What the prepay returned and the transfer dialog's amount and reason.
  void SetTransfer(const CStringW& account, const CStringW& name, const CStringW& amount, const CStringW& reason);

  CP2PPayResultDlg* GetResultDlg() const { return m_pResultDlg.get(); }

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;
  BOOL BindControls(BOOL save, int controlId) override;
  void InitFocus() override;

  BEGIN_MSG_MAP(CP2PPayConfirmDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_KV_P2P_RESULT_CLOSED, OnResultClosed)
    MESSAGE_HANDLER(WM_KV_P2P_OPEN_RESULT, OnOpenResult)
    COMMAND_ID_HANDLER(1021, OnConfirm)
    COMMAND_ID_HANDLER(1020, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnResultClosed(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnOpenResult(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnConfirm(WORD, WORD, HWND, BOOL&);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);

  void OnPayResult(int status, const CStringW& memo, bool isContact);
  // Closes this page and the transfer dialog; notificationCode 1 keeps the transfer dialog's
  // parent where it is.
  void CloseTransfer(WORD notificationCode);

  CHintEdit m_passwordEdit;
  CSkinLabel m_labels[5];
  CStringW m_strAccount;
  CStringW m_strName;
  CStringW m_strAmount;
  CStringW m_strReason;
  std::unique_ptr<CP2PPayResultDlg> m_pResultDlg;
};
