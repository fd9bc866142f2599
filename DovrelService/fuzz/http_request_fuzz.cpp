// Requests of any bytes to the local gateway: parsing never reads outside them, and what it
// takes stays within what arrived.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "http_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CHttpRequest request;
  bool valid = ParseHttpRequest(request, text);
  size_t headEnd = FindHeadEnd(text);
  if (valid != (request.method == kHttpGet || request.method == kHttpPost) ||
      (headEnd != std::string_view::npos && headEnd > size) ||
      request.body.size() > static_cast<size_t>(request.contentLength) || request.body.size() > size ||
      request.contentLength < 0 || request.queryString.size() > size) {
    abort();
  }
  return 0;
}
