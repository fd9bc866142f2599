#include "milocard_apply_page.h"

#include <mutex>

#include "app_services.h"
#include "facade_answer.h"
#include "input_validators.h"
#include "message_box_types.h"
#include "milocard_host_dlg.h"
#include "payment_service.h"
#include "text_helpers.h"
#include "window_helpers.h"

namespace {

constexpr COLORREF kEditFrameColour = 0xFF0000;
constexpr int kAccountShown = 18;

}  // namespace

LRESULT CMilocardApplyPage::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  ShowBankName();
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CStringW account = app ? app->GetLogonId() : CStringW();
  EllipsizeString(account, kAccountShown);
  SetDlgItemText(IDC_MILOCARD_APPLY_ACCOUNT, account);
  m_nameEdit.SubclassEdit(GetDlgItem(IDC_MILOCARD_APPLY_NAME), kEditFrameColour);
  m_idCardEdit.SubclassEdit(GetDlgItem(IDC_MILOCARD_APPLY_IDCARD), kEditFrameColour);
  if (m_pHost) {
    const MilocardCardData& data = m_pHost->GetCardData();
    m_nameEdit.SetWindowText(data.realName);
    m_idCardEdit.SetWindowText(data.idCardNumber);
    if (data.identityMissing == 0) {
      m_nameEdit.SendMessage(EM_SETREADONLY, TRUE, 0);
      m_idCardEdit.SendMessage(EM_SETREADONLY, TRUE, 0);
      m_idCardEdit.SetWindowText(MaskIdCardNumber(data.idCardNumber));
    }
  }
  CreateScrollForm();
  ::SetFocus(m_nameEdit.m_hWnd);
  DisableImeForWindow(m_idCardEdit.m_hWnd);
  return FALSE;
}

void CMilocardApplyPage::ShowBankName()
{
  CStringW name = m_pHost ? m_pHost->GetSelectedBank().bankName : CStringW();
  CStringW shown;
  CWindow(GetDlgItem(IDC_MILOCARD_APPLY_BANK)).GetWindowText(shown);
  if (shown != name)
    SetDlgItemText(IDC_MILOCARD_APPLY_BANK, name);
}

LRESULT CMilocardApplyPage::OnPaint(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  ShowBankName();
  return 0;
}

LRESULT CMilocardApplyPage::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  WORD code = HIWORD(wParam);
  bool readOnly = (m_nameEdit.GetStyle() & ES_READONLY) != 0;
  if ((code == EN_SETFOCUS || code == EN_KILLFOCUS) && !readOnly && m_pHost)
    ::SendMessageW(m_pHost->m_hWnd, WM_COMMAND, wParam, lParam);
  bHandled = FALSE;
  return 0;
}

void CMilocardApplyPage::Apply()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!m_pHost || !app)
    return;
  const MilocardCardData& data = m_pHost->GetCardData();
  CStringW bankId = m_pHost->GetSelectedBank().bankId;
  CStringW realName;
  m_nameEdit.GetWindowText(realName);
  CStringW idCard = data.idCardNumber;
  if (data.identityMissing == 1)
    m_idCardEdit.GetWindowText(idCard);
  CStringW message;
  bool valid = ValidateRealName(realName, message) && (data.identityMissing != 1 || ValidateIdCardNumber(idCard, message));
  if (!valid) {
    app->ShowMessageBox(GetActiveWindow(), message, CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
    Relayout();
    return;
  }
  if (!service)
    return;
  // Only the application's own codes count: the unread count's 32 and 33 change nothing.
  std::mutex lock;
  int status = 0;
  CFacadeAnswer answer({kApplied, kApplyFailed}, [&](int code, HRESULT, LPARAM value, bool first) {
    if (!first)
      return;
    std::lock_guard<std::mutex> guard(lock);
    status = code == kApplied ? 100 : static_cast<int>(value);
  });
  HWND self = m_hWnd;
  bool answered = RunBehindWaitBox(*app, *service, answer,
                                   [&] { return service->RequestMC(bankId, realName, idCard); }, u"正在申请，请稍候……");
  if (answered && ::IsWindow(self)) {
    if (status == 100) {
      m_pHost->ShowApply(false);
      m_pHost->IncrementStep();
      m_pHost->ShowDone(true);
    } else {
      app->ShowMessageBox(GetActiveWindow(), answer.Memo(), CStringW(), KV_BOX_ERROR, FALSE, SW_HIDE);
      if (status == 200) {
        m_pHost->CloseHost();
        app->SetUserName(CStringW());
        app->SetGreeting(CStringW());
        app->ShowLoginDlg(5);
      }
    }
  }
  if (HWND box = app->GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
}

LRESULT CMilocardApplyPage::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  DeleteScrollForm();
  if (m_nameEdit.m_hWnd)
    m_nameEdit.UnsubclassWindow();
  if (m_idCardEdit.m_hWnd)
    m_idCardEdit.UnsubclassWindow();
  return 0;
}
