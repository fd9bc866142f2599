#include "ebank_charge_dlg.h"

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

namespace {

constexpr int kBanksListed = 40;
constexpr int kBanksRefused = 41;
constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;

struct Carrier {
  const WCHAR* text;
  const WCHAR* data;
};
constexpr Carrier kCarriers[] = {{u"中国移动", u"cmcc"}, {u"中国电信cdma", u"cdma"}};

CStringW ComboText(HWND combo, int index)
{
  CStringW text;
  int length = index < 0 ? 0 : static_cast<int>(::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0));
  if (length > 0) {
    ::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.GetBuffer(length + 1)));
    text.ReleaseBuffer();
  }
  return text;
}

}  // namespace

LRESULT CEbankChargeDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  SetItemText(IDC_RECHARGE_HEADER, CStringW());
  InitPage();
  SkinEdits(IDC_EBANK_AMOUNT, 0);
  TakeOverItem(IDC_EBANK_BANKS, m_bankControl);
  TakeOverItem(IDC_EBANK_CARRIERS, m_carrierControl);
  HWND carriers = GetDlgItem(IDC_EBANK_CARRIERS);
  for (const Carrier& carrier : kCarriers)
    ::SendMessageW(carriers, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(carrier.text));
  ::SendMessageW(carriers, CB_SETCURSEL, 0, 0);
  UpdateLimits();
  FacadeReply answer = RunFacadeRequest(
      {kBanksListed, kBanksRefused},
      [](CPaymentService& service) { return service.GetSupportedBank(); },
      u"正在获取相关信息...", [this](int code, HRESULT, LPARAM value, bool first) {
        if (code != kBanksListed) {
          if (first)
            m_nStatus = static_cast<int>(value);
          return;
        }
        std::unique_ptr<SupportedBankResult> record(reinterpret_cast<SupportedBankResult*>(value));
        if (!first || !record)
          return;
        m_nStatus = kStatusSuccess;
        for (int i = 0; i < record->bankCount; ++i)
          m_banks.push_back({record->banks[i].bankId.c_str(), record->banks[i].bankName.c_str()});
        m_strBalance = record->balance.c_str();
      });
  if (answer.answered) {
    m_strMemo = answer.memo;
    PostMessage(WM_KV_BANKLIST_DONE);
  }
  return TRUE;
}

LRESULT CEbankChargeDlg::OnBankListDone(UINT, WPARAM, LPARAM, BOOL&)
{
  HandleCommonStatus(m_nStatus, m_strMemo);
  if (m_nStatus == kStatusSuccess) {
    SetItemText(IDC_RECHARGE_HEADER, m_strBalance);
    HWND banks = GetDlgItem(IDC_EBANK_BANKS);
    for (const EbankBankRecord& bank : m_banks)
      ::SendMessageW(banks, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(bank.bankName.GetString()));
    ::SendMessageW(banks, CB_SETCURSEL, 0, 0);
    UpdateLimits();
  } else if (m_nStatus == kStatusSessionEnded) {
    m_host.CloseRecharge(false);
  } else {
    ShowApplicationBox(m_hWnd, FailureText(m_strMemo), KV_BOX_ERROR);
  }
  Relayout();
  return 0;
}

LRESULT CEbankChargeDlg::OnBankChosen(WORD, WORD, HWND, BOOL&)
{
  UpdateLimits();
  return 0;
}

void CEbankChargeDlg::UpdateLimits()
{
  CStringW name = GetBankName();
  bool carrier = BankNeedsCarrier(name);
  ShowItem(IDC_EBANK_CARRIERS, carrier);
  ShowItem(IDC_EBANK_CARRIER_LABEL, carrier);
  SetItemText(IDC_EBANK_LIMITS, BankLimitsText(name));
  Relayout();
}

void CEbankChargeDlg::FocusAmount()
{
  ::SetFocus(GetDlgItem(IDC_EBANK_AMOUNT));
}

BOOL CEbankChargeDlg::CheckInput()
{
  CStringW amount = ItemText(IDC_EBANK_AMOUNT);
  CStringW message;
  if (!ValidateAmount(amount, message)) {
    ShowApplicationBox(m_hWnd, message, KV_BOX_INFO | KV_BOX_SELF_CLOSING);
    Relayout();
    return FALSE;
  }
  // Without a bank list there is no bank to pay through.
  if (GetBankId().IsEmpty()) {
    ShowApplicationBox(m_hWnd, u"请选择银行！", KV_BOX_INFO | KV_BOX_SELF_CLOSING);
    return FALSE;
  }
  m_strAmount = amount;
  return TRUE;
}

int CEbankChargeDlg::ChosenBank() const
{
  int index = static_cast<int>(::SendMessageW(::GetDlgItem(m_hWnd, IDC_EBANK_BANKS), CB_GETCURSEL, 0, 0));
  return index >= 0 && index < static_cast<int>(m_banks.size()) ? index : -1;
}

CStringW CEbankChargeDlg::GetBankName() const
{
  int index = ChosenBank();
  return index < 0 ? CStringW() : m_banks[index].bankName;
}

CStringW CEbankChargeDlg::GetBankId() const
{
  int index = ChosenBank();
  return index < 0 ? CStringW() : m_banks[index].bankId;
}

CStringW CEbankChargeDlg::GetCarrierText() const
{
  HWND combo = ::GetDlgItem(m_hWnd, IDC_EBANK_CARRIERS);
  return ComboText(combo, static_cast<int>(::SendMessageW(combo, CB_GETCURSEL, 0, 0)));
}

CStringW CEbankChargeDlg::GetCarrierData() const
{
  int index = static_cast<int>(::SendMessageW(::GetDlgItem(m_hWnd, IDC_EBANK_CARRIERS), CB_GETCURSEL, 0, 0));
  return index >= 0 && index < static_cast<int>(std::size(kCarriers)) ? CStringW(kCarriers[index].data) : CStringW();
}
