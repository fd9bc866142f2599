#include "phone_payment_dlg.h"

#include "app_services.h"
#include "input_validators.h"
#include "log_writer.h"
#include "payment_request.h"
#include "payment_service.h"
#include "phone/contacts.h"
#include "phonepay_ids.h"
#include "p2p_ids.h"
#include "service_results.h"
#include "window_helpers.h"

namespace {

constexpr int kQuoted = 50;
constexpr int kQuoteFailed = 51;
// The two amounts offered, in yuan.
const WCHAR* const kAmounts[] = {u"50", u"100"};

}  // namespace

CPhonePaymentDlg::CPhonePaymentDlg() = default;
CPhonePaymentDlg::~CPhonePaymentDlg() = default;

int CPhonePaymentDlg::GetTemplateId(int orientation)
{
  return orientation == -1 ? IDD_PHONEPAY_LAND : IDD_PHONEPAY;
}

int CPhonePaymentDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? 0x419 : 0x418;
}

int CPhonePaymentDlg::GetLayoutStringId()
{
  return 132;
}

int CPhonePaymentDlg::GetSoftKey1Id()
{
  return IDC_PHONEPAY_SUBMIT;
}

int CPhonePaymentDlg::GetSoftKey2Id()
{
  return IDC_PHONEPAY_BACK;
}

int CPhonePaymentDlg::GetCenterKeyId()
{
  return 4;
}

LRESULT CPhonePaymentDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetSoftKeyTexts(u"提交", u"返回", FALSE);
  HWND combo = GetDlgItem(IDC_PHONEPAY_AMOUNT);
  for (const WCHAR* amount : kAmounts) {
    LRESULT index = ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(amount));
    if (index >= 0)
      ::SendMessageW(combo, CB_SETITEMDATA, index, reinterpret_cast<LPARAM>(amount));
  }
  ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
  if (CKorvexPortalApp* app = GetKorvexPortalApp()) {
    m_strNumber.Empty();
    app->GetConfig(u"mobileNO", m_strNumber);
  }
  bHandled = FALSE;
  return 0;
}

BOOL CPhonePaymentDlg::BindControls(BOOL save, int)
{
  if (save || !m_hWnd)
    return FALSE;
  AttachSkinEdit(IDC_PHONEPAY_NUMBER, m_numberEdit, kControlSkinEdit, save, 0xFF8000);
  SetDlgItemText(IDC_PHONEPAY_NUMBER, m_strNumber);
  // The captions are the template's own: the landscape one has short captions beside the fields.
  AttachSkinLabel(IDC_PHONEPAY_NUMBER_CAPTION, m_captions[0], kControlLabel, save, -1, -1, 0);
  AttachSkinLabel(IDC_PHONEPAY_AMOUNT_CAPTION, m_captions[1], kControlLabel, save, -1, -1, 0);
  if (!m_amountCombo.m_hWnd && GetDlgItem(IDC_PHONEPAY_AMOUNT))
    m_amountCombo.SubclassWindow(GetDlgItem(IDC_PHONEPAY_AMOUNT));
  if (!m_contactButton.m_hWnd && GetDlgItem(IDC_PHONEPAY_CONTACTS)) {
    m_contactButton.SubclassWindow(GetDlgItem(IDC_PHONEPAY_CONTACTS));
    m_contactButton.LoadBitmaps(IDB_CONTACT_BUTTON, IDB_CONTACT_BUTTON_FOCUS);
  }
  return TRUE;
}

void CPhonePaymentDlg::InitFocus()
{
  HWND number = GetDlgItem(IDC_PHONEPAY_NUMBER);
  if (!number) {
    WRITE_LOG_ENTRY(u"PhonePayment: no number item");
    return;
  }
  DisableImeForWindow(number);
  ::SetFocus(number);
}

LRESULT CPhonePaymentDlg::OnPickNumber(WORD, WORD, HWND, BOOL&)
{
  BOOL fullScreen = IsFullScreen();
  if (fullScreen)
    SetFullScreen(TRUE, TRUE);
  const CEPROPID properties[] = {PIMPR_MOBILE_TELEPHONE_NUMBER, 0x1801001F};
  CHOOSECONTACT request{};
  request.cbSize = sizeof request;
  request.hwndOwner = m_hWnd;
  request.dwFlags = 0x1B;
  request.cRequiredProperties = 2;
  request.rgpropidRequiredProperties = properties;
  if (SUCCEEDED(ChooseContact(&request)) && request.bstrPropertyValueSelected)
    SetDlgItemText(IDC_PHONEPAY_NUMBER, request.bstrPropertyValueSelected);
  SysFreeString(request.bstrContactName);
  SysFreeString(request.bstrPropertyValueSelected);
  if (fullScreen && IsWindow())
    SetFullScreen(FALSE, TRUE);
  return 0;
}

