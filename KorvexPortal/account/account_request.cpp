#include "account_request.h"

#include "app_services.h"
#include "facade_answer.h"
#include "log_writer.h"
#include "net_transport.h"
#include "payment_service.h"
#include "service_errors.h"

namespace {

constexpr int kStatusSuccess = 100;

}  // namespace

AccountAnswer RunAccountRequest(int successCode, int failureCode, const std::function<CServiceCommand*()>& start,
                                const CStringW& waitText)
{
  AccountAnswer result;
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service) {
    WRITE_LOG_ENTRY(u"no service");
    return result;
  }
  int status = 0;
  // A refusal carries the reply's status in the value; a transport or parse failure has none.
  CFacadeAnswer answer({successCode, failureCode}, [&](int code, HRESULT hr, LPARAM value, bool first) {
    if (first)
      status = code == successCode ? kStatusSuccess : hr == E_SERVICE_BUSINESS ? static_cast<int>(value) : 0;
  });
  bool started = false;
  bool answered = RunBehindWaitBox(*app, *service, answer, [&] {
    CServiceCommand* command = start();
    started = command != nullptr;
    return command;
  }, waitText);
  if (!started)
    return result;
  if (!answered) {
    result.outcome = AccountAnswer::kCancelled;
    return result;
  }
  result.outcome = AccountAnswer::kAnswered;
  result.status = status;
  result.memo = answer.Memo();
  return result;
}

CStringW FailureText(const CStringW& memo)
{
  return memo.IsEmpty() ? CStringW(kServerConnectionErrorText) : memo;
}
