#include "trade_pay_params.h"

void ClearTradePayParams(TradePayParams& params)
{
  params.reserved0 = 0;
  params.reserved1 = 0;
  for (CStringW* text : {&params.reservedText0, &params.reservedText1, &params.tradeNo, &params.counterparty,
                         &params.goodsName, &params.from, &params.accountName, &params.totalPayable,
                         &params.availableBalance, &params.signature, &params.extraText, &params.couponAvailable,
                         &params.couponAmount})
    text->Empty();
}
