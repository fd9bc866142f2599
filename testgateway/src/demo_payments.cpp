// What a payment or a top-up does to the demo account: the balance moves, a transaction is
// recorded and a paid trade leaves the unpaid list, so the next query shows it. A payment the
// balance cannot cover, an amount that is not one, or a trade in the wrong state is refused
// and changes nothing.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "demo_money.h"
#include "form_decoding.h"
#include "testgateway/demo_account.h"

namespace testgateway {
namespace {

using Json = nlohmann::ordered_json;

// No balance grows past this (ten thousand billion yuan), so sums stay far from overflowing.
constexpr std::int64_t kBalanceLimitFen = 1'000'000'000'000'000;

std::string textOf(const Json& object, const char* name) {
  auto found = object.find(name);
  return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

// The `nameKey` of the entry of `list` whose `idKey` is `id`; empty when there is none.
std::string nameIn(const Json& list, const char* idKey, const std::string& id, const char* nameKey) {
  if (!list.is_array()) return {};
  for (const auto& entry : list) {
    if (entry.is_object() && textOf(entry, idKey) == id) return textOf(entry, nameKey);
  }
  return {};
}

// A positive amount the client sent.
std::optional<std::int64_t> amountSent(const RecordedRequest& request, const char* field) {
  auto fen = detail::parseYuan(request.field(field));
  return fen && *fen > 0 ? fen : std::nullopt;
}

}  // namespace

std::optional<Reply> DemoAccount::settle(const RecordedRequest& request) {
  const std::string& operation = request.operation;
  const Json& replies = data_["replies"];
  auto reply = [&](const char* name) { return replies.value(name, Json::object()); };

  if (operation == "tradePay" || operation == "confirmGoods") return settleTrade(request);
  if (operation == "preOrderPay" || operation == "orderPay") return settleOrder(request);
  if (operation == "p2pPrePay") {
    auto fen = amountSent(request, "toPayAmount");
    if (!fen) return refusal("badAmount");
    transfer_ = PendingTransfer{*fen, request.field("toPayAccount")};
    return std::nullopt;
  }
  if (operation == "p2pPay") {
    if (!transfer_) return refusal("noTransfer");
    auto refused = pay(transfer_->fen, "转账", "Korvex", "转给" + transfer_->payee);
    if (!refused) transfer_.reset();
    return refused;
  }
  if (operation == "drawMoney") {
    auto fen = amountSent(request, "amount");
    if (!fen) return refusal("badAmount");
    Json bank = reply("preDrawMoney");
    return pay(*fen, "提现", textOf(bank, "bankName"), "提现到" + textOf(bank, "bankAccountNO"));
  }
  if (operation == "preDeposit4Mobile") {
    if (!amountSent(request, "toMobileAmount")) return refusal("badAmount");
    return std::nullopt;
  }
  if (operation == "deposit4Mobile") {
    auto fen = amountSent(request, "toPayAmount");
    if (!fen) return refusal("badAmount");
    return pay(*fen, "手机充值", textOf(reply("preDeposit4Mobile"), "merName"), request.field("toMobileNO"));
  }
  if (operation == "pucPay") {
    Json bill = data_.value("bill", Json::object());
    auto fen = detail::parseYuan(textOf(bill, "totalFee"));
    if (request.field("billNO") != textOf(bill, "billNO") || !fen) return refusal("unknownTrade");
    return pay(*fen, "缴费", textOf(bill, "sellerName"), textOf(bill, "goodsName"));
  }
  if (operation == "mcDeposit") {
    auto fen = amountSent(request, "depositAmount");
    if (!fen) return refusal("badAmount");
    std::string bank = nameIn(reply("premcDeposit")["mcDepositList"], "mcBankId", request.field("mcBankId"), "mcBankName");
    return credit(*fen, "充值", bank, "Milocard充值");
  }
  if (operation == "easyownDeposit") {
    auto fen = amountSent(request, "cardAmount");
    if (!fen) return refusal("badAmount");
    // The card's face value less the fee at the rate the top-up page showed.
    double rate = std::strtod(textOf(reply("getSupportedChargeCard"), "rate").c_str(), nullptr);
    if (!(rate >= 0 && rate < 1)) rate = 0;
    auto fee = static_cast<std::int64_t>(std::llround(static_cast<double>(*fen) * rate));
    return credit(*fen - fee, "充值卡", "话费充值卡", "面值" + request.field("cardAmount") + "元");
  }
  if (operation == "ebankDeposit") {
    // The demo's bank pays at once.
    auto fen = amountSent(request, "depositAmount");
    if (!fen) return refusal("badAmount");
    std::string bank = nameIn(reply("getSupportedBank")["supportedBankList"], "bankId", request.field("bankId"), "bankName");
    return credit(*fen, "充值", bank, "网银充值");
  }
  if (operation == "draftDeposit") {
    return credit(*detail::parseYuan(data_["account"]["draftAmount"].get<std::string>()), "充值", "网汇e",
                  "汇款单" + request.field("draftNO"));
  }
  return std::nullopt;
}

std::optional<Reply> DemoAccount::settleTrade(const RecordedRequest& request) {
  Json* trade = findTrade(request.field("tradeNo"));
  if (trade == nullptr) return refusal("unknownTrade");
  if (request.operation == "confirmGoods") {
    if ((*trade)["tradeStatus"] != "WAIT_BUYER_CONFIRM_GOODS") return refusal("notPayable");
    (*trade)["tradeStatus"] = "TRADE_FINISHED";
    (*trade)["tradeStatusMemo"] = "交易成功结束";
    return std::nullopt;
  }
  if (!isUnpaid(*trade)) return refusal("notPayable");
  auto fen = detail::parseYuan((*trade)["tradeMoney"].get<std::string>());
  if (!fen) return refusal("badAmount");
  Json& shown = (*trade)["detail"];
  if (request.field("useCoupon") == "Y" && textOf(shown, "supportedByCoupon") == "true") {
    *fen -= std::min(*fen, detail::parseYuan(textOf(shown, "couponAmount")).value_or(0));
  }
  if (auto refused = pay(*fen, "消费", textOf(shown, "sellerName"), (*trade)["goodsName"].get<std::string>())) {
    return refused;
  }
  (*trade)["tradeStatus"] = "WAIT_SELLER_SEND_GOODS";
  (*trade)["tradeStatusMemo"] = "Korvex收到买家付款，请卖家发货";
  if (!shown.contains("logisticsid")) shown["logisticsid"] = 0;
  return std::nullopt;
}

DemoAccount::SentOrder DemoAccount::orderSent(const RecordedRequest& request) {
  SentOrder order;
  for (const auto& [key, value] : detail::decodeForm(request.field("orderData"))) {
    if (key == "out_trade_no") order.number = value;
    if (key == "total_fee") order.amount = value;
    if (key == "subject") order.goods = value;
  }
  return order;
}

// A merchant order is remembered when it is verified and paid by its number; the merchant gets
// the order's number, amount and outcome back.
std::optional<Reply> DemoAccount::settleOrder(const RecordedRequest& request) {
  if (request.operation == "preOrderPay") {
    SentOrder sent = orderSent(request);
    auto fen = detail::parseYuan(sent.amount);
    if (!sent.number.empty() && fen && *fen > 0) orders_[sent.number] = VerifiedOrder{*fen, sent.goods};
    return std::nullopt;
  }
  auto order = orders_.find(request.field("outTradeNo"));
  if (order == orders_.end()) return refusal("unknownTrade");
  std::string seller = textOf(data_["replies"].value("preOrderPay", Json::object()), "sellerName");
  if (auto refused = pay(order->second.fen, "消费", seller, order->second.goods)) return refused;
  paidOrderData_ = "result=success&out_trade_no=" + order->first + "&total_fee=" + detail::yuanText(order->second.fen);
  orders_.erase(order);
  return std::nullopt;
}

std::optional<Reply> DemoAccount::pay(std::int64_t fen, const std::string& type, const std::string& institution,
                                      const std::string& memo) {
  if (fen > availableBalance_) return refusal("insufficientBalance");
  availableBalance_ -= fen;
  currentBalance_ -= fen;
  record(-fen, type, institution, memo);
  return std::nullopt;
}

std::optional<Reply> DemoAccount::credit(std::int64_t fen, const std::string& type, const std::string& institution,
                                         const std::string& memo) {
  if (fen > kBalanceLimitFen - std::max(currentBalance_, availableBalance_)) return refusal("badAmount");
  availableBalance_ += fen;
  currentBalance_ += fen;
  record(fen, type, institution, memo);
  return std::nullopt;
}

}  // namespace testgateway
