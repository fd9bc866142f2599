// Where the gateway is: its host is device configuration; the scheme is always "https://".
#pragma once

#include "base/types.h"
#include "text/cstring.h"

// The gateway's host and port ("127.0.0.1:8443"), taken from the device's gateway setting
// without its scheme and path; empty when the device names no gateway.
CStringW GetGatewayHost();

// "https://" + the gateway's host + path ("/home/mobile.htm").
CStringW GetGatewayUrl(const WCHAR* path);

// The path of every gateway request.
inline constexpr const WCHAR* kGatewayRequestPath = u"/home/mobile.htm";
