#include "trade_detail_pay_record.h"

namespace {

CStringW Text(const std::u16string& text)
{
  return CStringW(text.c_str());
}

}  // namespace

void FillTradePayFromDetail(const CTradeDetailResult& detail, int rowMode, const TradePayPayer& payer,
                            TradePayParams& params)
{
  ClearTradePayParams(params);
  params.reserved1 = 1;
  params.accountName = payer.userName;
  params.signature = payer.greeting;
  params.extraText = payer.memo;
  int mode = rowMode;
  CStringW tradeType;
  if (const TradeDetail* paid = detail.detail.get()) {
    if (paid->tradeStatus == u"WAIT_BUYER_PAY")
      mode = kTradePayTrade;
    else if (paid->tradeStatus == u"WAIT_BUYER_CONFIRM_GOODS")
      mode = kTradePayConfirmGoods;
    params.tradeNo = Text(paid->tradeNO);
    params.counterparty = Text(paid->sellerName);
    params.goodsName = Text(paid->goodsName);
    params.from = Text(paid->tradeType);
    params.totalPayable = Text(paid->tradeMoney);
    if (mode == kTradePayTrade)
      params.couponAvailable = u"false";
    tradeType = Text(paid->tradeType);
  } else if (const TradePayInfo* unpaid = detail.payInfo.get()) {
    params.tradeNo = Text(unpaid->tradeNO);
    params.counterparty = Text(unpaid->sellerName);
    params.goodsName = Text(unpaid->goodsName);
    params.from = Text(unpaid->partnerName);
    params.availableBalance = Text(unpaid->balance);
    if (mode == kTradePayTrade) {
      params.totalPayable = Text(unpaid->payMoney);
      params.couponAvailable = Text(unpaid->supportedByCoupon);
      params.couponAmount = Text(unpaid->couponAmount);
    }
    tradeType = Text(unpaid->tradeType);
  }
  params.kind = mode;
  params.instantTransfer = tradeType == u"即时到账交易" ? 1 : 0;
}
