// The device's HTTP layer: internet handles, HTTP requests with asynchronous completion, the
// process's cookie jar, and URL downloads.
#pragma once

#include "inet/cookie.h"
#include "inet/errors.h"
#include "inet/gateway_address.h"
#include "inet/http_request.h"
#include "inet/internet.h"
#include "inet/url_download.h"
