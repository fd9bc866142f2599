// One HTTP exchange on libcurl: a request and its reply, hop by hop through redirects, so that
// every hop gives and takes cookies through the process's jar. Every hop verifies TLS against
// the device's CA bundle and ends when the device's connect or stall limit runs out.
//
// The owner runs the hops: StartHop gives the easy handle to perform (on a multi handle), and
// EndHop, with libcurl's result, says whether another hop follows. A redirect from https to
// anything but https is not followed: the exchange fails with ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR.
// The listener hears of the final reply's headers and body on the thread that performs the
// transfer.
#pragma once

#include "base/types.h"
#include "url_text.h"

#include <curl/curl.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace inet {

// Sets libcurl up for the process, once; every user of libcurl calls it first.
void InitialiseCurl();

struct ExchangeRequest {
  std::string method = "GET";
  std::string url;                   // absolute http or https URL, escaped
  bool http10 = false;               // HTTP/1.0 instead of HTTP/1.1
  std::vector<std::string> headers;  // "Name: value"
  std::string body;
  std::string agent;
  std::string proxy;                 // "host:port"; empty: direct
  bool useCookies = true;
  bool followRedirects = true;
  // SECURITY_FLAG_IGNORE_* the caller asked for; honoured only under the device's debug switch.
  DWORD ignoredCertificateErrors = 0;
};

struct ExchangeReply {
  std::string version;  // "HTTP/1.1"
  long status = 0;
  std::string statusText;
  std::vector<std::pair<std::string, std::string>> headers;  // in the order received

  // The index-th value of a header, its name compared without regard to case; null when absent.
  const std::string* Find(std::string_view name, size_t index = 0) const;
};

class ExchangeListener {
 public:
  // The final reply's status line and headers are in.
  virtual void OnReply(const ExchangeReply& reply) = 0;
  // Bytes of the final reply's body: returns size, or CURL_WRITEFUNC_PAUSE to be called again
  // with the same bytes after the transfer is resumed; anything else aborts the transfer.
  virtual size_t OnBody(const char* data, size_t size) = 0;

 protected:
  ~ExchangeListener() = default;
};

class HttpExchange {
 public:
  HttpExchange(ExchangeRequest request, ExchangeListener& listener);
  ~HttpExchange();
  HttpExchange(const HttpExchange&) = delete;
  HttpExchange& operator=(const HttpExchange&) = delete;

  // The easy handle of the next hop, set up to perform; null (with error() set) when it cannot
  // be made.
  CURL* StartHop();
  // Ends the hop with libcurl's result and frees its handle. True when a redirect is to be
  // followed with another StartHop; otherwise the exchange is over and error() tells how.
  bool EndHop(CURLcode result);

  CURL* easy() const { return easy_; }
  // ERROR_INTERNET_* of a failed exchange; 0 once it ended well.
  DWORD error() const { return error_; }

 private:
  static constexpr int kMaxRedirects = 10;

  static size_t HeaderLine(char* data, size_t size, size_t count, void* self);
  static size_t BodyBytes(char* data, size_t size, size_t count, void* self);
  void TakeHeaderLine(std::string_view line);
  void EndOfHeaders();
  bool SetUp();
  // True (and logged) when this hop went over https and the redirect to `next` would leave it.
  bool LeavesTls(const std::string& next) const;
  void FreeHop();

  ExchangeRequest request_;
  ExchangeListener& listener_;
  std::optional<UrlParts> hopUrl_;
  CURL* easy_ = nullptr;
  curl_slist* headerList_ = nullptr;
  ExchangeReply reply_;  // of the hop under way
  bool redirecting_ = false;
  int redirects_ = 0;
  DWORD error_ = 0;
};

}  // namespace inet
