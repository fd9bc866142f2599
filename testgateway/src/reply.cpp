#include "testgateway/reply.h"

namespace testgateway {

Reply Reply::json(const nlohmann::ordered_json& body) {
  Reply reply;
  reply.body = body.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::strict);
  return reply;
}

Reply Reply::result(int resultStatus, const std::string& memo) {
  nlohmann::ordered_json body{{"resultStatus", resultStatus}};
  if (!memo.empty()) body["memo"] = memo;
  return json(body);
}

Reply Reply::success(const nlohmann::ordered_json& members) {
  nlohmann::ordered_json body{{"resultStatus", 100}};
  body.update(members);
  return json(body);
}

Reply Reply::http(int status, std::string body, std::string contentType) {
  Reply reply;
  reply.httpStatus = status;
  reply.body = std::move(body);
  reply.contentType = std::move(contentType);
  return reply;
}

Reply Reply::stall(Reply then) {
  then.action = Action::Stall;
  return then;
}

Reply Reply::close() {
  Reply reply;
  reply.action = Action::Close;
  return reply;
}

Reply Reply::inGbk() && {
  encoding = BodyEncoding::Gbk;
  auto charset = contentType.find("charset=");
  if (charset != std::string::npos) {
    contentType = contentType.substr(0, charset) + "charset=GBK";
  } else {
    contentType += contentType.empty() ? "text/html;charset=GBK" : ";charset=GBK";
  }
  return std::move(*this);
}

Reply Reply::withDelay(std::chrono::milliseconds d) && {
  delay = d;
  return std::move(*this);
}

Reply Reply::withCookie(std::string setCookie) && {
  setCookies.push_back(std::move(setCookie));
  return std::move(*this);
}

}  // namespace testgateway
