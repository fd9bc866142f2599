// The Connection Manager: data connections of the phone to destination networks, their
// status and their proxies, answered from the device settings ([connection] sections) and
// scriptable by tests (testing/connections.h).
//
// A connection handle is a kernel object a wait can name: it is signalled whenever the
// connection's status changes, and a wait takes the signal. The default Internet destination
// is always reachable (through the host's network, or the settings' connection to it); another
// destination is reachable when a [connection] names it. A connection that is up rides on a
// data link that RAS lists (ras.h) while the destination has a [connection]; the link stays up
// after the connection is released, until RAS hangs it up.
#pragma once

#include "base/errors.h"
#include "base/types.h"

// What CONNMGR_CONNECTIONINFO carries.
#define CONNMGR_PARAM_GUIDDESTNET 0x1
#define CONNMGR_PARAM_MAXCOST 0x2
#define CONNMGR_PARAM_MINRCVBW 0x4
#define CONNMGR_PARAM_MAXCONNLATENCY 0x8

#define CONNMGR_FLAG_PROXY_HTTP 0x1
#define CONNMGR_FLAG_PROXY_WAP 0x2
#define CONNMGR_FLAG_PROXY_SOCKS4 0x4
#define CONNMGR_FLAG_PROXY_SOCKS5 0x8

#define CONNMGR_PRIORITY_VOICE 0x20000
#define CONNMGR_PRIORITY_USERINTERACTIVE 0x08000
#define CONNMGR_PRIORITY_USERBACKGROUND 0x02000
#define CONNMGR_PRIORITY_USERIDLE 0x00800
#define CONNMGR_PRIORITY_HIPRIBKGND 0x00200
#define CONNMGR_PRIORITY_IDLEBKGND 0x00080
#define CONNMGR_PRIORITY_EXTERNALINTERACTIVE 0x00020
#define CONNMGR_PRIORITY_LOWBKGND 0x00008
#define CONNMGR_PRIORITY_CACHED 0x00002
#define CONNMGR_PRIORITY_ALWAYS_ON 0x00001

// Connection statuses.
#define CONNMGR_STATUS_UNKNOWN 0x00
#define CONNMGR_STATUS_CONNECTED 0x10
#define CONNMGR_STATUS_SUSPENDED 0x11
#define CONNMGR_STATUS_DISCONNECTED 0x20
#define CONNMGR_STATUS_CONNECTIONFAILED 0x21
#define CONNMGR_STATUS_CONNECTIONCANCELED 0x22
#define CONNMGR_STATUS_CONNECTIONDISABLED 0x23
#define CONNMGR_STATUS_NOPATHTODESTINATION 0x24
#define CONNMGR_STATUS_WAITINGFORPATH 0x25
#define CONNMGR_STATUS_WAITINGFORPHONE 0x26
#define CONNMGR_STATUS_PHONEOFF 0x27
#define CONNMGR_STATUS_EXCLUSIVECONFLICT 0x28
#define CONNMGR_STATUS_NORESOURCES 0x29
#define CONNMGR_STATUS_CONNECTIONLINKFAILED 0x2A
#define CONNMGR_STATUS_AUTHENTICATIONFAILED 0x2B
#define CONNMGR_STATUS_WAITINGCONNECTION 0x40
#define CONNMGR_STATUS_WAITINGFORRESOURCE 0x41
#define CONNMGR_STATUS_WAITINGFORNETWORK 0x42
#define CONNMGR_STATUS_WAITINGDISCONNECTION 0x80
#define CONNMGR_STATUS_WAITINGCONNECTIONABORT 0x81

// {436EF144-B4FB-4863-A041-8F905A62C572}: the Internet.
inline constexpr GUID IID_DestNetInternet = {0x436EF144, 0xB4FB, 0x4863, {0xA0, 0x41, 0x8F, 0x90, 0x5A, 0x62, 0xC5, 0x72}};
// {AF96B0BD-A481-482C-A094-A8448767A0C0}: the provider that reports a connection's proxy.
inline constexpr GUID IID_ConnPrv_IProxyExtension = {0xAF96B0BD, 0xA481, 0x482C,
                                                     {0xA0, 0x94, 0xA8, 0x44, 0x87, 0x67, 0xA0, 0xC0}};

// cbSize must be sizeof(CONNMGR_CONNECTIONINFO). Status messages to a window (hWnd) are not
// supported; leave it NULL and wait on the connection handle.
struct CONNMGR_CONNECTIONINFO {
  DWORD cbSize;
  DWORD dwParams;
  DWORD dwFlags;
  DWORD dwPriority;
  BOOL bExclusive;
  BOOL bDisabled;
  GUID guidDestNet;
  HWND hWnd;
  UINT uMsg;
  LPARAM lParam;
  ULONG ulMaxCost;
  ULONG ulMinRcvBw;
  ULONG ulMaxConnLatency;
};

