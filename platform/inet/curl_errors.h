// libcurl's results as the device's HTTP errors.
#pragma once

#include "base/types.h"

#include <curl/curl.h>

namespace inet {

// The ERROR_INTERNET_* code of a failed transfer. verifyResult is the certificate verification
// result libcurl reports (CURLINFO_SSL_VERIFYRESULT), which tells an unknown authority from an
// expired certificate or a name that does not match.
DWORD InternetErrorOf(CURLcode code, long verifyResult);

// The URL download result (INET_E_*) of an HTTP error.
HRESULT DownloadResultOf(DWORD internetError);

}  // namespace inet
