#include "p2p_pay_dlg.h"

#include <atomic>

#include "app_services.h"
#include "dialog_ids.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "p2p_ids.h"
#include "payment_request.h"
#include "payment_service.h"
#include "service_results.h"
#include "transfer_checks.h"
#include "window_helpers.h"

namespace {

constexpr int kUnpaidCount = 56;
constexpr int kUnpaidCountFailed = 57;
constexpr int kPrePaid = 9;
constexpr int kPrePayFailed = 8;
constexpr int kCaptionItems[4] = {IDC_P2P_ACCOUNT_CAPTION, IDC_P2P_AMOUNT_CAPTION, IDC_P2P_REASON_CAPTION,
                                  IDC_P2P_REASON_NOTE};
const WCHAR kSubmitWait[] = u"正在提交数据，请稍候……";

}  // namespace

CP2PPayDlg::CP2PPayDlg() = default;
CP2PPayDlg::~CP2PPayDlg() = default;

int CP2PPayDlg::GetTemplateId(int orientation)
{
  return orientation == -1 ? IDD_P2P_LAND : IDD_P2P;
}

int CP2PPayDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? 0x419 : 0x418;
}

int CP2PPayDlg::GetLayoutStringId()
{
  return 132;
}

int CP2PPayDlg::GetSoftKey1Id()
{
  return IDC_P2P_SUBMIT;
}

int CP2PPayDlg::GetSoftKey2Id()
{
  return IDC_P2P_BACK;
}

int CP2PPayDlg::GetCenterKeyId()
{
  return 4;
}

LRESULT CP2PPayDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (!m_banner.m_hWnd && GetDlgItem(IDC_P2P_BANNER))
    m_banner.SubclassWindow(GetDlgItem(IDC_P2P_BANNER));
  SetSoftKeyTexts(u"提交", u"返回", FALSE);
  bHandled = FALSE;  // on to the base, which binds the controls
  return 0;
}

BOOL CP2PPayDlg::BindControls(BOOL save, int)
{
  if (save || !m_hWnd)
    return FALSE;
  AttachSkinEdit(IDC_P2P_ACCOUNT, m_accountEdit, kControlSkinEdit, save, 0xFF8000);
  AttachSkinEdit(IDC_P2P_AMOUNT, m_amountEdit, kControlSkinEdit, save, 0xFF8000);
  AttachSkinEdit(IDC_P2P_REASON, m_reasonEdit, kControlSkinEdit, save, 0xFF8000);
  // The captions are the template's own: the landscape one has short captions beside the fields.
  for (int i = 0; i < 4; ++i)
    AttachSkinLabel(kCaptionItems[i], m_captions[i], kControlLabel, save, -1, -1, 0);
  if (!m_contactButton.m_hWnd && GetDlgItem(IDC_P2P_CONTACTS)) {
    m_contactButton.SubclassWindow(GetDlgItem(IDC_P2P_CONTACTS));
    m_contactButton.LoadBitmaps(IDB_CONTACT_BUTTON, IDB_CONTACT_BUTTON_FOCUS);
  }
  return TRUE;
}

void CP2PPayDlg::InitFocus()
{
  HWND account = GetDlgItem(IDC_P2P_ACCOUNT);
  if (!account) {
    WRITE_LOG_ENTRY(u"P2PPayDlg: no account item");
    return;
  }
  DisableImeForWindow(GetDlgItem(IDC_P2P_AMOUNT));
  DisableImeForWindow(account);
  ::SendMessageW(GetDlgItem(IDC_P2P_REASON), EM_LIMITTEXT, kTransferReasonLimit, 0);
  ::SetFocus(account);
  // The count is asked for once the dialog shows, not from inside its set-up.
  if (m_nUnpaidCount < 0)
    PostMessage(WM_KV_P2P_QUERY_UNPAID);
}

LRESULT CP2PPayDlg::OnQueryUnpaid(UINT, WPARAM, LPARAM, BOOL&)
{
  std::atomic<int> count{-1};
  FacadeReply reply = RunFacadeRequest(
      {kUnpaidCount, kUnpaidCountFailed},
      [](CPaymentService& service) { return service.QueryTradeNum(u"1m", u"waitPay"); }, u"正在获取相关信息...",
      [&count](int code, HRESULT, LPARAM value, bool first) {
        if (first && code == kUnpaidCount)
          count = static_cast<int>(value);
      });
  if (!IsWindow() || !reply.answered || count < 0)
    return 0;
  m_nUnpaidCount = count;
  CStringW text;
  text.Format(u"您有 %d 笔未付款交易！点击查看。", m_nUnpaidCount);
  if (m_banner.m_hWnd) {
    m_banner.AddItem(text, 0);
    ::InvalidateRect(m_banner.m_hWnd, nullptr, TRUE);
  }
  return 0;
}

