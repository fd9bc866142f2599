#include "testgateway/demo_account.h"

#include <openssl/crypto.h>
#include <openssl/rand.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

#include "demo_money.h"
#include "demo_pages.h"
#include "testgateway/script_file.h"
#include "text_codec.h"

namespace testgateway {
namespace {

using Json = nlohmann::ordered_json;

// Operations whose reply hands out a fresh session key for the password that follows.
const std::set<std::string, std::less<>> kSessionKeyOperations = {
    "p2pPrePay", "preDrawMoney", "preDeposit4Mobile", "queryTradeDetail", "preOrderPay", "premcDeposit", "preRegister"};

// Operations that carry the encrypted payment password.
const std::set<std::string, std::less<>> kPayPasswordOperations = {
    "p2pPay", "mcDeposit", "drawMoney", "deposit4Mobile", "tradePay", "confirmGoods",
    "pucPay", "bindingMC", "qUserInfoSupplement", "orderPay"};

std::string localDate(int daysAgo, const char* format) {
  std::time_t when = std::time(nullptr) - static_cast<std::time_t>(daysAgo) * 24 * 60 * 60;
  std::tm parts{};
  localtime_r(&when, &parts);
  char text[32];
  std::strftime(text, sizeof text, format, &parts);
  return text;
}

std::string dateTime(const Json& item) {
  return localDate(item.value("daysAgo", 0), "%Y-%m-%d") + " " + item.value("time", std::string("00:00:00"));
}

std::string nowText() { return localDate(0, "%Y-%m-%d %H:%M:%S"); }

// A number the client may send as a number or as text; `fallback` when it is neither.
int intField(const Json& object, const char* name, int fallback) {
  auto found = object.find(name);
  if (found == object.end()) return fallback;
  if (found->is_number_integer()) return found->get<int>();
  if (found->is_string()) {
    const std::string& text = found->get_ref<const std::string&>();
    int value = fallback;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
  }
  return fallback;
}

std::string stringField(const Json& object, const char* name) {
  auto found = object.find(name);
  return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

// One page of `items` in the reply form of the trade and transaction lists.
Json page(const std::vector<Json>& items, const Json& query, const char* listName) {
  int pageSize = std::max(1, intField(query, "pageCount", 10));
  int pageNumber = std::max(1, intField(query, "nextPage", 1));
  Json list = Json::array();
  std::size_t first = static_cast<std::size_t>(pageNumber - 1) * static_cast<std::size_t>(pageSize);
  for (std::size_t i = first; i < items.size() && i < first + static_cast<std::size_t>(pageSize); ++i) {
    list.push_back(items[i]);
  }
  return {{"resultStatus", 100},
          {"pageCount", pageSize},
          {"page", pageNumber},
          {"totalCount", items.size()},
          {listName, std::move(list)}};
}

std::string randomHex(std::size_t bytes) {
  std::string raw(bytes, '\0');
  RAND_bytes(reinterpret_cast<unsigned char*>(raw.data()), static_cast<int>(raw.size()));
  static const char* digits = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : raw) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

std::string readBase64(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return detail::base64Encode(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// "2.1.3.1119" as its numbers; nullopt unless it is numbers joined by dots.
std::optional<std::vector<unsigned long>> versionParts(const std::string& text) {
  std::vector<unsigned long> parts;
  const char* at = text.data();
  const char* end = at + text.size();
  while (true) {
    unsigned long part = 0;
    auto [next, error] = std::from_chars(at, end, part);
    if (error != std::errc() || next == at) return std::nullopt;
    parts.push_back(part);
    if (next == end) return parts;
    if (*next != '.') return std::nullopt;
    at = next + 1;
  }
}

// Checks that `object` has a member `name` of the given kind; returns it.
const Json& require(const Json& object, const std::string& where, const char* name, Json::value_t kind) {
  auto found = object.find(name);
  bool ok = found != object.end() &&
            (found->type() == kind || (kind == Json::value_t::number_integer && found->is_number_integer()));
  if (!ok) throw std::runtime_error("demo data: " + where + " needs \"" + name + "\" of the right kind");
  return *found;
}

// The members the demo reads without looking, so a bad data file fails at start-up.
void validate(const Json& data) {
  using Kind = Json::value_t;
  if (!data.is_object()) throw std::runtime_error("demo data must be a JSON object");
  const Json& account = require(data, "the data set", "account", Kind::object);
  for (const char* name : {"loginAccount", "loginPassword", "payPassword", "checkCode", "checkCodeImage"}) {
    require(account, "\"account\"", name, Kind::string);
  }
  const Json& refusals = require(data, "the data set", "refusals", Kind::object);
  for (const char* name : {"login", "checkCode", "payPassword", "unknownTrade", "notPayable", "badAmount",
                           "insufficientBalance", "noTransfer"}) {
    require(refusals, "\"refusals\"", name, Kind::object);
  }
  for (const char* name : {"currentBalance", "availableBalance", "draftAmount"}) {
    if (!detail::parseYuan(require(account, "\"account\"", name, Kind::string).get<std::string>())) {
      throw std::runtime_error(std::string("demo data: \"account\" \"") + name + "\" is not an amount like 12.50");
    }
  }
  if (data.contains("update")) {
    const Json& update = require(data, "the data set", "update", Kind::object);
    for (const char* name : {"version", "memo", "path"}) require(update, "\"update\"", name, Kind::string);
    if (!versionParts(update["version"].get<std::string>())) {
      throw std::runtime_error("demo data: \"update\" \"version\" is not like 2.1.4.101");
    }
  }
  require(require(data, "the data set", "tradeTypes", Kind::object), "\"tradeTypes\"", "waitPay", Kind::array);
  for (const char* name : {"replies", "timeRanges"}) require(data, "the data set", name, Kind::object);
  for (const char* name : {"transactions", "messages", "contactLists"}) require(data, "the data set", name, Kind::array);
  for (const auto& trade : require(data, "the data set", "trades", Kind::array)) {
    if (!trade.is_object()) throw std::runtime_error("demo data: every trade must be an object");
    for (const char* name : {"tradeNO", "tradeStatus", "goodsName", "act", "tradeMoney", "tradeStatusMemo"}) {
      require(trade, "a trade", name, Kind::string);
    }
    require(trade, "a trade", "buyer", Kind::number_integer);
    require(trade, "a trade", "detail", Kind::object);
  }
}

}  // namespace

DemoAccount::DemoAccount(Json data, std::filesystem::path baseDir, GatewayKey& key, bool offersUpdate)
    : data_(std::move(data)), baseDir_(std::move(baseDir)), key_(key), offersUpdate_(offersUpdate) {
  validate(data_);
  if (offersUpdate_ && !data_.contains("update")) throw std::runtime_error("demo data: no \"update\" to offer the package with");
  checkCodeImage_ = readBase64(baseDir_ / data_["account"]["checkCodeImage"].get<std::string>());
  contacts_ = data_.value("contactLists", Json::array());
  currentBalance_ = *detail::parseYuan(data_["account"]["currentBalance"].get<std::string>());
  availableBalance_ = *detail::parseYuan(data_["account"]["availableBalance"].get<std::string>());
}

Reply DemoAccount::refusal(const char* name, bool withCheckCode) const {
  Json reply = data_["refusals"][name];
  if (withCheckCode) {
    reply["loginCheckCodeUrl"] = "";
    reply["loginCheckCodeImg"] = checkCodeImage_;
  }
  return Reply::json(reply);
}

bool DemoAccount::passwordMatches(const RecordedRequest& request, const char* field, const std::string& expected) {
  auto sent = key_.decryptPassword(request.field(field));
  bool matches = sent && sent->password == expected;
  if (sent) OPENSSL_cleanse(sent->password.data(), sent->password.size());
  return matches;
}

std::optional<Reply> DemoAccount::checkPasswords(const RecordedRequest& request) {
  const std::string& operation = request.operation;
  if (kPayPasswordOperations.count(operation) != 0 &&
      !passwordMatches(request, "payPassword", data_["account"]["payPassword"].get<std::string>())) {
    return refusal("payPassword");
  }
  // Passwords the demo has no value for must still arrive encrypted with its key.
  auto decrypts = [&](const char* field) {
    auto sent = key_.decryptPassword(request.field(field));
    if (sent) OPENSSL_cleanse(sent->password.data(), sent->password.size());
    return sent.has_value();
  };
  if ((operation == "draftDeposit" && !decrypts("draftPassword")) ||
      (operation == "register" && !(decrypts("loginPassword") && decrypts("payPassword")))) {
    return refusal("payPassword");
  }
  return std::nullopt;
}

Reply DemoAccount::answer(const RecordedRequest& request) {
  if (request.path != kRequestPath) return Reply::http(404, "no page at " + request.path);
  std::lock_guard lock(mutex_);
  if (auto refused = checkPasswords(request)) return *refused;
  if (request.operation == "login") return login(request);
  // Money moves only for operations the demo answers.
  if (data_["replies"].contains(request.operation)) {
    if (auto refused = settle(request)) return *refused;
  }
  Json reply = replyFor(request);
  if (reply.is_null()) return Reply::result(9999, "演示网关不支持此操作：" + request.operation);
  if (kSessionKeyOperations.count(request.operation) != 0 && reply["resultStatus"] == 100) {
    reply.update(key_.sessionKey());
  }
  return Reply::json(Json::parse(filledIn(reply.dump(), request)));
}

Json DemoAccount::withLiveValues(const Json& reply, const RecordedRequest& request) {
  std::lock_guard lock(mutex_);
  return Json::parse(filledIn(reply.dump(), request));
}

std::string DemoAccount::filledIn(std::string text, const RecordedRequest& request) const {
  // Addresses of the gateway's own pages point back at the address the client used.
  replaceAll(text, "{gateway}", std::string(request.tls ? "https://" : "http://") + request.header("Host"));
  replaceAll(text, "{currentBalance}", detail::yuanText(currentBalance_));
  replaceAll(text, "{availableBalance}", detail::yuanText(availableBalance_));
  return text;
}

void DemoAccount::record(std::int64_t signedFen, const std::string& type, const std::string& institution,
                         const std::string& memo) {
  Json& transactions = data_["transactions"];
  char id[24];
  std::snprintf(id, sizeof id, "T%04zu", transactions.size() + 1);
  Json entry = {{"transLogId", id},
                {"daysAgo", 0},
                {"time", localDate(0, "%H:%M:%S")},
                {"transType", type},
                {"money", (signedFen >= 0 ? "+" : "") + detail::yuanText(signedFen)},
                {"transInstitution", institution}};
  if (!memo.empty()) entry["transMemo"] = memo;
  transactions.insert(transactions.begin(), std::move(entry));
}

Json DemoAccount::replyFor(const RecordedRequest& request) {
  const std::string& operation = request.operation;
  const Json& sent = request.json ? *request.json : Json::object();
  Json reply = {{"resultStatus", 100}};
  if (operation == "queryTradeLists") return tradeList(sent);
  if (operation == "queryTransList") return transactionList(sent);
  if (operation == "queryTradeDetail") return tradeDetail(request.field("tradeNO"));
  if (operation == "update" && updateOfferedTo(request)) {
    const Json& update = data_["update"];
    return {{"resultStatus", 202}, {"memo", update["memo"]}, {"downloadURL", "{gateway}" + update["path"].get<std::string>()}};
  }
  if (operation == "queryTradeNum") {
    reply["totalCount"] = tradeList(sent)["totalCount"];
  } else if (operation == "queryContactLists") {
    reply["contactLists"] = contacts_;
  } else if (operation == "addContact") {
    addContact(request);
  } else if (operation == "viewMsgDetail") {
    reply.update(nextMessage());
  } else if (operation == "getMsgCount") {
    reply["msgCount"] = data_["messages"].size() - std::min(messagesRead_, data_["messages"].size());
  } else if (operation == "getLoginCheckCode") {
    reply["loginCheckCodeImg"] = checkCodeImage_;
  } else if (data_["replies"].contains(operation)) {
    reply.update(data_["replies"][operation]);
  } else {
    return nullptr;
  }

  if (operation == "preRegister") {
    reply["checkCode"] = checkCodeImage_;
  } else if (operation == "p2pPrePay") {
    std::string payee = request.field("toPayAccount");
    reply["toPayAccount"] = payee;
    for (const auto& group : contacts_) {
      for (const auto& contact : group.value("contacts", Json::array())) {
        if (contact.value("account", "") == payee) reply["toPayUserName"] = contact["name"];
      }
    }
  } else if (operation == "preDeposit4Mobile") {
    reply["toMobileNO"] = request.field("toMobileNO");
    reply["toMobileAmount"] = request.field("toMobileAmount");
    // The price is quoted as every amount is written, with two decimals (settle checked it).
    reply["toPayAmount"] = detail::yuanText(*detail::parseYuan(request.field("toMobileAmount")));
  } else if (operation == "preOrderPay") {
    // The order being verified is the one the merchant's page sent: its number and amount.
    SentOrder order = orderSent(request);
    reply["outTradeNo"] = order.number;
    reply["totalFee"] = order.amount;
  } else if (operation == "orderPay") {
    reply["tradeData"] = paidOrderData_;
  }
  return reply;
}

Reply DemoAccount::login(const RecordedRequest& request) {
  const Json& account = data_["account"];
  const int checkCodeAfter = account.value("failedLoginsBeforeCheckCode", 3);
  bool needsCheckCode = failedLogins_ >= checkCodeAfter;
  if (request.field("loginAccount") != account["loginAccount"].get<std::string>() ||
      !passwordMatches(request, "loginPassword", account["loginPassword"].get<std::string>())) {
    ++failedLogins_;
    return refusal("login", failedLogins_ >= checkCodeAfter);
  }
  if (needsCheckCode && request.field("loginCheckCode") != account["checkCode"].get<std::string>()) {
    return refusal("checkCode", true);
  }
  failedLogins_ = 0;
  Json reply = {{"resultStatus", 100}};
  reply.update(data_["replies"]["login"]);
  reply["loginServerTime"] = nowText();
  // The unpaid-trade query that rides with the login is answered in "extraData".
  auto query = Json::parse(request.field("extraParam"), nullptr, false);
  reply["extraData"] = query.is_object() ? tradeList(query).dump() : std::string();
  return Reply::json(reply).withCookie("JSESSIONID=" + randomHex(16) + "; Path=/");
}

Json DemoAccount::tradeList(const Json& query) const {
  std::string type = stringField(query, "queryTradeType");
  const Json& statuses = data_["tradeTypes"].contains(type) ? data_["tradeTypes"][type] : Json::array();
  int days = data_["timeRanges"].value(stringField(query, "timeRange"), 100000);
  std::string since = stringField(query, "startDateTime");
  std::vector<Json> matching;
  for (const auto& trade : data_["trades"]) {
    bool typeMatches = type.empty() || type == "all" ||
                       std::find(statuses.begin(), statuses.end(), trade["tradeStatus"]) != statuses.end();
    std::string time = dateTime(trade);
    if (!typeMatches || trade.value("daysAgo", 0) >= days || (!since.empty() && time <= since)) continue;
    matching.push_back({{"tradeNO", trade["tradeNO"]},
                        {"tradeStatus", trade["tradeStatus"]},
                        {"tradeTime", time},
                        {"goodsName", trade["goodsName"]},
                        {"act", trade["act"]},
                        {"tradeMoney", trade["tradeMoney"]},
                        {"tradeStatusMemo", trade["tradeStatusMemo"]},
                        {"buyer", trade["buyer"]}});
  }
  return page(matching, query, "tradeTableList");
}

Json DemoAccount::transactionList(const Json& query) const {
  int days = data_["timeRanges"].value(stringField(query, "timeRange"), 100000);
  std::vector<Json> matching;
  for (const auto& entry : data_["transactions"]) {
    if (entry.value("daysAgo", 0) >= days) continue;
    Json item = entry;
    item.erase("daysAgo");
    item.erase("time");
    item["date"] = dateTime(entry);
    item["simpleDate"] = localDate(entry.value("daysAgo", 0), "%m-%d");
    matching.push_back(std::move(item));
  }
  return page(matching, query, "transList");
}

bool DemoAccount::updateOfferedTo(const RecordedRequest& request) const {
  if (!offersUpdate_) return false;
  auto installed = versionParts(request.field("productVersion"));
  return installed && *installed < *versionParts(data_["update"]["version"].get<std::string>());
}

Json* DemoAccount::findTrade(const std::string& tradeNO) {
  for (auto& trade : data_["trades"]) {
    if (trade["tradeNO"] == tradeNO) return &trade;
  }
  return nullptr;
}

bool DemoAccount::isUnpaid(const Json& trade) const {
  const Json& statuses = data_["tradeTypes"]["waitPay"];
  return std::find(statuses.begin(), statuses.end(), trade["tradeStatus"]) != statuses.end();
}

Json DemoAccount::tradeDetail(const std::string& tradeNO) const {
  for (const auto& trade : data_["trades"]) {
    if (trade["tradeNO"] != tradeNO) continue;
    bool unpaid = isUnpaid(trade);
    Json reply = {{"resultStatus", 100}, {"paid", unpaid ? 0 : 1}, {"buyer", trade["buyer"] == 0}, {"act", trade["act"]},
                  {"tradeNO", tradeNO}, {"goodsName", trade["goodsName"]}};
    if (unpaid) {
      reply["payMoney"] = trade["tradeMoney"];
    } else {
      reply["tradeMoney"] = trade["tradeMoney"];
      reply["tradeTime"] = dateTime(trade);
      reply["tradeStatus"] = trade["tradeStatus"];
    }
    reply.update(trade["detail"]);
    return reply;
  }
  return data_["refusals"]["unknownTrade"];
}

Json DemoAccount::nextMessage() {
  const Json& messages = data_["messages"];
  if (messages.empty()) return {{"msgCount", 0}};
  Json message = messages[messagesRead_ % messages.size()];
  messagesRead_ = std::min(messagesRead_ + 1, messages.size() * 2);
  message["msgDate"] = dateTime(message);
  message.erase("daysAgo");
  message.erase("time");
  message["msgCount"] = messages.size() - std::min(messagesRead_, messages.size());
  return message;
}

void DemoAccount::addContact(const RecordedRequest& request) {
  std::string groupName = request.field("groupName");
  Json contact = request.json ? request.json->value("contactInfo", Json::object()) : Json::object();
  for (auto& group : contacts_) {
    if (group["groupName"] == groupName) {
      group["contacts"].push_back(contact);
      return;
    }
  }
  contacts_.push_back({{"groupName", groupName}, {"contacts", Json::array({contact})}});
}

std::shared_ptr<DemoAccount> installDemo(TestGateway& gateway, const std::filesystem::path& dataFile,
                                         const std::optional<std::filesystem::path>& updatePackage) {
  return installDemoData(gateway, readJsonFile(dataFile), dataFile.parent_path(), updatePackage);
}

std::shared_ptr<DemoAccount> installDemoData(TestGateway& gateway, Json data, const std::filesystem::path& baseDir,
                                             const std::optional<std::filesystem::path>& updatePackage) {
  auto demo = std::make_shared<DemoAccount>(data, baseDir, gateway.key(), updatePackage.has_value());
  if (data.contains("pages")) applyScript(gateway, {{"pages", data["pages"]}}, baseDir);
  if (updatePackage) gateway.serveFile(data["update"]["path"].get<std::string>(), *updatePackage, "application/octet-stream");
  serveDemoPages(gateway, data, gateway.key(), demo);
  gateway.setFallback([demo](const RecordedRequest& request) { return demo->answer(request); });
  return demo;
}

}  // namespace testgateway
