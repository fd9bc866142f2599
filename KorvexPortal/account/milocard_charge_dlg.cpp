#include "milocard_charge_dlg.h"

#include <memory>

#include "app_services.h"
#include "facade_request.h"
#include "input_validators.h"
#include "list_results.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "recharge_host_dlg.h"
#include "recharge_ids.h"
#include "secret_wipe.h"

namespace {

constexpr int kCardsListed = 20;
constexpr int kCardsRefused = 21;
constexpr int kDepositSucceeded = 22;
constexpr int kDepositFailed = 23;
constexpr int kStatusSuccess = 100;
constexpr int kStatusPhoneNotBound = 112;
constexpr int kStatusSessionEnded = 200;
constexpr int kPasswordChars = 260;
// The phone binding opened from a top-up.
constexpr int kBindPhoneFromRecharge = 5;

}  // namespace

LRESULT CMilocardChargeDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  SetItemText(IDC_RECHARGE_HEADER, CStringW());
  TakeOverItem(IDC_MILOCARD_CARDS, m_cardControl);
  InitPage();
  TakeOverItem(IDC_MILOCARD_NO_CARD, m_noCardNotice);
  DisableImeForWindow(GetDlgItem(IDC_MILOCARD_AMOUNT));
  DisableImeForWindow(GetDlgItem(IDC_MILOCARD_PASSWORD));
  // Code 21 carries its record too, or none: the status is the record's.
  std::unique_ptr<McDepositInfoResult> kept;
  FacadeReply answer = RunFacadeRequest(
      {kCardsListed, kCardsRefused},
      [](CPaymentService& service) { return service.PremcDeposit(); },
      u"正在获取相关信息...", [&](int code, HRESULT, LPARAM value, bool first) {
        std::unique_ptr<McDepositInfoResult> record(reinterpret_cast<McDepositInfoResult*>(value));
        if (!first)
          return;
        if (code == kCardsListed)
          m_nStatus = kStatusSuccess;
        else
          m_nStatus = record ? record->resultStatus : 0;
        kept = std::move(record);
      });
  if (answer.answered) {
    m_strMemo = answer.memo;
    m_bHaveRecord = kept != nullptr;
    if (kept) {
      m_strBalance = kept->currentBalance.c_str();
      if (m_nStatus == kStatusSuccess)
        for (int i = 0; i < kept->bankCount; ++i)
          m_cards.push_back({kept->banks[i].mcBankId.c_str(), kept->banks[i].mcBankName.c_str(),
                             kept->banks[i].mcShortCode.c_str()});
    }
    PostMessage(WM_KV_MCCARDS_DONE);
  }
  ::SetFocus(GetDlgItem(IDC_MILOCARD_CARDS));
  return FALSE;
}

void CMilocardChargeDlg::UpdateActionKey()
{
  m_host.SetActionText(m_cards.empty() ? u"Milocard业务" : u"充值");
}

LRESULT CMilocardChargeDlg::OnCardsDone(UINT, WPARAM, LPARAM, BOOL&)
{
  HandleCommonStatus(m_nStatus, m_strMemo);
  switch (m_nStatus) {
    case kStatusSuccess: {
      SetItemText(IDC_RECHARGE_HEADER, m_strBalance);
      HWND combo = GetDlgItem(IDC_MILOCARD_CARDS);
      for (const MilocardCardRecord& card : m_cards) {
        CStringW item = card.mcBankName + u"（尾号" + card.mcShortCode + u"）";
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.GetString()));
      }
      ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
      if (m_cards.empty()) {
        ShowNoCardLayout();
        break;
      }
      SkinEdits(IDC_MILOCARD_AMOUNT, IDC_MILOCARD_PASSWORD);
      GuardEdit(IDC_MILOCARD_PASSWORD);
      ShowItem(IDC_MILOCARD_NO_CARD, false);
      if (IsShown())
        UpdateActionKey();
      break;
    }
    case kStatusPhoneNotBound: {
      ShowApplicationBox(m_hWnd, u"您需要先绑定手机才能使用本服务。", KV_BOX_INFO);
      CKorvexPortalApp* app = GetKorvexPortalApp();
      if (app && app->GetMainDialog())
        app->ShowBindPhoneDlg(kBindPhoneFromRecharge);
      else
        WRITE_LOG_ENTRY(u"MilocardChargeDlg: no main dialog for the phone binding");
      m_host.CloseRecharge(false);
      break;
    }
    case kStatusSessionEnded:
      m_host.CloseRecharge(false);
      break;
    default:
      SetItemText(IDC_RECHARGE_HEADER, m_strBalance);
      ShowNoCardLayout();
      break;
  }
  Relayout();
  return 0;
}

