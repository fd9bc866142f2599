// The phone's data connection as the network workers need it: each worker keeps a connection
// state of its own and calls EnsureConnection before every request. The connection chooser
// writes what it does to the trace file "\korvex_log.txt".
#pragma once

#include "base/types.h"

inline constexpr const WCHAR* kConnectionTraceFile = u"\\korvex_log.txt";
// The carriers' WAP proxies: the first serves "cmwap", "uniwap" and "3gwap", the second "ctwap".
inline constexpr const WCHAR* kFirstCarrierWapProxy = u"10.0.0.172:80";
inline constexpr const WCHAR* kSecondCarrierWapProxy = u"10.0.0.200:80";

struct ConnectionState {
  HANDLE hConnection = nullptr;  // the Connection Manager connection held
  bool proxyEnabled = false;     // requests go through the proxy text
  WCHAR proxy[257] = {};         // "host:port"
  // The reset requests this state has acted on, compared with the process's count.
  unsigned resetsSeen = 0;

  // The proxy to open sessions with: the text while the flag is set, else NULL.
  const WCHAR* ProxyOrNull() const { return proxyEnabled ? proxy : nullptr; }
};

// TRUE when a connection is held or has been made. cancelEvent (may be NULL) ends a wait for
// the connection. A reset request left by the access-point settings is taken by the first
// worker, which hangs up every data link; every state then gives its own connection up once
// and connects anew.
BOOL EnsureConnection(ConnectionState& state, HANDLE cancelEvent);

// Gives the held connection up and clears the proxy flag, so the next request reconnects.
void ReleaseConnection(ConnectionState& state);

// Hangs up every data link of the phone.
void HangUpAllRasConnections();

// Appends the text and a line feed to the trace file; failures change nothing.
void WriteConnectionTrace(const WCHAR* text);
