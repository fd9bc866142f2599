// The Connection Manager's calls over the process's connection state.
#include "base/errors.h"
#include "connection_manager.h"
#include "net/connmgr.h"

#include <cstring>

HRESULT ConnMgrEstablishConnection(CONNMGR_CONNECTIONINFO* pConnInfo, HANDLE* phConnection)
{
  if (!phConnection) {
    return E_POINTER;
  }
  *phConnection = nullptr;
  if (!pConnInfo || pConnInfo->cbSize != sizeof(CONNMGR_CONNECTIONINFO) || pConnInfo->hWnd) {
    return E_INVALIDARG;
  }
  GUID destination = (pConnInfo->dwParams & CONNMGR_PARAM_GUIDDESTNET) ? pConnInfo->guidDestNet : IID_DestNetInternet;
  return net::ConnectionManager::Process().Establish(destination, phConnection);
}

HRESULT ConnMgrConnectionStatus(HANDLE hConnection, DWORD* pdwStatus)
{
  if (!pdwStatus) {
    return E_POINTER;
  }
  return net::ConnectionManager::Process().Status(hConnection, pdwStatus);
}

HRESULT ConnMgrReleaseConnection(HANDLE hConnection, LONG)
{
  return net::ConnectionManager::Process().Release(hConnection);
}

HRESULT ConnMgrProviderMessage(HANDLE hConnection, const GUID* pguidProvider, DWORD*, DWORD, DWORD, PBYTE pParams,
                               ULONG cbParamSize)
{
  if (!pguidProvider || !pParams) {
    return E_POINTER;
  }
  if (!net::SameGuid(*pguidProvider, IID_ConnPrv_IProxyExtension)) {
    return E_NOTIMPL;
  }
  if (cbParamSize != sizeof(PROXY_CONFIG)) {
    return E_INVALIDARG;
  }
  auto* config = reinterpret_cast<PROXY_CONFIG*>(pParams);
  std::optional<std::u16string> proxy = net::ConnectionManager::Process().Proxy(hConnection);
  if (!proxy) {
    return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
  }
  if (config->dwType != CONNMGR_FLAG_PROXY_HTTP || proxy->empty() || proxy->size() >= CMPROXY_PROXYSERVER_MAXSIZE) {
    return E_FAIL;
  }
  std::memset(config->szProxyServer, 0, sizeof config->szProxyServer);
  proxy->copy(config->szProxyServer, proxy->size());
  config->dwEnable = TRUE;
  return S_OK;
}
