#include "ebank_confirm_dlg.h"

#include "app_services.h"
#include "ebank_charge_dlg.h"
#include "facade_request.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "process_helpers.h"
#include "recharge_figures.h"
#include "recharge_host_dlg.h"
#include "recharge_ids.h"

namespace {

constexpr int kDepositStarted = 46;
constexpr int kDepositFailed = 47;
constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;

}  // namespace

LRESULT CEbankConfirmDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  InitPage();
  return TRUE;
}

void CEbankConfirmDlg::Fill()
{
  CEbankChargeDlg* input = m_host.GetEbankInputPage();
  if (!input)
    return;
  CStringW bank = input->GetBankName();
  SetItemText(IDC_EBANKCONFIRM_AMOUNT, input->GetAmount() + u" 元");
  SetItemText(IDC_EBANKCONFIRM_BANK, bank);
  bool carrier = BankNeedsCarrier(bank);
  ShowItem(IDC_EBANKCONFIRM_CARRIER_LABEL, carrier);
  ShowItem(IDC_EBANKCONFIRM_CARRIER, carrier);
  SetItemText(IDC_EBANKCONFIRM_CARRIER, carrier ? input->GetCarrierText() : CStringW());
  SetTimer(kSubmitTimer, kSubmitDelayMs);
}

void CEbankConfirmDlg::OnHidden()
{
  KillTimer(kSubmitTimer);
}

LRESULT CEbankConfirmDlg::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (wParam != kSubmitTimer) {
    bHandled = FALSE;
    return 0;
  }
  Submit();
  return 0;
}

void CEbankConfirmDlg::Submit()
{
  KillTimer(kSubmitTimer);
  CEbankChargeDlg* input = m_host.GetEbankInputPage();
  if (!input)
    return;
  ShowApplicationBox(m_hWnd, u"您将转入网上银行进行充值，成功后请到 账户查询 中查看账户余额。", KV_BOX_INFO);
  CStringW bankId = input->GetBankId();
  CStringW amount = input->GetAmount();
  // The carrier goes with every bank, also where its choice is hidden.
  CStringW carrier = input->GetCarrierData();
  m_strBankUrl.Empty();
  FacadeReply answer = RunFacadeRequest(
      {kDepositStarted, kDepositFailed},
      [&](CPaymentService& service) {
        return service.EbankDeposit(bankId.GetString(), amount.GetString(), carrier.GetString());
      },
      u"正在获取相关信息...",
      [this](int code, HRESULT, LPARAM value, bool first) {
        if (!first)
          return;
        if (code == kDepositStarted) {
          m_nStatus = kStatusSuccess;
          if (value)
            m_strBankUrl = reinterpret_cast<const WCHAR*>(value);
        } else {
          m_nStatus = static_cast<int>(value);
        }
      });
  if (!answer.answered)
    return;
  m_strMemo = answer.memo;
  PostMessage(WM_KV_EBANKDEPOSIT_DONE);
}

LRESULT CEbankConfirmDlg::OnDepositDone(UINT, WPARAM, LPARAM, BOOL&)
{
  HandleCommonStatus(m_nStatus, m_strMemo);
  if (m_nStatus == kStatusSuccess) {
    if (OpenUrlInBrowser(m_strBankUrl.GetString())) {
      m_host.CloseRecharge(true);
    } else {
      ShowApplicationBox(m_hWnd, u"无法打开网上银行页面，请稍后再试。", KV_BOX_ERROR);
    }
  } else if (m_nStatus == kStatusSessionEnded) {
    m_host.CloseRecharge(false);
  } else {
    ShowApplicationBox(m_hWnd, FailureText(m_strMemo), KV_BOX_INFO);
  }
  return 0;
}