LRESULT CPhonePaymentDlg::OnSubmit(WORD, WORD, HWND, BOOL&)
{
  m_strNumber = GetItemText(m_hWnd, IDC_PHONEPAY_NUMBER);
  m_strNumber.Trim(u' ');
  CStringW message;
  if (!ValidatePhoneNumber(m_strNumber, message)) {
    ShowInputError(m_hWnd, message, GetDlgItem(IDC_PHONEPAY_NUMBER));
    return 0;
  }
  HWND combo = GetDlgItem(IDC_PHONEPAY_AMOUNT);
  LRESULT selected = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
  LRESULT data = selected >= 0 ? ::SendMessageW(combo, CB_GETITEMDATA, selected, 0) : 0;
  m_strAmount = data && data != CB_ERR ? reinterpret_cast<const WCHAR*>(data) : kAmounts[0];

  std::unique_ptr<PhoneTopUpInfo> quote;
  FacadeReply reply = RunFacadeRequest(
      {kQuoted, kQuoteFailed},
      [&](CPaymentService& service) {
        CServiceCommand* command = service.PreDeposit4Mobile(m_strNumber, m_strAmount);
        if (!command)
          WRITE_LOG_ENTRY(u"PhonePayment: the request could not be made");
        return command;
      },
      u"正在提交数据，请稍候……",
      [&quote](int code, HRESULT, LPARAM value, bool first) {
        if (code != kQuoted)
          return;
        std::unique_ptr<PhoneTopUpInfo> record(reinterpret_cast<PhoneTopUpInfo*>(value));
        if (first)
          quote = std::move(record);
      });
  if (!reply.answered || !IsWindow())
    return 0;
  if (reply.status == kPaymentStatusSuccess && quote) {
    m_pQuote = std::move(quote);
    m_strQuoteMemo = reply.memo;
    // Shown once the wait box has gone and handed the activation back, so it is on top.
    PostMessage(WM_KV_PHONEPAY_OPEN_TRADEPAY);
    return 0;
  }
  WRITE_LOG_ENTRY(u"PhonePayment: status %d", reply.status);
  if (HandleCommonStatus(reply.status, reply.memo)) {
    CloseDialog(2, FALSE);
  } else if (reply.status == kPaymentStatusNotActivated) {
    RequestActivation(m_hWnd, nullptr, u"PhonePayment");
  } else {
    CStringW field = ShowFieldErrorMemo(m_hWnd, reply.memo);
    if (field == u"toPayAmount")
      ::SetFocus(GetDlgItem(IDC_PHONEPAY_AMOUNT));
    else if (field == u"toPayAccount")
      ::SetFocus(GetDlgItem(IDC_PHONEPAY_NUMBER));
  }
  return 0;
}

LRESULT CPhonePaymentDlg::OnOpenTradePay(UINT, WPARAM, LPARAM, BOOL&)
{
  if (m_pQuote)
    OpenTradePay(m_strQuoteMemo);
  return 0;
}

void CPhonePaymentDlg::OpenTradePay(const CStringW& memo)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  ClearTradePayParams(m_params);
  m_params.goodsName = m_pQuote->goodsName.c_str();
  m_params.from = m_pQuote->toMobileNO.c_str();
  m_params.counterparty = m_pQuote->toMobileAmount.c_str();
  m_params.totalPayable = m_pQuote->toPayAmount.c_str();
  m_params.availableBalance = m_pQuote->availableBalance.c_str();
  m_params.accountName = app ? app->GetUserName() : CStringW();
  m_params.kind = kTradePayMobileRecharge;
  m_params.extraText = memo;
  CloseTradePay();
  m_pTradePayDlg = std::make_unique<CTradePayDlg>();
  m_pTradePayDlg->SetTitle(u"手机充值", FALSE);
  m_pTradePayDlg->ShowDialog(m_hWnd, reinterpret_cast<LPARAM>(&m_params), FALSE, TRUE);
}

void CPhonePaymentDlg::CloseTradePay()
{
  if (m_pTradePayDlg && m_pTradePayDlg->IsWindow())
    m_pTradePayDlg->CloseDialog(2, TRUE);
  m_pTradePayDlg.reset();
}

LRESULT CPhonePaymentDlg::OnTradePayResult(UINT, WPARAM, LPARAM, BOOL&)
{
  // Paid or not, the recharge ends here, back to the desktop.
  CloseTradePay();
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CPhonePaymentDlg::OnBack(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CPhonePaymentDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_pTradePayDlg && m_pTradePayDlg->IsWindow())
    m_pTradePayDlg->DestroyWindow();
  if (m_contactButton.m_hWnd)
    m_contactButton.UnsubclassWindow();
  if (m_amountCombo.m_hWnd)
    m_amountCombo.DestroyWindow();
  m_pQuote.reset();
  bHandled = FALSE;
  return 0;
}
