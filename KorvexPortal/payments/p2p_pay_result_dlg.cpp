#include "p2p_pay_result_dlg.h"

#include "app_services.h"
#include "message_box_types.h"
#include "p2p_ids.h"
#include "payment_request.h"
#include "payment_service.h"
#include "resource_values.h"

namespace {

constexpr int kContactAdded = 60;
constexpr int kContactNotAdded = 61;

}  // namespace

CP2PPayResultDlg::CP2PPayResultDlg() = default;
CP2PPayResultDlg::~CP2PPayResultDlg() = default;

int CP2PPayResultDlg::GetTemplateId(int)
{
  return IDD_P2P_RESULT;
}

int CP2PPayResultDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? 0x419 : 0x418;
}

int CP2PPayResultDlg::GetLayoutStringId()
{
  return 132;
}

int CP2PPayResultDlg::GetSoftKey1Id()
{
  return IDC_P2P_RESULT_ADD;
}

int CP2PPayResultDlg::GetSoftKey2Id()
{
  return IDC_P2P_RESULT_SKIP;
}

int CP2PPayResultDlg::GetCenterKeyId()
{
  return IDC_P2P_RESULT_CENTER;
}

LRESULT CP2PPayResultDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetTitle(u"添加联系人", FALSE);
  SetSoftKeyTexts(u"添加", u"跳过", FALSE);
  bHandled = FALSE;
  return 0;
}

BOOL CP2PPayResultDlg::BindControls(BOOL save, int)
{
  if (save || !m_hWnd)
    return FALSE;
  if (!m_banner.m_hWnd && GetDlgItem(IDC_P2P_RESULT_BANNER)) {
    m_banner.SubclassWindow(GetDlgItem(IDC_P2P_RESULT_BANNER));
    m_banner.SetImage(LoadResourceBitmap(IDB_P2P_SUCCESS));
    m_banner.AddItem(u"您的付款已成功！", 0);
  }
  AttachSkinLabel(IDC_P2P_RESULT_PAYEE, m_payeeLabel, kControlLabel, save, -1, -1, 0);
  SetDlgItemText(IDC_P2P_RESULT_PAYEE, m_payee.name + u"(" + m_payee.account + u")");
  return TRUE;
}

LRESULT CP2PPayResultDlg::OnAdd(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return 0;
  CContactStore(app->GetLogonId()).AddContact(m_payee);
  bool sent = false;
  if (!m_payee.name.IsEmpty() && !m_payee.account.IsEmpty()) {
    ContactInfo contact;
    contact.account = m_payee.account;
    contact.name = m_payee.name;
    FacadeReply reply = RunFacadeRequest(
        {kContactAdded, kContactNotAdded}, [&](CPaymentService& service) { return service.AddContact(u"", contact); },
        u"正在添加联系人...");
    if (reply.answered) {
      sent = true;
      m_strMemo = reply.memo;
      PostMessage(WM_KV_CONTACT_ADDED, static_cast<WPARAM>(reply.status));
    }
  }
  if (!sent && IsWindow()) {
    // Nothing to wait for: the transfer ends here.
    if (m_hOwner && ::IsWindow(m_hOwner))
      ::PostMessageW(m_hOwner, WM_KV_P2P_RESULT_CLOSED, 0, 0);
    CloseDialog(2, FALSE);
  }
  return 0;
}

LRESULT CP2PPayResultDlg::OnContactAdded(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  int status = static_cast<int>(wParam);
  if (!HandleCommonStatus(status, m_strMemo)) {
    CStringW text = m_payee.name + (status == kPaymentStatusSuccess ? u"已经成为您的联系人。" : u"对不起，添加失败。");
    ShowApplicationBox(m_hWnd, text, KV_BOX_SUCCESS);
  }
  // The owner closes the transfer once this page's outcome was told.
  if (m_hOwner && ::IsWindow(m_hOwner))
    ::PostMessageW(m_hOwner, WM_KV_P2P_RESULT_CLOSED, 0, 0);
  if (IsWindow())
    CloseDialog(2, FALSE);
  return 0;
}

LRESULT CP2PPayResultDlg::OnSkip(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  if (m_hOwner && ::IsWindow(m_hOwner))
    ::PostMessageW(m_hOwner, WM_KV_P2P_RESULT_CLOSED, 0, 0);
  return 0;
}

LRESULT CP2PPayResultDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_banner.m_hWnd)
    m_banner.UnsubclassWindow();
  bHandled = FALSE;
  return 0;
}
