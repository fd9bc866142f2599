// The net-bank top-up's confirmation page: the amount, the bank and the carrier; after 10 s, or on
// the action key, it sends "ebankDeposit" and starts the phone's browser on the bank's page.
#pragma once

#include "recharge_page.h"

#define WM_KV_EBANKDEPOSIT_DONE 0x63D

class CEbankConfirmDlg : public CRechargePage<CEbankConfirmDlg> {
 public:
  enum { IDD = 1082 };
  static constexpr UINT_PTR kSubmitTimer = 10000;
  static constexpr UINT kSubmitDelayMs = 10000;
  explicit CEbankConfirmDlg(CRechargeHostDlg& host) : CRechargePage(host) {}

  // Fills the page from the input page and starts the 10 s timer (at every show).
  void Fill();
  // The action key and the timer: the notice, then the request.
  void Submit();
  // Hiding the page stops the timer.
  void OnHidden();

  BEGIN_MSG_MAP(CEbankConfirmDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_KV_EBANKDEPOSIT_DONE, OnDepositDone)
    CHAIN_MSG_MAP(CRechargePage<CEbankConfirmDlg>)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnDepositDone(UINT, WPARAM, LPARAM, BOOL&);

  int m_nStatus = 0;
  CStringW m_strMemo;
  CStringW m_strBankUrl;
};
