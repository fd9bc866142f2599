#include "milocard_step4_dlg.h"

#include "app_services.h"
#include "input_validators.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "milocard_host_dlg.h"
#include "payment_service.h"
#include "secret_wipe.h"
#include "selvane/selvane.h"
#include "thread_message_box.h"
#include "window_helpers.h"

#define LOG_STEP4(...) WriteLogEntry("RegMilocardStep4Dlg", __LINE__, __VA_ARGS__)

namespace {

constexpr COLORREF kEditFrameColour = 0xFF0000;
constexpr DWORD kPasswordBufferChars = 260;

}  // namespace

CMilocardStep4Dlg::~CMilocardStep4Dlg() = default;

LRESULT CMilocardStep4Dlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  m_hint.SubclassWindow(GetDlgItem(IDC_MILOCARD_ACTIVATE_HINT));
  m_cardEdit.SubclassEdit(GetDlgItem(IDC_MILOCARD_CARD_NUMBER), kEditFrameColour);
  m_passwordEdit.SubclassEdit(GetDlgItem(IDC_MILOCARD_PAY_PASSWORD), kEditFrameColour);
  CreateScrollForm();
  ::SetFocus(m_cardEdit.m_hWnd);
  DisableImeForWindow(m_cardEdit.m_hWnd);
  DisableImeForWindow(m_passwordEdit.m_hWnd);
  HelpMe(m_passwordEdit.m_hWnd);
  m_bGuarded = true;
  return FALSE;
}

LRESULT CMilocardStep4Dlg::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  WORD code = HIWORD(wParam);
  if ((code == EN_SETFOCUS || code == EN_KILLFOCUS) && m_pHost)
    ::SendMessageW(m_pHost->m_hWnd, WM_COMMAND, wParam, lParam);
  bHandled = FALSE;
  return 0;
}

int CMilocardStep4Dlg::OnServiceNotify(int code, HRESULT, LPARAM value, const WCHAR* memo)
{
  // Only the activation's own codes count; the unread count (32, 33) and any other operation's
  // result pass by before anything is stored.
  if (code != kBound && code != kBindFailed)
    return 0;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_strMemo = memo ? memo : u"";
    m_status = code == kBound ? 100 : static_cast<int>(value);
  }
  CThreadMessageBox::Instance().EndWait();
  return 0;
}

void CMilocardStep4Dlg::Activate()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return;
  m_cardEdit.GetWindowText(m_strCardNumber);
  WCHAR buffer[kPasswordBufferChars] = {};
  SecretWiper wipe(buffer, sizeof buffer);
  GetInputForMe(m_passwordEdit.m_hWnd, buffer, sizeof buffer);
  buffer[kPasswordBufferChars - 1] = 0;
  CStringW password(buffer);
  CStringW message;
  if (!ValidateBankAccount(m_strCardNumber, message) || !ValidatePassword(password, message)) {
    WipeSecret(password);
    app->ShowMessageBox(GetActiveWindow(), message, CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
    Relayout();
    return;
  }
  CPaymentService* service = app->GetPaymentService();
  if (!service) {
    WipeSecret(password);
    return;
  }
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_status = 0;
    m_strMemo.Empty();
  }
  CThreadMessageBox::Instance().ArmWait();
  service->AddListener(this);
  CServiceCommand* command = service->BindingMC(m_strCardNumber, password);
  WipeSecret(password);
  if (command) {
    int key = app->ShowMessageBox(GetActiveWindow(), u"正在激活，请稍候……", CStringW(), KV_BOX_WAIT, TRUE, SW_HIDE);
    if (key == KV_BOX_ANSWER_CANCEL)
      service->Cancel(command);
    else
      PostMessage(WM_KV_MCBIND_DONE);
  }
  service->RemoveListener(this);
}

LRESULT CMilocardStep4Dlg::OnBindDone(UINT, WPARAM, LPARAM, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  int status = 0;
  CStringW memo;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    status = m_status;
    memo = m_strMemo;
  }
  if (!app)
    return 0;
  if (HandleCommonStatus(status, memo)) {
    if (m_pHost)
      m_pHost->CloseHost();
  } else if (status == 100) {
    app->ShowMessageBox(GetActiveWindow(), u"激活成功！", CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
    if (app->GetMainDialog()) {
      app->ShowDesktopDlg(5);
      if (m_pHost)
        m_pHost->CloseHost();
    } else {
      LOG_STEP4(u"no main dialog: the wizard stays");
    }
  } else {
    app->ShowMessageBox(GetActiveWindow(), memo, CStringW(), KV_BOX_ERROR, FALSE, SW_HIDE);
  }
  if (HWND box = app->GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
  return 0;
}

LRESULT CMilocardStep4Dlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  if (m_bGuarded) {
    FreeMe(m_passwordEdit.m_hWnd);
    m_bGuarded = false;
  }
  DeleteScrollForm();
  if (m_cardEdit.m_hWnd)
    m_cardEdit.UnsubclassWindow();
  if (m_passwordEdit.m_hWnd)
    m_passwordEdit.UnsubclassWindow();
  if (m_hint.m_hWnd)
    m_hint.UnsubclassWindow();
  return 0;
}
