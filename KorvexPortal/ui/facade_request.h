// One facade request of a screen, run behind the shared wait box: a listener that keeps the
// answer of the screen's own operation only (the unread counts of the desktop and every other
// operation are ignored before anything is stored), the wait box while it runs, and a cancel of
// the command when the user cancels the box; and the boxes the screens show around it.
#pragma once

#include <functional>
#include <initializer_list>

#include "facade_answer.h"
#include "message_box_types.h"
#include "text/cstring.h"
#include "windows.h"

class CPaymentService;
class CServiceCommand;

struct FacadeReply {
  // False when there was no service or the operation made no command: nothing was sent.
  bool started = false;
  // False when nothing was started, the user cancelled the wait or no answer came.
  bool answered = false;
  // The notification code that answered.
  int code = 0;
  // 100 for a success code; the reply's status for a refusal; 0 for a transport or parse failure.
  int status = 0;
  CStringW memo;
};

// Starts the operation with the application's service and waits behind the wait box with the
// text (a wait of the type given) for one of its codes: its answers, the failure code last. take sees each notification of
// those codes on the network worker, to copy what it needs or free the record it carries.
FacadeReply RunFacadeRequest(std::initializer_list<int> codes,
                             const std::function<CServiceCommand*(CPaymentService&)>& start,
                             const CStringW& waitText, const CFacadeAnswer::TakeValue& take = nullptr,
                             UINT waitType = KV_BOX_WAIT);

// The memo, or the network text when the failure came without one.
CStringW FailureText(const CStringW& memo);

// The message of a field error "<field>,<message>": the text after the first comma, or the whole
// memo when it has no comma or starts with one.
CStringW FieldErrorText(const CStringW& memo);

// A box of the application's owned by the window: the key that ended it, or KV_BOX_NO_ANSWER
// without an application.
int ShowApplicationBox(HWND owner, const CStringW& text, UINT type);
