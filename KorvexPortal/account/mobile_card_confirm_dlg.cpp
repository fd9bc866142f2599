#include "mobile_card_confirm_dlg.h"

#include <memory>

#include "app_services.h"
#include "facade_request.h"
#include "message_box_types.h"
#include "mobile_card_charge_dlg.h"
#include "payment_service.h"
#include "recharge_figures.h"
#include "recharge_host_dlg.h"
#include "recharge_ids.h"
#include "service_results.h"
#include "text_helpers.h"

namespace {

constexpr int kDepositQueued = 36;
constexpr int kDepositTaken = 38;
constexpr int kDepositFailed = 39;
constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;

}  // namespace

LRESULT CMobileCardConfirmDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  InitPage();
  return TRUE;
}

void CMobileCardConfirmDlg::Fill()
{
  CMobileCardChargeDlg* input = m_host.GetCardInputPage();
  if (!input)
    return;
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CStringW account = app ? app->GetLogonId() : CStringW();
  EllipsizeString(account, 18);
  SetItemText(IDC_RECHARGE_HEADER, account);
  CStringW faceValue = input->GetFaceValue();
  SetItemText(IDC_CARDCONFIRM_AMOUNT, faceValue + u"元");
  CardCharge charge = ComputeCardCharge(faceValue, input->GetRate());
  SetItemText(IDC_CARDCONFIRM_CREDITED, charge.credited);
  SetItemText(IDC_CARDCONFIRM_FEE, charge.fee);
  SetItemText(IDC_CARDCONFIRM_NUMBER, input->GetCardNumber());
  SetItemText(IDC_CARDCONFIRM_PASSWORD, input->GetCardPassword());
}

void CMobileCardConfirmDlg::Submit()
{
  CMobileCardChargeDlg* input = m_host.GetCardInputPage();
  if (!input)
    return;
  CStringW faceValue = input->GetFaceValue();
  CStringW number = input->GetCardNumber();
  CStringW password = input->GetCardPassword();
  m_strDepositId.Empty();
  FacadeReply answer = RunFacadeRequest(
      {kDepositQueued, kDepositTaken, kDepositFailed},
      [&](CPaymentService& service) {
        return service.EasyownDeposit(number.GetString(), password.GetString(), faceValue.GetString());
      },
      u"正在查询充值结果，请耐心等待20秒~1分钟。",
      [this](int code, HRESULT, LPARAM value, bool first) {
        if (code == kDepositTaken) {
          std::unique_ptr<EasyownDepositResult> record(reinterpret_cast<EasyownDepositResult*>(value));
          if (first && record)
            m_strDepositId = record->depositId.c_str();
        }
        if (first)
          m_nStatus = code == kDepositFailed ? static_cast<int>(value) : kStatusSuccess;
      },
      KV_BOX_INFO | KV_BOX_WAIT);
  if (!answer.answered)
    return;
  m_strMemo = answer.memo;
  PostMessage(WM_KV_CARDDEPOSIT_DONE);
}

LRESULT CMobileCardConfirmDlg::OnDepositDone(UINT, WPARAM, LPARAM, BOOL&)
{
  HandleCommonStatus(m_nStatus, m_strMemo);
  if (m_nStatus == kStatusSuccess)
    ShowApplicationBox(m_hWnd, m_strMemo.IsEmpty() ? CStringW(u"充值成功！") : m_strMemo, KV_BOX_SUCCESS);
  else if (m_nStatus == kStatusSessionEnded)
    m_host.CloseRecharge(false);
  else
    ShowApplicationBox(m_hWnd, FailureText(m_strMemo), KV_BOX_INFO);
  return 0;
}
