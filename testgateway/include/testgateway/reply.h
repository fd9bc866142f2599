// What the test gateway answers to one request: an HTTP reply, or a connection-level fault.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace testgateway {

// What happens to the request once it has been read (after any delay).
enum class Action {
  Answer,  // send the reply
  Stall,   // hold the request until released (then answer) or until the client gives up
  Close,   // close the connection without a reply
};

// How the body text is put on the wire.
enum class BodyEncoding {
  Utf8,  // the bytes as given (UTF-8 text, or any bytes)
  Gbk,   // the UTF-8 text converted to GBK (the device's ANSI code page)
};

inline constexpr const char* kJsonUtf8 = "application/json;charset=UTF-8";

struct Reply {
  Action action = Action::Answer;
  int httpStatus = 200;
  std::string body;                         // UTF-8 text, converted per `encoding`
  std::string contentType = kJsonUtf8;      // empty: no Content-Type header at all
  BodyEncoding encoding = BodyEncoding::Utf8;
  std::vector<std::string> setCookies;      // one Set-Cookie header each, e.g. "JSESSIONID=abc; Path=/"
  std::vector<std::pair<std::string, std::string>> headers;  // further headers, e.g. Location
  std::chrono::milliseconds delay{0};       // wait this long before acting (the client may give up)

  // A 200 reply whose body is the JSON text (UTF-8, member order kept).
  static Reply json(const nlohmann::ordered_json& body);
  // {"resultStatus": status, "memo": memo} (memo left out when empty).
  static Reply result(int resultStatus, const std::string& memo = {});
  // {"resultStatus": 100, ...members}.
  static Reply success(const nlohmann::ordered_json& members = nlohmann::ordered_json::object());
  // A reply with another HTTP status and a plain body.
  static Reply http(int status, std::string body = {}, std::string contentType = "text/html;charset=UTF-8");
  // Holds the request until TestGateway::releaseStalled, then sends `then`.
  static Reply stall(Reply then = success());
  // Closes the connection without a reply.
  static Reply close();

  // The same reply sent in GBK with "charset=GBK" in its Content-Type.
  Reply inGbk() &&;
  Reply withDelay(std::chrono::milliseconds d) &&;
  Reply withCookie(std::string setCookie) &&;
};

}  // namespace testgateway