void CMilocardChargeDlg::ShowNoCardLayout()
{
  int sy = GetUprightScaleY();
  RECT separator{};
  RECT notice{};
  ::GetWindowRect(GetDlgItem(kSeparatorId), &separator);
  ::GetWindowRect(GetDlgItem(IDC_MILOCARD_NO_CARD), &notice);
  POINT top{separator.left, separator.top};
  ScreenToClient(&top);
  ::SetWindowPos(GetDlgItem(IDC_MILOCARD_NO_CARD), nullptr, notice.left - separator.left + top.x, top.y + 20 * sy, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowItem(IDC_MILOCARD_NO_CARD, true);
  // The card combo goes with its caption, which would otherwise lie under the notice.
  for (int id : {IDC_MILOCARD_CARDS, IDC_MILOCARD_CARD_LABEL, IDC_MILOCARD_AMOUNT, IDC_MILOCARD_PASSWORD,
                 IDC_MILOCARD_AMOUNT_LABEL, IDC_MILOCARD_PASSWORD_LABEL})
    ShowItem(id, false);
  if (IsShown())
    m_host.SetActionText(u"Milocard业务");
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CMilocardChargeDlg::Charge()
{
  CStringW amount = ItemText(IDC_MILOCARD_AMOUNT);
  WCHAR buffer[kPasswordChars] = {};
  SecretWiper bufferWiper(buffer, sizeof buffer);
  GetInputForMe(GetDlgItem(IDC_MILOCARD_PASSWORD), buffer, sizeof buffer);
  CStringW password(buffer);
  CStringW message;
  if (!ValidateAmount(amount, message) || !ValidatePassword(password, message)) {
    WipeSecret(password);
    ShowApplicationBox(m_hWnd, message, KV_BOX_INFO);
    Relayout();
    return;
  }
  int index = static_cast<int>(::SendMessageW(GetDlgItem(IDC_MILOCARD_CARDS), CB_GETCURSEL, 0, 0));
  if (index < 0 || index >= static_cast<int>(m_cards.size())) {
    WipeSecret(password);
    ShowApplicationBox(m_hWnd, u"请选择Milocard！如果您没有开通，请先开通Milocard！", KV_BOX_INFO | KV_BOX_SELF_CLOSING);
    return;
  }
  const MilocardCardRecord card = m_cards[index];
  FacadeReply answer = RunFacadeRequest(
      {kDepositSucceeded, kDepositFailed},
      [&](CPaymentService& service) {
        return service.McDeposit(card.mcBankId.GetString(), card.mcShortCode.GetString(), amount.GetString(),
                                 password.GetString());
      },
      u"正在充值，请稍候……",
      [this](int code, HRESULT, LPARAM value, bool first) {
        if (first)
          m_nStatus = code == kDepositSucceeded ? kStatusSuccess : static_cast<int>(value);
      });
  WipeSecret(password);
  if (!answer.answered)
    return;
  m_strMemo = answer.memo;
  PostMessage(WM_KV_MCDEPOSIT_DONE);
}

LRESULT CMilocardChargeDlg::OnDepositDone(UINT, WPARAM, LPARAM, BOOL&)
{
  HandleCommonStatus(m_nStatus, m_strMemo);
  if (m_nStatus == kStatusSuccess)
    ShowApplicationBox(m_hWnd, m_strMemo.IsEmpty() ? CStringW(u"充值成功！") : m_strMemo, KV_BOX_SUCCESS);
  else if (m_nStatus == kStatusSessionEnded)
    m_host.CloseRecharge(false);
  else
    ShowApplicationBox(m_hWnd, FailureText(m_strMemo), KV_BOX_ERROR);
  return 0;
}
