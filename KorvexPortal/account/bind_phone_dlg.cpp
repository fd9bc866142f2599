#include "bind_phone_dlg.h"

#include "app_services.h"
#include "bindphone_ids.h"
#include "ids.h"
#include "input_validators.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "window_helpers.h"

namespace {

constexpr int kBound = 66;
constexpr int kBindingFailed = 67;
constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;
constexpr COLORREF kFocusColour = 0xFF0000;

}  // namespace

CBindPhoneDlg::CBindPhoneDlg() = default;
CBindPhoneDlg::~CBindPhoneDlg() = default;

int CBindPhoneDlg::GetTemplateId(int)
{
  return IDD_BINDPHONE;
}

int CBindPhoneDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? IDB_BACKGROUND_LAND : IDB_BACKGROUND;
}

int CBindPhoneDlg::GetLayoutStringId()
{
  return IDS_LAYOUT;
}

int CBindPhoneDlg::GetSoftKey1Id()
{
  return IDC_BINDPHONE_CANCEL;
}

int CBindPhoneDlg::GetSoftKey2Id()
{
  return IDC_BINDPHONE_BIND;
}

int CBindPhoneDlg::GetCenterKeyId()
{
  return IDC_BINDPHONE_CENTER;
}

BOOL CBindPhoneDlg::BindControls(BOOL save, int)
{
  AttachSkinEdit(IDC_BINDPHONE_NUMBER, m_numberEdit, kControlSkinEdit, save, kFocusColour);
  return TRUE;
}

LRESULT CBindPhoneDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetSoftKeyTexts(u"取消", u"绑定", FALSE);
  if (HWND note = GetDlgItem(IDC_BINDPHONE_NOTE))
    m_note.SubclassWindow(note);
  DisableImeForWindow(GetDlgItem(IDC_BINDPHONE_NUMBER));
  bHandled = FALSE;  // on to the base, which binds the controls
  return 0;
}

void CBindPhoneDlg::InitFocus()
{
  if (HWND edit = GetDlgItem(IDC_BINDPHONE_NUMBER))
    ::SetFocus(edit);
}

LRESULT CBindPhoneDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_note.m_hWnd)
    m_note.UnsubclassWindow();
  bHandled = FALSE;
  return 0;
}

LRESULT CBindPhoneDlg::OnOK(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service)
    return 0;
  WCHAR typed[64] = {};
  GetDlgItemTextW(m_hWnd, IDC_BINDPHONE_NUMBER, typed, 64);
  CStringW number(typed);
  CStringW message;
  if (!ValidatePhoneNumber(number, message)) {
    ShowApplicationBox(m_hWnd, message, KV_BOX_INFO | KV_BOX_SELF_CLOSING);
    return 0;
  }
  m_answer = RunFacadeRequest(
      {kBound, kBindingFailed}, [&](CPaymentService&) { return service->ConfirmBinding(number); },
      u"正在绑定，请稍候……");
  if (!m_answer.started)
    ShowApplicationBox(m_hWnd, FailureText(CStringW()), KV_BOX_ERROR);
  else if (m_answer.answered && IsWindow())
    PostMessage(WM_KV_BINDPHONE_REPLY);
  return 0;
}

LRESULT CBindPhoneDlg::OnBindPhoneReply(UINT, WPARAM, LPARAM, BOOL&)
{
  const int status = m_answer.status;
  const CStringW memo = m_answer.memo;
  HandleCommonStatus(status, memo);
  if (status == kStatusSuccess) {
    ShowApplicationBox(m_hWnd, u"手机绑定申请成功！", KV_BOX_INFO);
    CloseDialog(2, TRUE);
  } else if (status == kStatusSessionEnded) {
    CloseDialog(2, FALSE);
  } else {
    ShowApplicationBox(m_hWnd, FailureText(memo), KV_BOX_ERROR);
  }
  return 0;
}

LRESULT CBindPhoneDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}
