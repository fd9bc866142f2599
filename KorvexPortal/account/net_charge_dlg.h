// The remittance-draft top-up page of the recharge dialog: the draft's number and its password
// (under the secure-input guard), sent as "draftDeposit".
#pragma once

#include <mutex>

#include "recharge_page.h"

#define WM_KV_DRAFTDEPOSIT_DONE 0x625

class CNetChargeDlg : public CRechargePage<CNetChargeDlg> {
 public:
  enum { IDD = 254 };
  explicit CNetChargeDlg(CRechargeHostDlg& host) : CRechargePage(host) {}

  // The action key on this page: checks the fields and sends the draft.
  void Submit();

  BEGIN_MSG_MAP(CNetChargeDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_KV_DRAFTDEPOSIT_DONE, OnDepositDone)
    CHAIN_MSG_MAP(CRechargePage<CNetChargeDlg>)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDepositDone(UINT, WPARAM, LPARAM, BOOL&);

  int m_nStatus = 0;
  CStringW m_strMemo;
};
