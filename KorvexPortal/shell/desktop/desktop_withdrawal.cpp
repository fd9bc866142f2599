// The desktop's withdrawal entry: the withdrawal data is asked for before the page shows, and
// the answer that payment is not activated on this phone starts the activation.
#include "app_services.h"
#include "desktop_dlg.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "thread_message_box.h"

namespace {

constexpr int kWithdrawalData = 42;
constexpr int kWithdrawalDataFailed = 43;
constexpr int kSuccess = 100;
constexpr int kNotActivated = 111;
constexpr WCHAR kWaitText[] = u"正在申请提现，请稍候……";
constexpr WCHAR kNotActivatedText[] = u"您需在本手机客户端上开通支付功能，请按短信提示回复开通。";
constexpr WCHAR kNetworkText[] = u"连接服务器出错";

void HideSharedBox(CKorvexPortalApp& app)
{
  if (HWND box = app.GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
}

}  // namespace

int CDesktopDlg::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  // Only the withdrawal data ends the desktop's wait; the unread counts and the results of other
  // operations (the activation's included) are not the desktop's.
  if (code != kWithdrawalData && code != kWithdrawalDataFailed)
    return 0;
  {
    std::lock_guard<std::mutex> guard(m_resultLock);
    m_lastResult = hr;
    if (code == kWithdrawalData) {
      m_withdrawal.reset(reinterpret_cast<WithdrawInfo*>(value));
      m_lastStatus = m_withdrawal ? kSuccess : 0;
      m_lastMemo.Empty();
    } else {
      m_lastStatus = static_cast<int>(value);
      m_lastMemo = memo ? memo : u"";
    }
  }
  CThreadMessageBox::Instance().EndWait();
  return 0;
}

void CDesktopDlg::OpenWithdrawal()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return;
  DesktopSlot slot = DesktopSlot::kWithdrawal;
  RetirePage(slot, 2);
  m_pages[static_cast<int>(slot)] = m_openers.createWithdrawal ? m_openers.createWithdrawal() : nullptr;

  {
    std::lock_guard<std::mutex> guard(m_resultLock);
    m_withdrawal.reset();
    m_lastResult = 0;
    m_lastStatus = 0;
    m_lastMemo.Empty();
  }
  CPaymentService* service = app->GetPaymentService();
  CServiceCommand* command = nullptr;
  int answer = KV_BOX_NO_ANSWER;
  if (service) {
    CThreadMessageBox::Instance().ArmWait();
    service->AddListener(&m_listener);
    command = service->PreDrawMoney();
    if (command) {
      answer = app->ShowMessageBox(m_hWnd, kWaitText, u"", KV_BOX_WAIT, TRUE, SW_SHOW);
      if (answer == KV_BOX_ANSWER_CANCEL)
        service->Cancel(command);
    }
    service->RemoveListener(&m_listener);
  }
  if (!IsWindow())
    return;
  if (!command) {
    // Nothing was sent: said, not left silent.
    app->ShowMessageBox(m_hWnd, kNetworkText, u"", KV_BOX_ERROR, FALSE, SW_HIDE);
  } else if (answer != KV_BOX_ANSWER_CANCEL) {
    int status = 0;
    {
      std::lock_guard<std::mutex> guard(m_resultLock);
      status = m_lastStatus;
    }
    ShowWithdrawalResult(status);
  } else {
    HideSharedBox(*app);
  }
  if (IsWindow())
    SwitchTo(slot);
}

void CDesktopDlg::ShowWithdrawalResult(int status)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return;
  CStringW memo;
  std::unique_ptr<WithdrawInfo> withdrawal;
  {
    std::lock_guard<std::mutex> guard(m_resultLock);
    memo = m_lastMemo;
    if (status == kSuccess)
      withdrawal = std::move(m_withdrawal);
  }
  CBaseDlg* page = m_pages[static_cast<int>(DesktopSlot::kWithdrawal)];
  if (status == kSuccess) {
    DesktopPageContext context;
    context.desktop = m_hWnd;
    context.withdrawal = withdrawal.get();
    if (page && withdrawal && m_openers.showWithdrawal)
      m_openers.showWithdrawal(page, context);
  } else if (status == kNotActivated) {
    app->ShowMessageBox(m_hWnd, kNotActivatedText, u"", KV_BOX_INFO, FALSE, SW_SHOW);
    if (app->GetMainDialog())
      app->SubmitActivation(&m_listener);
    else
      WRITE_LOG_ENTRY(u"DesktopDlg: no main window for the activation");
  } else {
    HideSharedBox(*app);
    if (HandleCommonStatus(status, memo))
      return;
    app->ShowMessageBox(m_hWnd, memo.IsEmpty() ? CStringW(kNetworkText) : memo, u"", KV_BOX_ERROR, FALSE, SW_HIDE);
  }
  HideSharedBox(*app);
}

LRESULT CDesktopDlg::OnDesktopResult(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  // 0: the web page dialog came back after a trade payment, which it has shown itself.
  if (wParam != 0)
    ShowWithdrawalResult(static_cast<int>(wParam));
  return 0;
}