LRESULT CP2PPayDlg::OnOpenConfirm(UINT, WPARAM, LPARAM, BOOL&)
{
  if (m_confirmDlg.IsWindow())
    m_confirmDlg.CloseDialog(2, FALSE);
  m_confirmDlg.ShowDialog(m_hWnd, 0, FALSE, TRUE);
  return 0;
}

LRESULT CP2PPayDlg::OnContacts(WORD, WORD, HWND, BOOL&)
{
  OpenContactPicker();
  return 0;
}

void CP2PPayDlg::OpenContactPicker()
{
  if (m_pPicker && m_pPicker->IsWindow())
    m_pPicker->CloseDialog(2, FALSE);
  m_pPicker = std::make_unique<CContactPickDlg>();
  m_pPicker->SetOwner(m_hWnd);
  m_pPicker->ShowDialog(m_hWnd, 0, FALSE, TRUE);
}

LRESULT CP2PPayDlg::OnBanner(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (HWND desktop = app ? app->GetDesktopDlgWindow() : nullptr)
    ::PostMessageW(desktop, WM_COMMAND, ID_KV_DESKTOP_ITEM0 + 2, 4);
  CloseDialog(2, FALSE);
  return 0;
}

LRESULT CP2PPayDlg::OnBack(WORD code, WORD, HWND, BOOL&)
{
  CloseDialog(2, code == 0);
  return 0;
}

CStringW CP2PPayDlg::ItemText(int id)
{
  return GetItemText(m_hWnd, id);
}

LRESULT CP2PPayDlg::OnSubmit(WORD, WORD, HWND, BOOL&)
{
  TransferCheck check = CheckTransferFields(ItemText(IDC_P2P_ACCOUNT), ItemText(IDC_P2P_AMOUNT),
                                            ItemText(IDC_P2P_REASON));
  if (!check.passed) {
    ShowInputError(m_hWnd, check.message, GetDlgItem(check.focusItem));
    return 0;
  }
  // The request carries the fields as typed.
  CStringW account = ItemText(IDC_P2P_ACCOUNT);
  CStringW amount = ItemText(IDC_P2P_AMOUNT);
  CStringW reason = ItemText(IDC_P2P_REASON);
  std::unique_ptr<PrePayResult> record;
  FacadeReply reply = RunFacadeRequest(
      {kPrePaid, kPrePayFailed},
      [&](CPaymentService& service) { return service.P2PPrePay(account, reason, amount, u""); }, kSubmitWait,
      [&record](int code, HRESULT, LPARAM value, bool first) {
        if (code != kPrePaid)
          return;
        std::unique_ptr<PrePayResult> result(reinterpret_cast<PrePayResult*>(value));
        if (first)
          record = std::move(result);
      });
  if (!reply.answered || !IsWindow())
    return 0;
  OnPrePayStatus(reply.status, reply.memo, record.get());
  return 0;
}

void CP2PPayDlg::OnPrePayStatus(int status, const CStringW& memo, const PrePayResult* record)
{
  if (status == kPaymentStatusSuccess && record) {
    m_confirmDlg.SetTransfer(record->toPayAccount.c_str(), record->toPayUserName.c_str(), ItemText(IDC_P2P_AMOUNT),
                             ItemText(IDC_P2P_REASON));
    // Shown once the wait box has gone and handed the activation back, so it is on top.
    PostMessage(WM_KV_P2P_OPEN_CONFIRM);
    return;
  }
  WRITE_LOG_ENTRY(u"P2PPayDlg: prepay status %d", status);
  if (status == kPaymentStatusNotActivated) {
    RequestActivation(m_hWnd, nullptr, u"P2PPayDlg");
  } else if (status == kPaymentStatusSessionEnded) {
    HandleCommonStatus(status, memo);
    CloseDialog(2, FALSE);
  } else if (status > 300 && status <= 400) {
    CStringW field = ShowFieldErrorMemo(m_hWnd, memo);
    int item = field == u"toPayReason" ? IDC_P2P_REASON
               : field == u"toPayAmount" ? IDC_P2P_AMOUNT
               : field == u"toPayAccount" ? IDC_P2P_ACCOUNT
                                          : 0;
    if (item)
      ::SetFocus(GetDlgItem(item));
  } else {
    ShowPaymentFailure(m_hWnd, memo);
  }
}

LRESULT CP2PPayDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  // The pages over this dialog go with it; their objects are freed with this one.
  if (m_confirmDlg.IsWindow())
    m_confirmDlg.DestroyWindow();
  if (m_pPicker && m_pPicker->IsWindow())
    m_pPicker->DestroyWindow();
  if (m_banner.m_hWnd)
    m_banner.UnsubclassWindow();
  if (m_contactButton.m_hWnd)
    m_contactButton.UnsubclassWindow();
  bHandled = FALSE;
  return 0;
}
