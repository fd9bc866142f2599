// The trade-status texts, the trade list of the login reply and the clearing of a payment record.
#include <gtest/gtest.h>

#include <string>

#include "trade_list.h"
#include "trade_pay_params.h"
#include "trade_status_table.h"

namespace {

TEST(TradeStatusTable, EveryCodeHasItsTextAndOthersNone)
{
  struct Case {
    const char16_t* code;
    const char16_t* text;
  };
  const Case cases[] = {
      {u"WAIT_BUYER_PAY", u"等待买家付款"},
      {u"WAIT_SELLER_SEND_GOODS", u"Korvex收到买家付款，请卖家发货"},
      {u"WAIT_BUYER_CONFIRM_GOODS", u"卖家已发货，买家确认中"},
      {u"TRADE_FINISHED", u"交易成功结束"},
      {u"TRADE_CLOSED", u"交易中途关闭（未完成）"},
      {u"TRADE_CANCEL", u"即时到账交易取消"},
      {u"TRADE_PENDING", u"即时到账交易已付款，允许对方退款"},
      {u"TRADE_SUCCESS", u"即时到账成功,但允许退款"},
      {u"BUYER_PRE_AUTH", u"买家资金预授权"},
      {u"WAIT_SELLER_AGREE", u"退款协议等待卖家确认中"},
      {u"SELLER_REFUSE_BUYER", u"卖家不同意协议，等待买家修改"},
      {u"WAIT_BUYER_RETURN_GOODS", u"退款协议达成，等待买家退货"},
      {u"WAIT_SELLER_CONFIRM_GOODS", u"买家已退货，等待卖家确认收到货"},
      {u"REFUND_SUCCESS", u"退款成功"},
      {u"REFUND_CLOSED", u"退款关闭"},
      {u"TRADE_PROCESSING", u"交易进行中,中间状态,虚拟的"},
      {u"TRADE_OVER", u"交易结束，中间状态,虚拟的"},
      {u"REFUND_PROCESSING", u"退款进行中,中间状态,虚拟的"},
      {u"REFUND_OVER", u"退款结束,中间状态,虚拟的"},
      {u"PAY_SUCCESS", u"支付成功,中间状态,虚拟的"},
      {u"COD_WAIT_SELLER_SEND_GOODS", u"COD等待卖家发货"},
      {u"COD_WAIT_BUYER_PAY", u"COD等待买家付款"},
      {u"COD_WAIT_SYS_PAY_SELLER", u"COD等待系统打款给卖家"},
      // Codes are compared exactly.
      {u"wait_buyer_pay", u""},
      {u"WAIT_BUYER_PAY ", u""},
      {u"", u""},
      {u"UNKNOWN", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::u16string(c.code).size());
    EXPECT_EQ(CStringW(c.text), TradeStatusTable::Instance().Lookup(c.code));
  }
  EXPECT_EQ(&TradeStatusTable::Instance(), &TradeStatusTable::Instance());
}

TEST(ParseUnpaidTradeList, ReadsTheTradesOfASuccessfulList)
{
  int total = -1;
  TradeListBlock block = ParseUnpaidTradeList(
      uR"({"resultStatus":100,"memo":"ok","totalCount":5,"tradeTableList":[
        {"tradeNO":"T1","tradeStatus":"WAIT_BUYER_PAY","tradeTime":"2010-07-01 10:00","goodsName":"茶叶",
         "act":"买","tradeMoney":"12.50","tradeStatusMemo":"等待付款","buyer":1},
        {"tradeNO":"T2","tradeStatus":"WAIT_BUYER_PAY","goodsName":"书","buyer":"x"}]})",
      total);
  EXPECT_EQ(5, total);
  EXPECT_EQ(100, block.resultStatus);
  EXPECT_EQ(CStringW(u"ok"), block.memo);
  ASSERT_EQ(2u, block.records.size());
  const TradeRecord& first = block.records[0];
  EXPECT_EQ(u"T1", first.tradeNO);
  EXPECT_EQ(u"WAIT_BUYER_PAY", first.tradeStatus);
  EXPECT_EQ(u"2010-07-01 10:00", first.tradeTime);
  EXPECT_EQ(u"茶叶", first.goodsName);
  EXPECT_EQ(u"买", first.act);
  EXPECT_EQ(u"12.50", first.tradeMoney);
  EXPECT_EQ(u"等待付款", first.tradeStatusMemo);
  EXPECT_EQ(1, first.buyer);
  // Missing keys give empty texts; a "buyer" that is no number gives 0.
  const TradeRecord& second = block.records[1];
  EXPECT_EQ(u"书", second.goodsName);
  EXPECT_EQ(u"", second.tradeStatusMemo);
  EXPECT_EQ(u"", second.tradeTime);
  EXPECT_EQ(0, second.buyer);
}

TEST(ParseUnpaidTradeList, AnythingButAListWithStatus100GivesNoTrades)
{
  struct Case {
    const char* name;
    const char16_t* text;
    int total;
  };
  const Case cases[] = {
      {"empty", u"", 0},
      {"not JSON", u"{resultStatus:", 0},
      {"an array", u"[1,2]", 0},
      {"another status", uR"({"resultStatus":200,"totalCount":3,"tradeTableList":[{"tradeNO":"T1"}]})", 0},
      {"status as text", uR"({"resultStatus":"100","totalCount":3,"tradeTableList":[{"tradeNO":"T1"}]})", 0},
      {"no list", uR"({"resultStatus":100,"totalCount":3})", 3},
      {"list not an array", uR"({"resultStatus":100,"totalCount":3,"tradeTableList":{"tradeNO":"T1"}})", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int total = -1;
    TradeListBlock block = ParseUnpaidTradeList(c.text, total);
    EXPECT_EQ(c.total, total);
    EXPECT_EQ(0, block.resultStatus);
    EXPECT_TRUE(block.records.empty());
  }
}

TEST(ClearTradePayParams, ClearsEveryTextTheRedPacketIncluded)
{
  TradePayParams params;
  params.reserved0 = 3;
  params.reserved1 = 1;
  params.kind = kTradePayBill;
  params.instantTransfer = 1;
  for (CStringW* text : {&params.reservedText0, &params.reservedText1, &params.tradeNo, &params.counterparty,
                         &params.goodsName, &params.from, &params.accountName, &params.totalPayable,
                         &params.availableBalance, &params.signature, &params.extraText, &params.couponAvailable,
                         &params.couponAmount})
    *text = u"x";
  ClearTradePayParams(params);
  EXPECT_EQ(0, params.reserved0);
  EXPECT_EQ(0, params.reserved1);
  for (const CStringW* text : {&params.reservedText0, &params.reservedText1, &params.tradeNo, &params.counterparty,
                               &params.goodsName, &params.from, &params.accountName, &params.totalPayable,
                               &params.availableBalance, &params.signature, &params.extraText,
                               &params.couponAvailable, &params.couponAmount})
    EXPECT_TRUE(text->IsEmpty());
  // The next fill sets these.
  EXPECT_EQ(kTradePayBill, params.kind);
  EXPECT_EQ(1, params.instantTransfer);
}

}  // namespace
