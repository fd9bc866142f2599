// A gateway reply text parsed whole, for the screens that read nested members (the trade table
// that rides with the login reply, the unpaid-trade list).
#pragma once

#include "base/types.h"
#include "json/value.h"

// Parses the reply text into value. TRUE only when it parses and its "resultStatus" is the number
// 100. Otherwise FALSE with the thread's last error: 0x80200002 for a null or empty text,
// 0x80200003 for a text that does not parse or has no numeric "resultStatus", 0x80200001 for any
// other status.
BOOL ParseServiceReply(const WCHAR* text, Json::Value& value);
