// The prepaid phone-card top-up's input page: the face values and the fee rate from
// "getSupportedChargeCard", the card's number and password, checked before the confirmation.
#pragma once

#include "recharge_page.h"

#define WM_KV_CHARGECARD_LIST_DONE 0x639

class CMobileCardChargeDlg : public CRechargePage<CMobileCardChargeDlg> {
 public:
  enum { IDD = 1079 };
  explicit CMobileCardChargeDlg(CRechargeHostDlg& host) : CRechargePage(host) {}

  void FocusCardNumber();
  // Checks the card fields; on success keeps their checked texts for the confirmation.
  BOOL CheckInput();
  // What the confirmation page shows and sends: the chosen face value (empty when none), the
  // checked card number and password, the rate text.
  CStringW GetFaceValue() const;
  const CStringW& GetCardNumber() const { return m_strCardNumber; }
  const CStringW& GetCardPassword() const { return m_strCardPassword; }
  const CStringW& GetRate() const { return m_strRate; }

  BEGIN_MSG_MAP(CMobileCardChargeDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_KV_CHARGECARD_LIST_DONE, OnListDone)
    COMMAND_HANDLER(1170, CBN_SELCHANGE, OnAmountChosen)
    COMMAND_HANDLER(1170, CBN_SELENDOK, OnAmountChosen)
    CHAIN_MSG_MAP(CRechargePage<CMobileCardChargeDlg>)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnListDone(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnAmountChosen(WORD, WORD, HWND, BOOL&);
  void UpdateHint();

  int m_nStatus = 0;
  CStringW m_strMemo;
  std::vector<CStringW> m_amounts;
  CStringW m_strBalance;
  CStringW m_strRate;
  CStringW m_strCardNumber;
  CStringW m_strCardPassword;
};
