#include "payment_request.h"

#include <atomic>

#include "app_services.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "net_transport.h"
#include "payment_service.h"
#include "service_errors.h"

namespace {

const WCHAR kNotActivatedText[] = u"您需在本手机客户端上开通支付功能，请按短信提示回复开通。";
// The brief error note: an error that closes by itself.
constexpr UINT kBriefErrorNote = KV_BOX_ERROR | KV_BOX_SELF_CLOSING;

}  // namespace

PaymentReply RunPaymentRequest(int successCode, int failureCode,
                               const std::function<CServiceCommand*(CPaymentService&)>& start,
                               const CStringW& waitText, CFacadeAnswer::TakeValue take)
{
  PaymentReply reply;
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service)
    return reply;
  std::atomic<int> status{0};
  CFacadeAnswer answer({successCode, failureCode}, [&](int code, HRESULT hr, LPARAM value, bool first) {
    if (first) {
      // A refusal carries the reply's status; a transport or parse failure has none.
      status = code == successCode ? kPaymentStatusSuccess : hr == E_SERVICE_BUSINESS ? static_cast<int>(value) : 0;
    }
    if (take)
      take(code, hr, value, first);
  });
  reply.answered = RunBehindWaitBox(*app, *service, answer, [&] { return start(*service); }, waitText);
  if (reply.answered) {
    reply.status = status;
    reply.memo = answer.Memo();
  }
  return reply;
}

int ShowPaymentBox(HWND owner, const CStringW& text, UINT type)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  return app ? app->ShowMessageBox(owner, text, CStringW(), type, FALSE, SW_HIDE) : KV_BOX_NO_ANSWER;
}

void ShowPaymentFailure(HWND owner, const CStringW& memo)
{
  ShowPaymentBox(owner, memo.IsEmpty() ? CStringW(kServerConnectionErrorText) : memo, KV_BOX_ERROR);
}

CStringW ShowFieldErrorMemo(HWND owner, const CStringW& memo)
{
  int comma = memo.GetLength() > 1 ? memo.Find(u',', 1) : -1;
  if (comma < 0) {
    ShowPaymentBox(owner, memo.IsEmpty() ? CStringW(kServerConnectionErrorText) : memo, kBriefErrorNote);
    return CStringW();
  }
  ShowPaymentBox(owner, memo.Mid(comma + 1), kBriefErrorNote);
  return memo.Left(comma);
}

void ShowInputError(HWND owner, const CStringW& text, HWND field)
{
  ShowPaymentBox(owner, text, kBriefErrorNote);
  if (field)
    ::SetFocus(field);
}

void RequestActivation(HWND owner, IServiceListener* listener, const WCHAR* logSource)
{
  ShowPaymentBox(owner, kNotActivatedText, KV_BOX_INFO);
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (app && app->GetMainDialog()) {
    app->SubmitActivation(listener);
  } else {
    WRITE_LOG_ENTRY(u"%s: no main dialog for the activation", logSource);
  }
}

CStringW GetItemText(HWND dialog, int id)
{
  HWND item = ::GetDlgItem(dialog, id);
  int length = item ? ::GetWindowTextLengthW(item) : 0;
  CStringW text;
  if (length > 0) {
    ::GetWindowTextW(item, text.GetBuffer(length), length + 1);
    text.ReleaseBuffer();
  }
  return text;
}
