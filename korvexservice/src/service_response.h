// The check every reply parser makes first: is the reply JSON, and did the gateway say yes?
#pragma once

#include "base/types.h"
#include "json/value.h"

// TRUE when the reply parses into out and its "resultStatus" is the number 100. Otherwise
// FALSE with the thread's last error set: E_SERVICE_EMPTY_REPLY for a null or empty reply,
// E_SERVICE_BAD_REPLY when it is not JSON or has no numeric "resultStatus", E_SERVICE_BUSINESS
// for any other status. After a parse out holds the reply, so the caller can read "memo".
BOOL CheckServiceResponse(const WCHAR* reply, Json::Value& out);
