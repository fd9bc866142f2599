// The message list's fetch: the request and its wait, the listener, and taking the outcome.
#include "app_services.h"
#include "facade_request.h"
#include "message_box_types.h"
#include "message_store.h"
#include "msg_dlg.h"
#include "payment_service.h"
#include "service_errors.h"
#include "service_results.h"
#include "thread_message_box.h"

namespace {

constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;
constexpr int kMessageSuccess = 75;
constexpr int kMessageFailure = 76;

}  // namespace

void CMsgDlg::Fetch()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service) {
    PostMessage(WM_CLOSE);
    return;
  }
  // What the listener fills is reset and the wait armed before the request starts, so an
  // answer that comes before the box shows is kept.
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_nStatus = 0;
    m_strMemo.Empty();
    m_pReply.reset();
  }
  CThreadMessageBox::Instance().ArmWait();
  service->AddListener(this);
  CServiceCommand* command = service->ViewMsgDetail();
  int answer = KV_BOX_NO_ANSWER;
  if (command) {
    answer = app->ShowMessageBox(m_hWnd, u"正在获取最新消息...", CStringW(), KV_BOX_WAIT, FALSE, SW_HIDE);
    if (answer == KV_BOX_ANSWER_CANCEL)
      service->Cancel(command);
  }
  service->RemoveListener(this);
  if (!IsWindow())
    return;
  PostMessage(command && answer != KV_BOX_ANSWER_CANCEL ? WM_KV_MSG_FETCHED : WM_CLOSE);
}

int CMsgDlg::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  if (code != kMessageSuccess && code != kMessageFailure)
    return 0;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_strMemo = memo ? memo : u"";
    if (code == kMessageSuccess) {
      m_nStatus = kStatusSuccess;
      m_pReply.reset(reinterpret_cast<MsgDetailResult*>(value));
    } else {
      // A refusal carries the reply's status; a transport or parse failure has none.
      m_nStatus = hr == E_SERVICE_BUSINESS ? static_cast<int>(value) : 0;
    }
  }
  CThreadMessageBox::Instance().EndWait();
  return 0;
}

LRESULT CMsgDlg::OnFetched(UINT, WPARAM, LPARAM, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  int status;
  CStringW memo;
  std::unique_ptr<MsgDetailResult> reply;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    status = m_nStatus;
    memo = m_strMemo;
    reply = std::move(m_pReply);
  }
  if (HandleCommonStatus(status, memo) || status == kStatusSessionEnded) {
    if (IsWindow())
      PostMessage(WM_CLOSE);
    return 0;
  }
  if (status != kStatusSuccess || !reply) {
    // A failed fetch says why: the gateway's memo, or the network text when it gave none.
    ShowNotice(FailureText(memo), KV_BOX_ERROR);
    return 0;
  }
  m_nMsgCount = reply->msgCount;
  if (app)
    app->ShowUnreadCount(m_nMsgCount);
  if (reply->msgId > 0) {
    m_shown.msgId = reply->msgId;
    m_shown.topic = reply->msgTopic.c_str();
    m_shown.content = reply->msgContent.c_str();
    m_shown.sender = reply->msgFrom.c_str();
    m_shown.type = reply->msgType.c_str();
    m_shown.date = reply->msgDate.c_str();
    SaveMessageFile(LogonId(), m_shown.msgId, FormatMessageFile(m_shown));
    Render();
    return 0;
  }
  ShowNotice(u"您当前暂时没有未读消息。", KV_BOX_INFO);
  if (m_shown.msgId < 1 && IsWindow()) {
    if (GetNewestMessageId(LogonId()) > 0)
      SendMessage(WM_COMMAND, ID_MSG_PREVIOUS);
    else
      PostMessage(WM_COMMAND, ID_MSG_CLOSE);
  }
  return 0;
}
