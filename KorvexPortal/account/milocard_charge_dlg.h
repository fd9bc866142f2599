// The Milocard top-up page of the recharge dialog: the cards linked to the account ("premcDeposit"),
// the amount and the payment password, sent as "mcDeposit". Without a linked card the page says
// so and the action key offers the Milocard sign-up instead.
#pragma once

#include <vector>

#include "owner_draw_ctrl_d.h"
#include "recharge_page.h"
#include "scroll_form_ctrl.h"

#define WM_KV_MCDEPOSIT_DONE 0x623
#define WM_KV_MCCARDS_DONE 0x624

struct MilocardCardRecord {
  CStringW mcBankId;
  CStringW mcBankName;
  CStringW mcShortCode;
};

class CMilocardChargeDlg : public CRechargePage<CMilocardChargeDlg> {
 public:
  enum { IDD = 253 };
  explicit CMilocardChargeDlg(CRechargeHostDlg& host) : CRechargePage(host) {}

  // "充值" with cards, else "Milocard业务".
  void UpdateActionKey();
  // The action key while there are cards: checks the fields and sends the top-up.
  void Charge();
  const std::vector<MilocardCardRecord>& GetCards() const { return m_cards; }

  BEGIN_MSG_MAP(CMilocardChargeDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_KV_MCCARDS_DONE, OnCardsDone)
    MESSAGE_HANDLER(WM_KV_MCDEPOSIT_DONE, OnDepositDone)
    CHAIN_MSG_MAP(CRechargePage<CMilocardChargeDlg>)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCardsDone(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDepositDone(UINT, WPARAM, LPARAM, BOOL&);
  void ShowNoCardLayout();

  CScrollFormCtrl m_cardControl;
  COwnerDrawCtrlD m_noCardNotice;
  std::vector<MilocardCardRecord> m_cards;
  bool m_bHaveRecord = false;
  CStringW m_strBalance;
  int m_nStatus = 0;
  CStringW m_strMemo;
};
