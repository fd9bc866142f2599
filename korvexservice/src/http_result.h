// The result codes of the HTTP layer and the texts the user sees for them.
#pragma once

#include "base/types.h"
#include "text/cstring.h"

typedef int HttpResult;

enum : HttpResult {
  kHttpOk = 0,
  kHttpBadUrl = 1,             // URL empty, too long, or not parsable
  kHttpNoInternet = 2,         // the internet handle could not be opened
  kHttpConnectFailed = 3,      // no connection, no request, a failed read, or a status other than 200
  kHttpSendFailed = 4,         // the request could not be sent
  kHttpConversionFailed = 5,   // the reply bytes could not be converted to text
  kHttpCallbackFailed = 6,     // the status callback could not be installed
  kHttpWaitFailed = 7,         // waiting on the events failed
  kHttpTimeout = 8,            // the time-out ran out
  kHttpCancelled = 9,          // the caller's cancel event was set; never reported to the user
};

// The user's text for codes 1 to 8; "成功" for every other code, 9 included.
void GetNetErrorText(HttpResult code, CStringW& text);
