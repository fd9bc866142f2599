#include "gateway_address.h"

#include "inet/gateway_address.h"

CStringW GetGatewayHost()
{
  CStringW host(GetDeviceGatewayUrl().c_str());
  int scheme = host.Find(u"://");
  if (scheme >= 0) {
    host = host.Mid(scheme + 3);
  }
  int path = host.FindOneOf(u"/?#");
  if (path >= 0) {
    host = host.Left(path);
  }
  return host;
}

CStringW GetGatewayUrl(const WCHAR* path)
{
  return CStringW(u"https://") + GetGatewayHost() + path;
}
