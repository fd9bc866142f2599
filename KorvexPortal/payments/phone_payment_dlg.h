// The mobile phone recharge: a mobile number (typed, from the "mobileNO" setting, or picked from
// the phone's contacts) and one of two amounts. The gateway prices the top-up
// ("preDeposit4Mobile") and the trade pay dialog pays it; its outcome closes this dialog.
#pragma once

#include <memory>

#include "base_dlg.h"
#include "form_button.h"
#include "hint_edit.h"
#include "scroll_form_ctrl.h"
#include "skin_label.h"
#include "trade_pay_dlg.h"
#include "trade_pay_params.h"

// Posted to itself to open the trade pay dialog once the wait box has gone.
#define WM_KV_PHONEPAY_OPEN_TRADEPAY 0x63C

class CPhonePaymentDlg : public CBaseDlg {
 public:
  CPhonePaymentDlg();
  ~CPhonePaymentDlg() override;

  CTradePayDlg* GetTradePayDlg() const { return m_pTradePayDlg.get(); }
  const TradePayParams& GetTradePayParams() const { return m_params; }

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;
  BOOL BindControls(BOOL save, int controlId) override;
  void InitFocus() override;

  BEGIN_MSG_MAP(CPhonePaymentDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_KV_TRADEPAY_RESULT, OnTradePayResult)
    MESSAGE_HANDLER(WM_KV_PHONEPAY_OPEN_TRADEPAY, OnOpenTradePay)
    COMMAND_ID_HANDLER(1010, OnPickNumber)
    COMMAND_ID_HANDLER(1021, OnSubmit)
    COMMAND_ID_HANDLER(1020, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnTradePayResult(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnOpenTradePay(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPickNumber(WORD, WORD, HWND, BOOL&);
  LRESULT OnSubmit(WORD, WORD, HWND, BOOL&);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);

  void OpenTradePay(const CStringW& memo);
  void CloseTradePay();

  CScrollFormCtrl m_amountCombo;
  CHintEdit m_numberEdit{true};
  CFormButton m_contactButton;
  CSkinLabel m_captions[2];
  CStringW m_strNumber;
  CStringW m_strAmount;
  std::unique_ptr<CTradePayDlg> m_pTradePayDlg;
  TradePayParams m_params;
  std::unique_ptr<struct PhoneTopUpInfo> m_pQuote;
  CStringW m_strQuoteMemo;
};
