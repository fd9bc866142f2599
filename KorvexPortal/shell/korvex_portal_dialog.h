// The single-instance rule of the client: a normal start hands its command line to a running
// client and ends.
#pragma once

#include "text/cstring.h"
#include "windows.h"

// The marker of order-pay mode on the command line; a copy started with it runs beside a client.
inline constexpr const WCHAR* kOrderPayMarker = u"/ORDERPAY";

// Whether the raw command line asks for order-pay mode (the marker anywhere in it).
bool IsOrderPayCommandLine(const CStringW& commandLine);

class CKorvexPortalDialog {
 public:
  // 1 when a running client was found: it is given the command line (WM_COPYDATA, when the line
  // is not empty) and brought to the front. 0 when none runs. A copy started in order-pay mode
  // counts only by a window titled "KorvexPortal", which it never has: it does not block a start.
  static int ActivatePreviousInstance(HINSTANCE instance, const CStringW& commandLine);
};

// Whether another process of this program runs that is not an order-pay copy (one whose command
// line holds the order-pay marker).
bool FindOtherClientProcess();
