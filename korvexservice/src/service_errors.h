// The failure codes of the service layer and the texts the user is shown for them.
#pragma once

#include "base/types.h"

// The gateway answered and its "resultStatus" is not 100; the reply's "memo" says why.
inline constexpr HRESULT E_SERVICE_BUSINESS = static_cast<HRESULT>(0x80200001u);
// The reply text is empty.
inline constexpr HRESULT E_SERVICE_EMPTY_REPLY = static_cast<HRESULT>(0x80200002u);
// The reply is not JSON, or has no numeric "resultStatus".
inline constexpr HRESULT E_SERVICE_BAD_REPLY = static_cast<HRESULT>(0x80200003u);
// No data connection, or the HTTP exchange failed.
inline constexpr HRESULT E_SERVICE_NETWORK = static_cast<HRESULT>(0x80200004u);

// The text shown for E_OUTOFMEMORY.
inline constexpr const WCHAR* kOutOfMemoryText = u"内存不足";

// The text shown for a failure code, or null for a code without one (business and network
// failures carry their own texts).
const WCHAR* LookupErrorText(HRESULT hr);
