#include "gateway_address.h"
#include "inet/cookie.h"
#include "payment_service.h"

CStringW& GetGatewaySessionCookie(CStringW& out)
{
  out.Empty();
  CStringW url = GetGatewayUrl(u"/puc/webMC.htm");
  DWORD size = 0;
  InternetGetCookieW(url, u"JSESSIONID", nullptr, &size);
  if (size == 0) {
    return out;
  }
  WCHAR* buffer = out.GetBuffer(static_cast<int>(size));
  if (!InternetGetCookieW(url, u"", buffer, &size)) {
    out.ReleaseBuffer(0);
    return out;
  }
  out.ReleaseBuffer();
  int start = out.Find(u"JSESSIONID");
  if (start >= 0) {
    out = out.Mid(start);
    int end = out.Find(u';');
    if (end >= 0) {
      out = out.Left(end);
    }
  }
  return out;
}
