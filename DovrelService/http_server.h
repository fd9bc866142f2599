// The local gateway: one merchant request per connection, "/gateway.do" with the service
// "order_pay", answered with the payment's result, as a redirect to the page's return_url or
// as the bare result text.
#pragma once

#include <string>

#include "base/types.h"
#include "net/winsock.h"

// The order-pay callback (RunOrderPay): the order text, a zeroed result buffer of capacity + 1
// characters and its capacity; returns the result code, 0 for paid.
typedef int (*OrderPayCallback)(const WCHAR* order, WCHAR* result, DWORD* capacity);

// The callback the next requests use (process-wide); null: none, which answers code 4095.
void SetOrderPayCallback(OrderPayCallback callback);

// The most a request may hold, and how long the whole of it may take to arrive.
inline constexpr int kRequestLimit = 4096;
inline constexpr DWORD kRequestTimeoutMs = 10000;

// Reads one request from the connected socket, answers it and returns 0. The caller closes the
// socket. A request is read until its head has ended and its Content-Length of body followed,
// within kRequestLimit bytes and kRequestTimeoutMs. One whose head did not end in them is
// refused, and so is a POST whose body is shorter than its Content-Length or whose head and
// Content-Length together pass kRequestLimit; neither starts a payment. A POST without
// Content-Length has no body.
int HandleHttpConnection(SOCKET s);

// Answers "HTTP/1.1 <status> <text>" redirecting to location, with no body.
bool SendRedirect(SOCKET s, int status, const std::string& statusText, const std::string& location);
// Answers the error page: its head, then the page (GBK) naming the status and the detail.
bool SendErrorPage(SOCKET s, int status, const std::string& statusText, const std::string& detail);
