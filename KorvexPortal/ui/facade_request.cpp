#include "facade_request.h"

#include <atomic>

#include "app_services.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "net_transport.h"
#include "payment_service.h"
#include "service_errors.h"

namespace {

constexpr int kStatusSuccess = 100;

}  // namespace

FacadeReply RunFacadeRequest(std::initializer_list<int> codes,
                             const std::function<CServiceCommand*(CPaymentService&)>& start,
                             const CStringW& waitText, const CFacadeAnswer::TakeValue& take, UINT waitType)
{
  FacadeReply reply;
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service) {
    WRITE_LOG_ENTRY(u"no service");
    return reply;
  }
  const int failureCode = codes.size() > 0 ? *(codes.end() - 1) : 0;
  std::atomic<int> status{0};
  CFacadeAnswer answer(codes, [&](int code, HRESULT hr, LPARAM value, bool first) {
    if (first) {
      // A refusal carries the reply's status in the value; a transport or parse failure has none.
      status = code != failureCode ? kStatusSuccess : hr == E_SERVICE_BUSINESS ? static_cast<int>(value) : 0;
    }
    if (take)
      take(code, hr, value, first);
  });
  reply.answered = RunBehindWaitBox(*app, *service, answer, [&] {
    CServiceCommand* command = start(*service);
    reply.started = command != nullptr;
    return command;
  }, waitText, waitType);
  if (reply.answered) {
    reply.code = answer.Code();
    reply.status = status;
    reply.memo = answer.Memo();
  }
  return reply;
}

CStringW FailureText(const CStringW& memo)
{
  return memo.IsEmpty() ? CStringW(kServerConnectionErrorText) : memo;
}

CStringW FieldErrorText(const CStringW& memo)
{
  int comma = memo.Find(u',');
  return comma > 0 ? memo.Mid(comma + 1) : memo;
}

int ShowApplicationBox(HWND owner, const CStringW& text, UINT type)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  return app ? app->ShowMessageBox(owner, text, CStringW(), type, FALSE, SW_HIDE) : KV_BOX_NO_ANSWER;
}
