// The result callback of the service facade, implemented by the dialogs that call it.
#pragma once

#include "base/types.h"

class IServiceListener {
 public:
  virtual ~IServiceListener() = default;

  // Called on the network worker thread. code is the operation's notification code, hr 0 or
  // the failure; value is per operation and outcome: a result record that the listener owns
  // from now on, a number from the reply, the failing "resultStatus", or 0. memo is valid only
  // during the call. Returns 0.
  virtual int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) = 0;
};
