#include "data_connection.h"

#include <atomic>
#include <cstdio>

#include "apn_store.h"
#include "kernel/kernel.h"
#include "net/net.h"
#include "text/cstring.h"
#include "text/widechar.h"

namespace {

// Reset requests taken by any worker of the process so far.
std::atomic<unsigned> g_resetsTaken{0};

void SetProxy(ConnectionState& state, const WCHAR* proxy)
{
  state.proxyEnabled = true;
  wcsncpy(state.proxy, proxy, 256);
  state.proxy[256] = 0;
}

void ClearProxy(ConnectionState& state)
{
  state.proxyEnabled = false;
  state.proxy[0] = 0;
}

// Sets the proxy that a stored access point's APN asks for.
void ChooseProxyForApn(ConnectionState& state, const CStringW& apn)
{
  if (apn == u"cmwap" || apn == u"uniwap" || apn == u"3gwap") {
    SetProxy(state, kFirstCarrierWapProxy);
  } else if (apn == u"ctwap") {
    SetProxy(state, kSecondCarrierWapProxy);
  } else {
    ClearProxy(state);
  }
}

// Waits until the connection is up (TRUE) or has failed, or the cancel event is set.
bool WaitUntilConnected(HANDLE connection, HANDLE cancelEvent)
{
  HANDLE handles[2] = {connection, cancelEvent};
  DWORD count = cancelEvent ? 2 : 1;
  for (;;) {
    if (WaitForMultipleObjects(count, handles, FALSE, INFINITE) != WAIT_OBJECT_0) {
      return false;
    }
    DWORD status = 0;
    if (FAILED(ConnMgrConnectionStatus(connection, &status))) {
      return false;
    }
    switch (status) {
      case CONNMGR_STATUS_CONNECTED:
        return true;
      case CONNMGR_STATUS_WAITINGCONNECTION:
      case CONNMGR_STATUS_WAITINGDISCONNECTION:
      case CONNMGR_STATUS_WAITINGCONNECTIONABORT:
        break;
      default:
        return false;
    }
  }
}

// Takes the proxy that the connection reports, when it reports one.
void TakeReportedProxy(ConnectionState& state)
{
  PROXY_CONFIG config{};
  config.dwType = CONNMGR_FLAG_PROXY_HTTP;
  if (SUCCEEDED(ConnMgrProviderMessage(state.hConnection, &IID_ConnPrv_IProxyExtension, nullptr, 0, 0,
                                       reinterpret_cast<PBYTE>(&config), sizeof config)) &&
      config.szProxyServer[0] != 0) {
    config.szProxyServer[CMPROXY_PROXYSERVER_MAXSIZE - 1] = 0;
    SetProxy(state, config.szProxyServer);
  }
}

bool Connect(ConnectionState& state, HANDLE cancelEvent)
{
  ApnEntry stored;
  bool useDefault = !ReadApnSettings(stored);
  if (useDefault) {
    // The default destination reports its own proxy, if any; an earlier choice's is stale.
    ClearProxy(state);
  } else {
    ChooseProxyForApn(state, stored.apn);
  }

  CONNMGR_CONNECTIONINFO info{};
  info.cbSize = sizeof info;
  info.dwParams = CONNMGR_PARAM_GUIDDESTNET;
  info.dwFlags = CONNMGR_FLAG_PROXY_HTTP | CONNMGR_FLAG_PROXY_WAP;
  info.dwPriority = CONNMGR_PRIORITY_USERINTERACTIVE;
  info.bExclusive = FALSE;
  info.bDisabled = FALSE;
  info.guidDestNet = useDefault ? IID_DestNetInternet : stored.destination;

  WriteConnectionTrace(useDefault ? u"UseDefault=TRUE" : u"UseDefault=FALSE");
  WriteConnectionTrace(CStringW(u"APN=") + (useDefault ? u"" : stored.apn));
  WriteConnectionTrace(CStringW(u"Proxy=") + (state.proxyEnabled ? state.proxy : u"NULL"));

  if (FAILED(ConnMgrEstablishConnection(&info, &state.hConnection))) {
    state.hConnection = nullptr;
    return false;
  }
  bool connected = WaitUntilConnected(state.hConnection, cancelEvent);
  if (connected && useDefault) {
    TakeReportedProxy(state);
  }
  if (!connected) {
    ConnMgrReleaseConnection(state.hConnection, 0);
    state.hConnection = nullptr;
  }
  return connected;
}

}  // namespace

void WriteConnectionTrace(const WCHAR* text)
{
  FILE* file = _wfopen(kConnectionTraceFile, u"ab");
  if (!file) {
    return;
  }
  fputws(text, file);
  fputws(u"\n", file);
  fclose(file);
}

void HangUpAllRasConnections()
{
  RASCONN connections[20] = {};
  for (RASCONN& connection : connections) {
    connection.dwSize = sizeof(RASCONN);
  }
  DWORD size = sizeof connections;
  DWORD count = 0;
  if (RasEnumConnections(connections, &size, &count) != 0) {
    return;
  }
  for (DWORD i = 0; i < count && i < 20; ++i) {
    RasHangUp(connections[i].hrasconn);
  }
}

void ReleaseConnection(ConnectionState& state)
{
  if (state.hConnection) {
    ConnMgrReleaseConnection(state.hConnection, 0);
    state.hConnection = nullptr;
  }
  state.proxyEnabled = false;
}

BOOL EnsureConnection(ConnectionState& state, HANDLE cancelEvent)
{
  WriteConnectionTrace(u"===IsAvailable===");
  if (TakeResetConnectionFlag()) {
    HangUpAllRasConnections();
    ++g_resetsTaken;
  }
  unsigned resets = g_resetsTaken.load();
  if (state.resetsSeen != resets) {
    state.resetsSeen = resets;
    if (state.hConnection) {
      ConnMgrReleaseConnection(state.hConnection, 0);
      state.hConnection = nullptr;
    }
  }
  if (state.hConnection) {
    return TRUE;
  }
  return Connect(state, cancelEvent) ? TRUE : FALSE;
}
