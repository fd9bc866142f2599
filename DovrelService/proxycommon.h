// The order-pay road of the gateway service: starts the client for one merchant order and
// waits for the outcome it hands back (handoff/order_pay_handoff.h).
#pragma once

#include "base/types.h"

// Result codes of RunOrderPay.
inline constexpr int kOrderPaid = 0;
inline constexpr int kOrderBusyOrNotStarted = 2;
inline constexpr int kOrderFailed = 4;

// Runs one order: the client is started with "/ORDERPAY:<order>" and the service waits until it
// has handed back its outcome or ended. Returns kOrderPaid when it handed back status 0, with its
// payload in result; kOrderFailed when it handed back status 4, ended without handing back a
// valid outcome or the wait failed; the status itself for any other status (result empty);
// kOrderBusyOrNotStarted, with a message box, when another order is in progress ("result=fail"
// in result), the client's path is unknown or the client could not be started. result holds
// *capacity characters and a terminator.
int RunOrderPay(const WCHAR* order, WCHAR* result, DWORD* capacity);
