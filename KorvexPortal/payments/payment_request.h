// The boxes and notes the payment screens show around their gateway requests (run with
// RunFacadeRequest), and the activation request.
#pragma once

#include "facade_request.h"
#include "service_listener.h"
#include "text/cstring.h"
#include "windows.h"

inline constexpr int kPaymentStatusSuccess = 100;
inline constexpr int kPaymentStatusNotActivated = 111;
inline constexpr int kPaymentStatusSessionEnded = 200;

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
