#include "curl_errors.h"

#include "base/errors.h"
#include "inet/errors.h"

namespace inet {
namespace {

// Verification results that tell the kind of certificate error: OpenSSL's, and the 1 that
// libcurl leaves when the chain verified but its own host name check failed.
constexpr long kNameCheckFailed = 1;
constexpr long kCertificateNotYetValid = 9;
constexpr long kCertificateExpired = 10;
constexpr long kHostnameMismatch = 62;

}  // namespace

DWORD InternetErrorOf(CURLcode code, long verifyResult)
{
  switch (code) {
    case CURLE_OK:
      return ERROR_SUCCESS;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_URL_MALFORMAT:
      return ERROR_INTERNET_INVALID_URL;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
      return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
      return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
      return ERROR_INTERNET_TIMEOUT;
    case CURLE_ABORTED_BY_CALLBACK:
      return ERROR_INTERNET_OPERATION_CANCELLED;
    case CURLE_TOO_MANY_REDIRECTS:
      return ERROR_INTERNET_REDIRECT_FAILED;
    case CURLE_PEER_FAILED_VERIFICATION:
      if (verifyResult == kCertificateExpired || verifyResult == kCertificateNotYetValid) {
        return ERROR_INTERNET_SEC_CERT_DATE_INVALID;
      }
      if (verifyResult == 0 || verifyResult == kNameCheckFailed || verifyResult == kHostnameMismatch) {
        return ERROR_INTERNET_SEC_CERT_CN_INVALID;
      }
      return ERROR_INTERNET_INVALID_CA;
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
      return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_GOT_NOTHING:
    case CURLE_BAD_CONTENT_ENCODING:
      return ERROR_INTERNET_INVALID_SERVER_RESPONSE;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
      return ERROR_INTERNET_CONNECTION_RESET;
    case CURLE_PARTIAL_FILE:
      return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_OUT_OF_MEMORY:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_INTERNET_INTERNAL_ERROR;
  }
}

HRESULT DownloadResultOf(DWORD internetError)
{
  switch (internetError) {
    case ERROR_INTERNET_INVALID_URL:
      return INET_E_INVALID_URL;
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
      return INET_E_UNKNOWN_PROTOCOL;
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
    case ERROR_INTERNET_CANNOT_CONNECT:
      return INET_E_CANNOT_CONNECT;
    case ERROR_INTERNET_TIMEOUT:
      return INET_E_CONNECTION_TIMEOUT;
    case ERROR_INTERNET_OPERATION_CANCELLED:
      return E_ABORT;
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
      return INET_E_SECURITY_PROBLEM;
    case ERROR_INTERNET_REDIRECT_FAILED:
    case ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR:
      return INET_E_REDIRECT_FAILED;
    case ERROR_NOT_ENOUGH_MEMORY:
      return E_OUTOFMEMORY;
    default:
      return INET_E_DOWNLOAD_FAILURE;
  }
}

}  // namespace inet
