#include "net_charge_dlg.h"

#include "app_services.h"
#include "facade_request.h"
#include "input_validators.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "recharge_host_dlg.h"
#include "recharge_ids.h"
#include "secret_wipe.h"
#include "text_helpers.h"

namespace {

constexpr int kDraftSucceeded = 48;
constexpr int kDraftFailed = 49;
constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;
// The buffer the secure-input library fills: 520 bytes.
constexpr int kPasswordChars = 260;

}  // namespace

LRESULT CNetChargeDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CStringW account = app ? app->GetLogonId() : CStringW();
  EllipsizeString(account, 18);
  SetItemText(IDC_RECHARGE_HEADER, account);
  InitPage();
  SkinEdits(IDC_DRAFT_NUMBER, IDC_DRAFT_PASSWORD);
  GuardEdit(IDC_DRAFT_PASSWORD);
  return TRUE;
}

void CNetChargeDlg::Submit()
{
  CStringW number = ItemText(IDC_DRAFT_NUMBER);
  number.Trim();
  WCHAR buffer[kPasswordChars] = {};
  SecretWiper bufferWiper(buffer, sizeof buffer);
  GetInputForMe(GetDlgItem(IDC_DRAFT_PASSWORD), buffer, sizeof buffer);
  CStringW password(buffer);
  CStringW message;
  if (!ValidateDraftNumber(number, message) || !ValidateDraftPassword(password, message)) {
    WipeSecret(password);
    ShowApplicationBox(m_hWnd, message, KV_BOX_INFO);
    Relayout();
    return;
  }
  // The memo of the draft's own answer only: another operation's notification changes nothing.
  FacadeReply answer = RunFacadeRequest(
      {kDraftSucceeded, kDraftFailed},
      [&](CPaymentService& service) { return service.DraftDeposit(number.GetString(), password.GetString()); },
      u"正在充值，请稍候……",
      [this](int code, HRESULT, LPARAM value, bool first) {
        if (first)
          m_nStatus = code == kDraftSucceeded ? kStatusSuccess : static_cast<int>(value);
      });
  WipeSecret(password);
  if (!answer.answered)
    return;
  m_strMemo = answer.memo;
  PostMessage(WM_KV_DRAFTDEPOSIT_DONE);
}

LRESULT CNetChargeDlg::OnDepositDone(UINT, WPARAM, LPARAM, BOOL&)
{
  HandleCommonStatus(m_nStatus, m_strMemo);
  if (m_nStatus == kStatusSuccess) {
    ShowApplicationBox(m_hWnd, m_strMemo.IsEmpty() ? CStringW(u"充值成功！") : m_strMemo, KV_BOX_SUCCESS);
  } else if (m_nStatus == kStatusSessionEnded) {
    m_host.CloseRecharge(false);
  } else {
    ShowApplicationBox(m_hWnd, FailureText(m_strMemo), KV_BOX_ERROR);
  }
  return 0;
}
