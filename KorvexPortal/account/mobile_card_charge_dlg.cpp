#include "mobile_card_charge_dlg.h"

#include <memory>

#include "app_services.h"
#include "facade_request.h"
#include "input_validators.h"
#include "list_results.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "recharge_figures.h"
#include "recharge_host_dlg.h"
#include "recharge_ids.h"
#include "secret_wipe.h"

namespace {

constexpr int kAmountsListed = 79;
constexpr int kAmountsRefused = 80;
constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;

}  // namespace

LRESULT CMobileCardChargeDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  SetItemText(IDC_RECHARGE_HEADER, CStringW());
  InitPage();
  SkinEdits(IDC_CARD_NUMBER, IDC_CARD_PASSWORD);
  TakeOverItem(IDC_CARD_AMOUNTS, m_host.GetFaceValueControl());
  // Only the list's own answer (79 or 80) decides; a count notification in between does not.
  FacadeReply answer = RunFacadeRequest(
      {kAmountsListed, kAmountsRefused},
      [](CPaymentService& service) { return service.GetSupportedChargeCard(); },
      u"正在获取相关信息...", [this](int code, HRESULT, LPARAM value, bool first) {
        if (code != kAmountsListed) {
          if (first)
            m_nStatus = static_cast<int>(value);
          return;
        }
        std::unique_ptr<ChargeCardResult> record(reinterpret_cast<ChargeCardResult*>(value));
        if (!first || !record)
          return;
        m_nStatus = kStatusSuccess;
        for (const std::u16string& amount : record->amounts)
          m_amounts.emplace_back(amount.c_str());
        m_strRate = record->rate.c_str();
        m_strBalance = record->balance.c_str();
      });
  if (answer.answered) {
    m_strMemo = answer.memo;
    PostMessage(WM_KV_CHARGECARD_LIST_DONE);
  }
  return TRUE;
}

LRESULT CMobileCardChargeDlg::OnListDone(UINT, WPARAM, LPARAM, BOOL&)
{
  HandleCommonStatus(m_nStatus, m_strMemo);
  if (m_nStatus == kStatusSuccess) {
    HWND combo = GetDlgItem(IDC_CARD_AMOUNTS);
    // The face values keep the reply's order.
    ::SetWindowLongPtrW(combo, GWL_STYLE, ::GetWindowLongPtrW(combo, GWL_STYLE) & ~static_cast<LONG_PTR>(CBS_SORT));
    for (const CStringW& amount : m_amounts)
      ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(amount.GetString()));
    ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
    UpdateHint();
    SetItemText(IDC_CARD_RATE, RateLine(m_strRate));
    SetItemText(IDC_RECHARGE_HEADER, m_strBalance + u"元");
  } else if (m_nStatus == kStatusSessionEnded) {
    m_host.CloseRecharge(false);
  } else {
    // A refusal is not silent: without face values the user could not go on unawares.
    ShowApplicationBox(m_hWnd, FailureText(m_strMemo), KV_BOX_ERROR);
  }
  Relayout();
  return 0;
}

LRESULT CMobileCardChargeDlg::OnAmountChosen(WORD, WORD, HWND, BOOL&)
{
  UpdateHint();
  return 0;
}

void CMobileCardChargeDlg::UpdateHint()
{
  if (::SendMessageW(GetDlgItem(IDC_CARD_AMOUNTS), CB_GETCURSEL, 0, 0) < 0)
    return;
  SetItemText(IDC_CARD_HINT, CardHint(GetFaceValue()));
}

CStringW CMobileCardChargeDlg::GetFaceValue() const
{
  HWND combo = ::GetDlgItem(m_hWnd, IDC_CARD_AMOUNTS);
  int index = static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0));
  if (index < 0)
    return CStringW();
  int length = static_cast<int>(::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0));
  CStringW text;
  if (length > 0) {
    ::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.GetBuffer(length + 1)));
    text.ReleaseBuffer();
  }
  return text;
}

void CMobileCardChargeDlg::FocusCardNumber()
{
  ::SetFocus(GetDlgItem(IDC_CARD_NUMBER));
}

BOOL CMobileCardChargeDlg::CheckInput()
{
  // What is shown and sent is what the checks passed: trimmed, full-width forms folded.
  CStringW number = ItemText(IDC_CARD_NUMBER);
  CStringW password = ItemText(IDC_CARD_PASSWORD);
  CStringW message;
  if (!ValidateRechargeCardNumber(number, message) || !ValidateRechargeCardPassword(password, message)) {
    WipeSecret(password);
    ShowApplicationBox(m_hWnd, message, KV_BOX_INFO | KV_BOX_SELF_CLOSING);
    Relayout();
    return FALSE;
  }
  m_strCardNumber = number;
  WipeSecret(m_strCardPassword);
  m_strCardPassword = password;
  WipeSecret(password);
  return TRUE;
}
