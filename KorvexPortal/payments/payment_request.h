// One gateway request of a payment screen, run behind the shared wait box, and the boxes the
// screens show around it.
#pragma once

#include <functional>

#include "facade_answer.h"
#include "text/cstring.h"
#include "windows.h"

class CPaymentService;
class CServiceCommand;

inline constexpr int kPaymentStatusSuccess = 100;
inline constexpr int kPaymentStatusNotActivated = 111;
inline constexpr int kPaymentStatusSessionEnded = 200;

struct PaymentReply {
  // False when nothing was started, the user cancelled the wait or no answer came.
  bool answered = false;
  // 100 for the success code; the reply's status for a refusal; 0 when there was no reply.
  int status = 0;
  CStringW memo;
};

// Starts the operation with the screen's service (nothing when there is none) and waits behind
// the wait box with the text for its success or failure code. take sees each notification of
// those two codes on the network worker, to copy or free the record it carries.
PaymentReply RunPaymentRequest(int successCode, int failureCode,
                               const std::function<CServiceCommand*(CPaymentService&)>& start,
                               const CStringW& waitText, CFacadeAnswer::TakeValue take = nullptr);

// A box of the application's: the answer, or KV_BOX_NO_ANSWER without an application.
int ShowPaymentBox(HWND owner, const CStringW& text, UINT type);

// A refusal's memo in an error box, or the network text when it has none.
void ShowPaymentFailure(HWND owner, const CStringW& memo);

// A gateway field error "<field>,<message>": the message (the whole memo when it has no comma
// after its first character) in the brief error note; returns the field name ("" for none).
CStringW ShowFieldErrorMemo(HWND owner, const CStringW& memo);

// The brief error note of a failed input check, then the focus on the field.
void ShowInputError(HWND owner, const CStringW& text, HWND field);

// Status 111: the note, then the activation request when the application has a main dialog.
void RequestActivation(HWND owner, IServiceListener* listener, const WCHAR* logSource);

// The text of a dialog item ("" when there is none).
CStringW GetItemText(HWND dialog, int id);