// A connection's proxy, asked for with ConnMgrProviderMessage and IID_ConnPrv_IProxyExtension.
#define CMPROXY_PROXYSERVER_MAXSIZE 256
#define CMPROXY_USERNAME_MAXSIZE 32
#define CMPROXY_PASSWORD_MAXSIZE 32
#define CMPROXY_EXTRAINFO_MAXSIZE 256
#define CMPROXY_PROXYOVERRIDE_MAXSIZE 64

struct PROXY_CONFIG {
  DWORD dwType;  // CONNMGR_FLAG_PROXY_*
  BOOL dwEnable;
  WCHAR szProxyServer[CMPROXY_PROXYSERVER_MAXSIZE];  // "host:port"
  WCHAR szUsername[CMPROXY_USERNAME_MAXSIZE];
  WCHAR szPassword[CMPROXY_PASSWORD_MAXSIZE];
  WCHAR szProxyOverride[CMPROXY_PROXYOVERRIDE_MAXSIZE];
  WCHAR szExtraInfo[CMPROXY_EXTRAINFO_MAXSIZE];
};

// Detailed statuses: one record per data connection of the phone, chained through pNext in the
// caller's buffer.
#define CONNMGRDETAILEDSTATUS_VERSION 1
#define CONNMGRDETAILEDSTATUS_PARAM_TYPE 0x00000001
#define CONNMGRDETAILEDSTATUS_PARAM_SUBTYPE 0x00000002
#define CONNMGRDETAILEDSTATUS_PARAM_DESTNET 0x00000004
#define CONNMGRDETAILEDSTATUS_PARAM_SOURCENET 0x00000008
#define CONNMGRDETAILEDSTATUS_PARAM_DESCRIPTION 0x00000010
#define CONNMGRDETAILEDSTATUS_PARAM_ADAPTERNAME 0x00000020
#define CONNMGRDETAILEDSTATUS_PARAM_CONNSTATUS 0x00000040
#define CONNMGRDETAILEDSTATUS_PARAM_LASTCONNECT 0x00000080
#define CONNMGRDETAILEDSTATUS_PARAM_SIGNALQUALITY 0x00000100
#define CONNMGRDETAILEDSTATUS_PARAM_IPADDR 0x00000200

#define CM_CONNTYPE_UNKNOWN 0
#define CM_CONNTYPE_CELLULAR 1
#define CM_CONNTYPE_NIC 2
#define CM_CONNTYPE_BLUETOOTH 3
#define CM_CONNTYPE_UNIMODEM 4
#define CM_CONNTYPE_VPN 5
#define CM_CONNTYPE_PROXY 6
#define CM_CONNTYPE_PC 7

#define CM_CONNSUBTYPE_CELLULAR_UNKNOWN 0
#define CM_CONNSUBTYPE_CELLULAR_CSD 1
#define CM_CONNSUBTYPE_CELLULAR_GPRS 2

struct CONNMGR_CONNECTION_IPADDR;

struct CONNMGR_CONNECTION_DETAILED_STATUS {
  CONNMGR_CONNECTION_DETAILED_STATUS* pNext;
  DWORD dwVer;
  DWORD dwParams;
  DWORD dwType;
  DWORD dwSubtype;
  DWORD dwFlags;
  DWORD dwSecure;
  GUID guidDestNet;
  GUID guidSourceNet;
  WCHAR* szDescription;
  WCHAR* szAdapterName;
  DWORD dwConnectionStatus;
  SYSTEMTIME LastConnectTime;
  DWORD dwSignalQuality;
  CONNMGR_CONNECTION_IPADDR* pIPAddr;
};

// Starts a connection to the destination (IID_DestNetInternet without CONNMGR_PARAM_GUIDDESTNET)
// and returns its handle at once; its status tells when it is up. E_INVALIDARG for a bad
// record, E_POINTER for a null handle pointer.
HRESULT ConnMgrEstablishConnection(CONNMGR_CONNECTIONINFO* pConnInfo, HANDLE* phConnection);

// The connection's status now.
HRESULT ConnMgrConnectionStatus(HANDLE hConnection, DWORD* pdwStatus);

// Gives the handle up; the data link it rides on stays up.
HRESULT ConnMgrReleaseConnection(HANDLE hConnection, LONG lCache);

// With IID_ConnPrv_IProxyExtension and a PROXY_CONFIG of dwType CONNMGR_FLAG_PROXY_HTTP: fills in
// the proxy the connection reports. E_FAIL when it reports none; E_NOTIMPL for other providers.
HRESULT ConnMgrProviderMessage(HANDLE hConnection, const GUID* pguidProvider, DWORD* pdwIndex, DWORD dwMsg1, DWORD dwMsg2,
                               PBYTE pParams, ULONG cbParamSize);

// Fills the buffer with the chain of records; with a buffer too small (or none) returns
// HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) and the size needed in *pcbBufferSize.
HRESULT ConnMgrQueryDetailedStatus(CONNMGR_CONNECTION_DETAILED_STATUS* pStatusBuffer, DWORD* pcbBufferSize);
