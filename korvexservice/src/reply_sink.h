// What the network transport calls back on its worker thread for each request it carries.
#pragma once

#include "base/types.h"

class CNetRequest;

class IReplySink {
 public:
  virtual ~IReplySink() = default;

  // The reply text of a request that got one (never empty).
  virtual void OnResponse(const WCHAR* reply) = 0;
  // The request could not be carried out: E_SERVICE_NETWORK with the text the user is shown.
  virtual void OnError(HRESULT hr, const WCHAR* text) = 0;
  // The worker is done with the request (answered, failed or dropped); it is deleted right
  // after this call, and a cancel must no longer reach it.
  virtual void OnRequestDone(CNetRequest* request) = 0;
};
