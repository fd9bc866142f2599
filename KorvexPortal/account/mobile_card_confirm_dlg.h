// The prepaid phone-card top-up's confirmation page: the face value, the amount credited and
// the fee, the card; the action key sends "easyownDeposit".
#pragma once

#include "recharge_page.h"

#define WM_KV_CARDDEPOSIT_DONE 0x63A

class CMobileCardConfirmDlg : public CRechargePage<CMobileCardConfirmDlg> {
 public:
  enum { IDD = 1084 };
  explicit CMobileCardConfirmDlg(CRechargeHostDlg& host) : CRechargePage(host) {}

  // Fills the page from the input page (at every show).
  void Fill();
  // The action key on this page: sends the top-up.
  void Submit();
  const CStringW& GetDepositId() const { return m_strDepositId; }

  BEGIN_MSG_MAP(CMobileCardConfirmDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_KV_CARDDEPOSIT_DONE, OnDepositDone)
    CHAIN_MSG_MAP(CRechargePage<CMobileCardConfirmDlg>)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDepositDone(UINT, WPARAM, LPARAM, BOOL&);

  int m_nStatus = 0;
  CStringW m_strMemo;
  CStringW m_strDepositId;
};
