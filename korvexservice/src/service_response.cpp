#include "service_response.h"

#include "base/lasterror.h"
#include "json/reader.h"
#include "reply_fields.h"
#include "service_errors.h"

BOOL CheckServiceResponse(const WCHAR* reply, Json::Value& out)
{
  if (reply == nullptr || reply[0] == 0) {
    SetLastError(static_cast<DWORD>(E_SERVICE_EMPTY_REPLY));
    return FALSE;
  }
  Json::Reader reader;
  const WCHAR* end = reply;
  while (*end != 0) {
    ++end;
  }
  std::optional<int> status;
  if (reader.parse(reply, end, out, false) && out.isObject()) {
    status = ReplyNumber(out, u"resultStatus");
  }
  if (!status) {
    SetLastError(static_cast<DWORD>(E_SERVICE_BAD_REPLY));
    return FALSE;
  }
  if (*status != 100) {
    SetLastError(static_cast<DWORD>(E_SERVICE_BUSINESS));
    return FALSE;
  }
  return TRUE;
}
