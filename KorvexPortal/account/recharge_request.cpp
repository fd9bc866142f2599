#include "recharge_request.h"

#include "app_services.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "net_transport.h"

RechargeAnswer RunRechargeRequest(std::initializer_list<int> codes, const CFacadeAnswer::TakeValue& take,
                                  const std::function<CServiceCommand*(CPaymentService&)>& start,
                                  const CStringW& waitText, UINT waitType)
{
  RechargeAnswer result;
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service)
    return result;
  CFacadeAnswer answer(codes, take);
  result.answered = RunBehindWaitBox(*app, *service, answer, [&] { return start(*service); }, waitText, waitType);
  if (result.answered) {
    result.code = answer.Code();
    result.memo = answer.Memo();
  }
  return result;
}

int ShowRechargeBox(HWND owner, const CStringW& text, UINT type)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  return app ? app->ShowMessageBox(owner, text, CStringW(), type, FALSE, SW_HIDE) : KV_BOX_NO_ANSWER;
}

