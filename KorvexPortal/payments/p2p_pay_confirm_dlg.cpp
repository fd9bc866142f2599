#include "p2p_pay_confirm_dlg.h"

#include <iterator>

#include "app_services.h"
#include "input_validators.h"
#include "message_box_types.h"
#include "p2p_ids.h"
#include "payment_request.h"
#include "payment_service.h"
#include "resource_values.h"
#include "secret_wipe.h"
#include "selvane/selvane.h"
#include "tradepay_ids.h"
#include "window_helpers.h"

namespace {

constexpr int kPaid = 6;
constexpr int kPayFailed = 7;
// The buffer the secure-input library fills: 520 bytes.
constexpr int kPasswordChars = 260;
constexpr int kLabelItems[5] = {IDC_P2P_CONFIRM_ACCOUNT, IDC_P2P_CONFIRM_NAME, IDC_P2P_CONFIRM_REASON,
                                IDC_P2P_CONFIRM_AMOUNT, IDC_P2P_CONFIRM_NOTE};
const WCHAR kNoRefundQuestion[] = u"即时到账交易不受Korvex保护，钱直接到对方的账户，不能退款，您是否确定。";

CStringW Line(const WCHAR* caption, const CStringW& value)
{
  CStringW text(caption);
  text += value;
  return text;
}

}  // namespace

CP2PPayConfirmDlg::CP2PPayConfirmDlg() = default;
CP2PPayConfirmDlg::~CP2PPayConfirmDlg() = default;

void CP2PPayConfirmDlg::SetTransfer(const CStringW& account, const CStringW& name, const CStringW& amount,
                                    const CStringW& reason)
{
  m_strAccount = account;
  m_strName = name;
  m_strAmount = amount;
  m_strReason = reason;
}

int CP2PPayConfirmDlg::GetTemplateId(int orientation)
{
  return orientation == -1 ? IDD_P2P_CONFIRM_LAND : IDD_P2P_CONFIRM;
}

int CP2PPayConfirmDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? 0x419 : 0x418;
}

int CP2PPayConfirmDlg::GetLayoutStringId()
{
  return 132;
}

int CP2PPayConfirmDlg::GetSoftKey1Id()
{
  return IDC_P2P_SUBMIT;
}

int CP2PPayConfirmDlg::GetSoftKey2Id()
{
  return IDC_P2P_BACK;
}

int CP2PPayConfirmDlg::GetCenterKeyId()
{
  return 4;
}

LRESULT CP2PPayConfirmDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetSoftKeyTexts(u"确认", u"返回", FALSE);
  bHandled = FALSE;
  return 0;
}

BOOL CP2PPayConfirmDlg::BindControls(BOOL save, int)
{
  if (save || !m_hWnd)
    return FALSE;
  for (int i = 0; i < 5; ++i)
    AttachSkinLabel(kLabelItems[i], m_labels[i], kControlLabel, save, -1, -1, 0);
  SetDlgItemText(IDC_P2P_CONFIRM_ACCOUNT, Line(u"对方账户：", m_strAccount));
  SetDlgItemText(IDC_P2P_CONFIRM_NAME, Line(u"对方姓名：", m_strName));
  SetDlgItemText(IDC_P2P_CONFIRM_AMOUNT, Line(u"付款金额：", m_strAmount));
  SetDlgItemText(IDC_P2P_CONFIRM_REASON, Line(u"付款原因：", m_strReason));
  if (GetOrientation() == -1) {
    // In landscape the payee's lines are a narrow column beside the password: long ones wrap.
    CSkinLabel* column[] = {&m_labels[0], &m_labels[1], &m_labels[3], &m_labels[2]};
    StackLabelsToFit(column, std::size(column));
  }
  AttachAccountLabel(IDC_P2P_CONFIRM_USER, save, -1, -1);
  AttachSkinEdit(IDC_P2P_CONFIRM_PASSWORD, m_passwordEdit, kControlSkinEdit, save, 0xFF8000);
  return TRUE;
}

