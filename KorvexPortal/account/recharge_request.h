// What the recharge pages share for their gateway calls and boxes: one facade operation run behind
// the shared wait box, and the message boxes of the application object.
#pragma once

#include "account_request.h"

#include <functional>
#include <initializer_list>

#include "facade_answer.h"
#include "message_box_types.h"
#include "text/cstring.h"
#include "windows.h"

class CPaymentService;
class CServiceCommand;

struct RechargeAnswer {
  // False when nothing was started, the user cancelled the wait or no answer came.
  bool answered = false;
  int code = 0;
  CStringW memo;
};

// Runs the operation: the listener hears only the codes given and hands each to take (on the
// network worker; take copies what it needs and frees a record it is given). Shows the wait box
// with the text (of the wait type given) while the command runs and cancels it when the user does.
RechargeAnswer RunRechargeRequest(std::initializer_list<int> codes, const CFacadeAnswer::TakeValue& take,
                                  const std::function<CServiceCommand*(CPaymentService&)>& start,
                                  const CStringW& waitText, UINT waitType = KV_BOX_WAIT);

// A message box of the application object owned by the window; the key that ended it.
int ShowRechargeBox(HWND owner, const CStringW& text, UINT type);

