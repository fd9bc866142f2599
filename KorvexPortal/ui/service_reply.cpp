#include "service_reply.h"

#include "json/reader.h"
#include "base/lasterror.h"
#include "service_errors.h"

BOOL ParseServiceReply(const WCHAR* text, Json::Value& value)
{
  if (!text || !*text) {
    SetLastError(static_cast<DWORD>(E_SERVICE_EMPTY_REPLY));
    return FALSE;
  }
  Json::Reader reader;
  std::u16string document(text);
  if (!reader.parse(document, value, false) || value.type() != Json::objectValue) {
    SetLastError(static_cast<DWORD>(E_SERVICE_BAD_REPLY));
    return FALSE;
  }
  const Json::Value& status = value[u"resultStatus"];
  if (!status.isInt() && !status.isUInt()) {
    SetLastError(static_cast<DWORD>(E_SERVICE_BAD_REPLY));
    return FALSE;
  }
  if ((status.isInt() ? static_cast<long long>(status.asInt()) : static_cast<long long>(status.asUInt())) != 100) {
    SetLastError(static_cast<DWORD>(E_SERVICE_BUSINESS));
    return FALSE;
  }
  return TRUE;
}
