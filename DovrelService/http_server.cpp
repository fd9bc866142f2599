#include "http_server.h"

#include <atomic>
#include <string_view>
#include <vector>

#include "http_request.h"
#include "kernel/time.h"
#include "text/codepage.h"

namespace {

std::atomic<OrderPayCallback> g_orderPay{nullptr};

constexpr int kResultCapacity = 4095;      // characters of the callback's result text
constexpr size_t kLocationLimit = 4095;    // bytes of a Location value
constexpr int kNoCallback = 4095;

// The bytes of a text in a code page (CP_ACP: GBK; CP_UTF8).
std::string Bytes(UINT codePage, const WCHAR* text)
{
  int size = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(size > 0 ? static_cast<size_t>(size) : 1, '\0');
  WideCharToMultiByte(codePage, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  bytes.resize(bytes.size() - 1);
  return bytes;
}

std::u16string Wide(UINT codePage, std::string_view bytes)
{
  if (bytes.empty()) {
    return {};
  }
  int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string text(size > 0 ? static_cast<size_t>(size) : 0, u'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
  return text;
}

bool SendText(SOCKET s, std::string_view bytes)
{
  return bytes.empty() || send(s, bytes.data(), static_cast<int>(bytes.size()), 0) != SOCKET_ERROR;
}

bool HoldsControlCharacter(std::string_view text)
{
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) {
      return true;
    }
  }
  return false;
}

void SetTimeout(SOCKET s, int option, DWORD milliseconds)
{
  setsockopt(s, SOL_SOCKET, option, reinterpret_cast<const char*>(&milliseconds), sizeof milliseconds);
}

// Receives until the head has ended and Content-Length bytes of body followed it, or that
// whole would pass kRequestLimit, or kRequestLimit bytes arrived, the peer stopped sending or
// kRequestTimeoutMs passed.
std::string ReceiveRequest(SOCKET s)
{
  std::vector<char> buffer(kRequestLimit);
  size_t received = 0;
  DWORD start = GetTickCount();
  while (received < buffer.size()) {
    DWORD spent = GetTickCount() - start;
    if (spent >= kRequestTimeoutMs) {
      break;
    }
    SetTimeout(s, SO_RCVTIMEO, kRequestTimeoutMs - spent);
    int count = recv(s, buffer.data() + received, static_cast<int>(buffer.size() - received), 0);
    if (count <= 0) {
      break;
    }
    received += static_cast<size_t>(count);
    std::string_view text(buffer.data(), received);
    size_t headEnd = FindHeadEnd(text);
    if (headEnd != std::string_view::npos) {
      size_t whole = headEnd + static_cast<size_t>(ContentLength(text.substr(0, headEnd)));
      if (text.size() >= whole || whole > buffer.size()) {
        break;
      }
    }
  }
  return std::string(buffer.data(), received);
}

// Whether a POST holds the whole body its head announced, within kRequestLimit: an order cut
// short is not the one the merchant sent, and must not start a payment.
bool HoldsItsWholeBody(const CHttpRequest& request, size_t headLength)
{
  if (request.method != kHttpPost) {
    return true;
  }
  size_t length = static_cast<size_t>(request.contentLength);
  return headLength + length <= static_cast<size_t>(kRequestLimit) && request.body.size() == length;
}

// The value of a parameter; empty when missing.
std::string Parameter(const std::map<std::string, std::string>& params, const char* name)
{
  auto found = params.find(name);
  return found == params.end() ? std::string() : found->second;
}

// Refuses a request: the page with a return_url to show it, else the bare text.
void Refuse(SOCKET s, const std::string& returnUrl, const WCHAR* detail)
{
  std::string bytes = Bytes(CP_ACP, detail);
  if (returnUrl.empty()) {
    SendText(s, bytes);
  } else {
    SendErrorPage(s, 404, Bytes(CP_ACP, u"未找到"), bytes);
  }
}

}  // namespace

void SetOrderPayCallback(OrderPayCallback callback)
{
  g_orderPay.store(callback);
}

int HandleHttpConnection(SOCKET s)
{
  SetTimeout(s, SO_SNDTIMEO, kRequestTimeoutMs);
  std::string text = ReceiveRequest(s);
  CHttpRequest request;
  // A request whose head never ended, or a POST whose body did not wholly arrive (too long, cut
  // off or too slow), is not served.
  size_t headEnd = FindHeadEnd(text);
  if (headEnd == std::string::npos || !ParseHttpRequest(request, text) || !HoldsItsWholeBody(request, headEnd)) {
    SendText(s, Bytes(CP_ACP, u"非法访问"));
    return 0;
  }
  const auto& params = request.method == kHttpGet ? request.queryParams : request.formParams;
  std::string charset = Parameter(request.queryParams, "_input_charset");
  std::string returnUrl = Parameter(params, "return_url");
  std::string service = Parameter(params, "service");
  const std::string& raw = request.method == kHttpGet ? request.queryString : request.body;
  if (request.path != "/gateway.do") {
    Refuse(s, returnUrl, u"非法访问");
    return 0;
  }
  if (service != "order_pay") {
    Refuse(s, returnUrl, u"您访问的服务接口没有定义");
    return 0;
  }

  std::u16string order = Wide(charset == "utf-8" ? CP_UTF8 : CP_ACP, raw);
  std::vector<WCHAR> result(kResultCapacity + 1, u'\0');
  DWORD capacity = kResultCapacity;
  OrderPayCallback orderPay = g_orderPay.load();
  int code = orderPay ? orderPay(order.c_str(), result.data(), &capacity) : kNoCallback;
  result.back() = u'\0';
  const WCHAR* resultText = result.data();
  if (*resultText == u'\0') {
    resultText = code != 0 ? u"result=fail" : u"result=success";
  }
  std::string answer = Bytes(CP_UTF8, resultText);

  // A Location must stay one header line within its buffer; otherwise the bare result goes.
  if (!returnUrl.empty() && returnUrl.size() + 1 + answer.size() <= kLocationLimit &&
      !HoldsControlCharacter(returnUrl) && !HoldsControlCharacter(answer)) {
    SendRedirect(s, 300, "Redirect Page", returnUrl + "?" + answer);
  } else {
    SendText(s, answer);
  }
  return 0;
}

bool SendRedirect(SOCKET s, int status, const std::string& statusText, const std::string& location)
{
  std::string head = "HTTP/1.1 " + std::to_string(status) + " " + statusText +
                     "\r\nServer: Korvex HttpServer\r\nDate: \r\nLocation:" + location +
                     "\r\nContent-Type: text/html\r\nAccept-Ranges: bytes\r\n\r\n";
  return SendText(s, head);
}

bool SendErrorPage(SOCKET s, int status, const std::string& statusText, const std::string& detail)
{
  std::string code = std::to_string(status);
  std::string page = "<Html>\n<Head><Title>HTTP " + code + " (" + statusText + ")</Title>\n</Head>\n<Body>\n<h1>" +
                     statusText + "</h1>\n<h2>" + Bytes(CP_ACP, u"错误详细描述：") + detail +
                     "</h2>\n</Body>\n</Html>";
  std::string head = "HTTP/1.1 " + code + " " + statusText +
                     "\r\nServer: Korvex HttpServer\r\nDate: \r\nContent-Type: text/html\r\nAccept-Ranges: "
                     "bytes\r\nContent-Length: " +
                     std::to_string(page.size()) + "\r\n\r\n";
  return SendText(s, head) && SendText(s, page);
}
