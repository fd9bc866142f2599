// A listener that passes each result on to listeners of its own: the service facade. A command
// notifies it through RelayResult, which tells whether anyone received the value.
#pragma once

#include <cstddef>

#include "base/types.h"

class IResultRelay {
 public:
  virtual ~IResultRelay() = default;

  // Passes the result on as OnServiceNotify does; returns how many listeners were called with it.
  virtual size_t RelayResult(int code, HRESULT hr, LPARAM value, const WCHAR* memo) = 0;
};
