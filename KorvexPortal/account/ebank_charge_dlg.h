// The net-bank top-up's input page: the amount, the bank from "getSupportedBank" with its limits
// and, for the one bank that asks for it, the phone's carrier.
#pragma once

#include <vector>

#include "recharge_page.h"
#include "scroll_form_ctrl.h"

#define WM_KV_BANKLIST_DONE 0x63C

struct EbankBankRecord {
  CStringW bankId;
  CStringW bankName;
};

class CEbankChargeDlg : public CRechargePage<CEbankChargeDlg> {
 public:
  enum { IDD = 1081 };
  explicit CEbankChargeDlg(CRechargeHostDlg& host) : CRechargePage(host) {}

  void FocusAmount();
  // Checks the amount and that a bank is chosen; keeps the checked amount.
  BOOL CheckInput();
  // For the confirmation page; each empty when nothing is chosen.
  const CStringW& GetAmount() const { return m_strAmount; }
  CStringW GetBankName() const;
  CStringW GetBankId() const;
  CStringW GetCarrierText() const;
  CStringW GetCarrierData() const;

  BEGIN_MSG_MAP(CEbankChargeDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_KV_BANKLIST_DONE, OnBankListDone)
    COMMAND_HANDLER(1024, CBN_SELCHANGE, OnBankChosen)
    // The skinned box keeps the list's changes to itself while the arrows move in it; the bank is
    // known when the list closes on the return key.
    COMMAND_HANDLER(1024, CBN_SELENDOK, OnBankChosen)
    CHAIN_MSG_MAP(CRechargePage<CEbankChargeDlg>)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnBankListDone(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnBankChosen(WORD, WORD, HWND, BOOL&);
  void UpdateLimits();
  int ChosenBank() const;

  CScrollFormCtrl m_bankControl;
  CScrollFormCtrl m_carrierControl;
  std::vector<EbankBankRecord> m_banks;
  int m_nStatus = 0;
  CStringW m_strMemo;
  CStringW m_strBalance;
  CStringW m_strAmount;
};
