#include "demo_pages.h"

#include <atomic>
#include <cctype>
#include <ctime>
#include <string>
#include <string_view>

#include "form_decoding.h"

namespace testgateway {
namespace {

using Json = nlohmann::ordered_json;

std::string htmlEscaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

// A form field's value escaped for a URL: every byte but the unreserved ones as %XX.
std::string urlEscaped(std::string_view text) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += digits[c >> 4];
      out += digits[c & 15];
    }
  }
  return out;
}

// A field of the request's body, or of its query; empty when neither has it.
std::string fieldOf(const RecordedRequest& request, std::string_view name) {
  for (const auto& fields : {detail::decodeForm(request.body), request.queryForm}) {
    for (const auto& [key, value] : fields) {
      if (key == name) return value;
    }
  }
  return {};
}

std::string gatewayAddress(const RecordedRequest& request) {
  return std::string(request.tls ? "https://" : "http://") + request.header("Host");
}

Reply page(const std::string& title, const std::string& body) {
  return Reply::http(200,
                     "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"><title>" +
                         htmlEscaped(title) + "</title></head>\n<body>\n" + body + "</body>\n</html>\n");
}

Reply billQuery(const Json& bill, GatewayKey& key, DemoAccount& demo, const RecordedRequest& request) {
  if (fieldOf(request, "accountNO").empty()) return Reply::result(201, "请输入用户编号");
  Json reply = {{"resultStatus", 888}};
  reply.update(bill);
  reply.update(key.sessionKey());
  return Reply::json(demo.withLiveValues(reply, request));
}

Reply shopPage(const Json& merchant, const RecordedRequest& request) {
  static std::atomic<unsigned> orders{0};
  char stamp[32];
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &parts);
  std::string orderNo = std::string(stamp) + std::to_string(++orders);
  // A link, as a merchant builds one: the order's fields escaped, the return_url given as it
  // stands (the local gateway takes it without unescaping it).
  auto field = [](const char* name, const std::string& value) {
    return "&" + std::string(name) + "=" + urlEscaped(value);
  };
  std::string link = merchant.value("localGateway", "") + "?service=order_pay&_input_charset=utf-8" +
                     field("partner", merchant.value("partner", "")) + field("out_trade_no", orderNo) +
                     field("subject", merchant.value("subject", "")) + field("body", merchant.value("body", "")) +
                     field("total_fee", merchant.value("totalFee", "")) +
                     field("seller_email", merchant.value("sellerEmail", "")) +
                     "&return_url=" + gatewayAddress(request) + "/merchant/result.htm";
  return page("Korvex商城", "<h3>Korvex商城（演示）</h3>\n<p>" + htmlEscaped(merchant.value("subject", "")) + "，" +
                                htmlEscaped(merchant.value("totalFee", "")) + " 元，订单号 " + orderNo +
                                "</p>\n<p>付款由本机的 Korvex 钱包完成，结果回到本店。</p>\n<p><a href=\"" +
                                htmlEscaped(link) + "\">用 Korvex 钱包付款</a></p>\n");
}

Reply resultPage(const RecordedRequest& request) {
  std::string result = fieldOf(request, "result");
  bool paid = result.rfind("success", 0) == 0;
  std::string fields;
  for (const auto& [key, value] : request.queryForm) fields += "<li>" + htmlEscaped(key) + " = " + htmlEscaped(value) + "</li>\n";
  return page("付款结果", std::string("<h3>") + (paid ? "付款成功" : "付款未完成") + "</h3>\n<p>钱包的回复：</p>\n<ul>\n" +
                              fields + "</ul>\n<p><a href=\"/merchant/shop.htm\">再买一件</a></p>\n");
}

}  // namespace

void serveDemoPages(TestGateway& gateway, const Json& data, GatewayKey& key, std::shared_ptr<DemoAccount> demo) {
  if (data.contains("bill")) {
    Json bill = data["bill"];
    gateway.servePageHandler("/puc/billQuery.htm", [bill, &key, demo](const RecordedRequest& request) {
      return billQuery(bill, key, *demo, request);
    });
  }
  if (data.contains("merchant")) {
    Json merchant = data["merchant"];
    gateway.servePageHandler("/merchant/shop.htm",
                             [merchant](const RecordedRequest& request) { return shopPage(merchant, request); });
    gateway.servePageHandler("/merchant/result.htm", [](const RecordedRequest& request) { return resultPage(request); });
  }
}

}  // namespace testgateway
