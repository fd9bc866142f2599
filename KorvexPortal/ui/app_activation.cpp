// The activation request "confirmMobilePay" that status 111 calls for. The application object
// listens for its answer itself and shows the outcome, so no screen needs to.
#include "app_services.h"

#include "facade_answer.h"
#include "facade_request.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "payment_service.h"

namespace {

constexpr int kActivated = 10;
constexpr int kActivationFailed = 11;

}  // namespace

int CKorvexPortalApp::SubmitActivation(IServiceListener*)
{
  CPaymentService* service = GetPaymentService();
  if (!service) {
    WRITE_LOG_ENTRY(u"no service");
    return 0;
  }
  if (!m_hActivationEvent)
    m_hActivationEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!m_hActivationEvent)
    return 0;
  // The record of code 10 is lent for the call; its status and memo reach us as the memo.
  CFacadeAnswer answer({kActivated, kActivationFailed}, nullptr, m_hActivationEvent);
  if (!RunBehindWaitBox(*this, *service, answer, [service] { return service->ConfirmMobilePay(); },
                        u"正在提交数据，请稍候……"))
    return 0;
  CStringW memo = answer.Memo();
  if (answer.Code() == kActivated) {
    if (!memo.IsEmpty())
      ShowMessageBox(GetActiveWindow(), memo, CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
  } else {
    ShowMessageBox(GetActiveWindow(), FailureText(memo), CStringW(),
                   KV_BOX_ERROR, FALSE, SW_HIDE);
  }
  return 0;
}