void CP2PPayConfirmDlg::InitFocus()
{
  HWND edit = GetDlgItem(IDC_P2P_CONFIRM_PASSWORD);
  if (!edit)
    return;
  DisableImeForWindow(edit);
  ::SendMessageW(edit, EM_LIMITTEXT, 0xFFFF, 0);
  HelpMe(edit);
  ::SetFocus(edit);
}

LRESULT CP2PPayConfirmDlg::OnConfirm(WORD, WORD, HWND, BOOL&)
{
  HWND edit = GetDlgItem(IDC_P2P_CONFIRM_PASSWORD);
  if (!edit)
    return 0;
  WCHAR buffer[kPasswordChars] = {};
  SecretWiper bufferWiper(buffer, sizeof buffer);
  GetInputForMe(edit, buffer, sizeof buffer);
  CStringW password(buffer);
  CStringW message;
  if (!ValidatePassword(password, message)) {
    WipeSecret(password);
    ShowInputError(m_hWnd, message, edit);
    return 0;
  }
  if (ShowApplicationBox(m_hWnd, kNoRefundQuestion, KV_BOX_QUESTION) == KV_BOX_ANSWER_CANCEL) {
    WipeSecret(password);
    return 0;
  }
  std::atomic<bool> isContact{false};
  FacadeReply reply = RunFacadeRequest(
      {kPaid, kPayFailed}, [&](CPaymentService& service) { return service.P2PPay(password); },
      LoadResourceString(IDS_TRADEPAY_WAIT), [&isContact](int code, HRESULT, LPARAM value, bool first) {
        if (first && code == kPaid)
          isContact = value != 0;
      });
  // The password was encrypted and sent: nothing keeps it.
  WipeSecret(password);
  if (!reply.answered || !IsWindow())
    return 0;
  OnPayResult(reply.status, reply.memo, isContact);
  return 0;
}

void CP2PPayConfirmDlg::OnPayResult(int status, const CStringW& memo, bool isContact)
{
  if (HandleCommonStatus(status, memo)) {
    CloseTransfer(1);
    return;
  }
  if (status != kPaymentStatusSuccess) {
    ShowPaymentFailure(m_hWnd, memo);
    CloseDialog(2, FALSE);
    return;
  }
  if (isContact) {
    ShowApplicationBox(m_hWnd, LoadResourceString(IDS_TRADEPAY_SUCCESS), KV_BOX_SUCCESS);
    CloseTransfer(0);
    return;
  }
  // Opened once the wait box has gone and handed the activation back, so it shows on top.
  PostMessage(WM_KV_P2P_OPEN_RESULT);
}

LRESULT CP2PPayConfirmDlg::OnOpenResult(UINT, WPARAM, LPARAM, BOOL&)
{
  if (m_pResultDlg && m_pResultDlg->IsWindow())
    m_pResultDlg->DestroyWindow();
  m_pResultDlg = std::make_unique<CP2PPayResultDlg>();
  m_pResultDlg->SetOwner(m_hWnd);
  m_pResultDlg->SetContact(CContactRecord{m_strName, m_strAccount});
  m_pResultDlg->ShowDialog(m_hWnd, 0, FALSE, TRUE);
  return 0;
}

void CP2PPayConfirmDlg::CloseTransfer(WORD notificationCode)
{
  HWND transfer = IsWindow() ? GetParent() : nullptr;

  if (HWND top = transfer ? ::GetParent(transfer) : nullptr)
    ::SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  CloseDialog(2, FALSE);
  if (transfer && ::IsWindow(transfer))
    ::SendMessageW(transfer, WM_COMMAND, MAKEWPARAM(IDC_P2P_BACK, notificationCode), 0);
}

LRESULT CP2PPayConfirmDlg::OnResultClosed(UINT, WPARAM, LPARAM, BOOL&)
{
  CloseTransfer(0);
  return 0;
}

LRESULT CP2PPayConfirmDlg::OnBack(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CP2PPayConfirmDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (HWND edit = GetDlgItem(IDC_P2P_CONFIRM_PASSWORD))
    FreeMe(edit);
  if (m_pResultDlg && m_pResultDlg->IsWindow())
    m_pResultDlg->DestroyWindow();
  bHandled = FALSE;
  return 0;
}
