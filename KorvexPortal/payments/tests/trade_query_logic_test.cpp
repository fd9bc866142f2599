// The trade query list's page arithmetic, the trade pay record it fills from a trade's detail,
// and the trade detail's rows and columns.
#include <gtest/gtest.h>

#include "trade_detail_pay_record.h"
#include "trade_detail_rows.h"
#include "trade_query_paging.h"
#include "trade_query_rows.h"

namespace {

TEST(TradeQueryPaging, NextPageExistsOnlyWhileTradesRemain)
{
  struct Case {
    int page, total, rows;
    bool next;
  };
  const Case cases[] = {
      {1, 20, 10, true},   {2, 20, 10, false}, {2, 21, 10, true}, {3, 21, 10, false},
      {1, 0, 10, false},   {1, 10, 10, false}, {1, 9, 10, false}, {1, 11, 10, true},
      // A list that reports no rows per page counts as one row per page.
      {1, 2, 0, true},     {2, 2, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "page " << c.page << " of " << c.total << " at " << c.rows);
    EXPECT_EQ(c.next, HasTradePageAfter(c.page, c.total, c.rows));
  }
}

TEST(TradeQueryPaging, TheRowsPerPageChangingRescalesThePage)
{
  struct Case {
    int oldSize, page, rows, expected;
  };
  const Case cases[] = {
      {10, 3, 7, 4},   // (10 × 3) / 7
      {10, 2, 30, 1},  // below 2
      {10, 3, 10, 3},  // unchanged
      {0, 1, 10, 1},   // the first query
      {10, 3, 0, 30},  // no rows reported: one per page, no division by zero
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.oldSize << " -> " << c.rows << " on page " << c.page);
    EXPECT_EQ(c.expected, RescaledTradePage(c.oldSize, c.page, c.rows));
  }
  EXPECT_EQ(3, TradePageCount(25, 10));
  EXPECT_EQ(2, TradePageCount(20, 10));
  EXPECT_EQ(0, TradePageCount(0, 10));
  EXPECT_EQ(5, TradePageCount(5, 0));
}

TEST(TradeQueryRows, ColumnsShareTheListWidth)
{
  EXPECT_EQ((std::vector<int>{0, 70, 17, 55, 55, 23}), TradeListColumnWidths(220));
  EXPECT_EQ((std::vector<int>{0, 140, 35, 110, 110, 45}), TradeListColumnWidths(440));
  EXPECT_EQ((std::vector<int>{0, 20, 200}), EmptyResultColumnWidths(1, 220));
  EXPECT_EQ((std::vector<int>{0, 40, 400}), EmptyResultColumnWidths(2, 440));
}

TEST(TradeQueryRows, ARowCarriesItsTradeAndWhetherItWaitsForTheBuyer)
{
  struct Case {
    const char16_t* status;
    int buyer;
    bool waits;
  };
  const Case cases[] = {
      {u"WAIT_BUYER_PAY", 0, true},         {u"WAIT_BUYER_CONFIRM_GOODS", 0, true},
      {u"WAIT_BUYER_PAY", 1, false},        {u"TRADE_FINISHED", 0, false},
      {u"wait_buyer_pay", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.buyer);
    TradeRecord trade;
    trade.tradeNO = u"T1";
    trade.tradeStatus = c.status;
    trade.tradeStatusMemo = u"等待买家付款";
    trade.buyer = c.buyer;
    std::unique_ptr<CListRow> row(MakeTradeRow(trade));
    ASSERT_EQ(6u, row->GetCellCount());
    EXPECT_EQ(u"T1", std::u16string(row->GetCell(0)->m_strText.GetString()));
    EXPECT_EQ(CListCell::kImage, row->GetCell(5)->m_nKind);
    EXPECT_EQ(u"等待买家付款", std::u16string(row->GetCell(5)->m_strText.GetString()));
    EXPECT_EQ(c.buyer, row->m_nFlag);
    EXPECT_EQ(c.waits, TradeWaitsForBuyer(row->m_strKey, row->m_nFlag));
  }
}

std::unique_ptr<CTradeDetailResult> PaidDetail(const char16_t* status, const char16_t* type, int logistics = 0)
{
  auto detail = std::make_unique<CTradeDetailResult>();
  detail->paid = 1;
  detail->act = u"买";
  detail->detail = std::make_unique<TradeDetail>();
  TradeDetail& d = *detail->detail;
  d.tradeNO = u"T9";
  d.goodsName = u"紫砂壶";
  d.tradeMoney = u"66.00";
  d.tradeTime = u"2010-07-02 11:30";
  d.tradeType = type;
  d.tradeStatus = status;
  d.sellerName = u"李四";
  d.logisticsid = logistics;
  d.buyerAddress = u"杭州市西湖区";
  d.logisticsType = u"快递";
  d.logisticsName = u"顺风";
  d.logisticsFee = u"10.00";
  d.logisticsPhone = u"0571-1234567";
  d.logisticsMemo = u"工作日送货";
  return detail;
}

std::unique_ptr<CTradeDetailResult> UnpaidDetail(const char16_t* type)
{
  auto detail = std::make_unique<CTradeDetailResult>();
  detail->act = u"买";
  detail->payInfo = std::make_unique<TradePayInfo>();
  TradePayInfo& p = *detail->payInfo;
  p.tradeNO = u"T8";
  p.tradeType = type;
  p.goodsName = u"西湖龙井";
  p.partnerName = u"淘宝";
  p.sellerName = u"王五";
  p.payMoney = u"128.50";
  p.balance = u"300.00";
  p.supportedByCoupon = u"true";
  p.couponAmount = u"5";
  return detail;
}

std::string Narrow(const CStringW& text)
{
  std::string out;
  for (const char16_t* p = text.GetString(); *p; ++p) {
    char16_t c = *p;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The record as "field=value" lines, in a fixed order.
std::vector<std::string> Fields(const TradePayParams& p)
{
  return {"kind=" + std::to_string(p.kind),
          "reserved1=" + std::to_string(p.reserved1),
          "instant=" + std::to_string(p.instantTransfer),
          "tradeNo=" + Narrow(p.tradeNo),
          "counterparty=" + Narrow(p.counterparty),
          "goods=" + Narrow(p.goodsName),
          "from=" + Narrow(p.from),
          "account=" + Narrow(p.accountName),
          "signature=" + Narrow(p.signature),
          "extra=" + Narrow(p.extraText),
          "total=" + Narrow(p.totalPayable),
          "balance=" + Narrow(p.availableBalance),
          "coupon=" + Narrow(p.couponAvailable),
          "couponAmount=" + Narrow(p.couponAmount)};
}

TEST(TradePayFromDetail, EachFormAndModeFillsTheRecordItsWay)
{
  struct Case {
    const char* name;
    std::unique_ptr<CTradeDetailResult> detail;
    int rowMode;
    std::vector<std::string> expected;
  };
  Case cases[] = {
      {"unpaid, pay", UnpaidDetail(u"担保交易"), 0,
       {"kind=0", "reserved1=1", "instant=0", "tradeNo=T8", "counterparty=王五", "goods=西湖龙井", "from=淘宝",
        "account=张三", "signature=春眠", "extra=", "total=128.50", "balance=300.00", "coupon=true", "couponAmount=5"}},
      {"unpaid, confirm", UnpaidDetail(u"即时到账交易"), 1,
       {"kind=1", "reserved1=1", "instant=1", "tradeNo=T8", "counterparty=王五", "goods=西湖龙井", "from=淘宝",
        "account=张三", "signature=春眠", "extra=", "total=", "balance=300.00", "coupon=", "couponAmount="}},
      {"paid, waiting for payment overrides the row", PaidDetail(u"WAIT_BUYER_PAY", u"担保交易"), 1,
       {"kind=0", "reserved1=1", "instant=0", "tradeNo=T9", "counterparty=李四", "goods=紫砂壶", "from=担保交易",
        "account=张三", "signature=春眠", "extra=", "total=66.00", "balance=", "coupon=false", "couponAmount="}},
      {"paid, waiting for the goods", PaidDetail(u"WAIT_BUYER_CONFIRM_GOODS", u"即时到账交易"), 0,
       {"kind=1", "reserved1=1", "instant=1", "tradeNo=T9", "counterparty=李四", "goods=紫砂壶", "from=即时到账交易",
        "account=张三", "signature=春眠", "extra=", "total=66.00", "balance=", "coupon=", "couponAmount="}},
      {"paid, another status keeps the row's mode", PaidDetail(u"TRADE_FINISHED", u"担保交易"), 1,
       {"kind=1", "reserved1=1", "instant=0", "tradeNo=T9", "counterparty=李四", "goods=紫砂壶", "from=担保交易",
        "account=张三", "signature=春眠", "extra=", "total=66.00", "balance=", "coupon=", "couponAmount="}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    TradePayParams params;
    // What an earlier payment left must not show in this one.
    params.couponAvailable = u"true";
    params.couponAmount = u"9";
    params.availableBalance = u"1.00";
    FillTradePayFromDetail(*c.detail, c.rowMode, TradePayPayer{u"张三", u"春眠", CStringW()}, params);
    EXPECT_EQ(c.expected, Fields(params));
  }
}

std::vector<std::string> RowTexts(const CListRows& rows)
{
  std::vector<std::string> texts;
  for (const CListRow* row : rows.m_rows) {
    std::string line;
    for (size_t i = 0; i < row->GetCellCount(); ++i)
      line += (i ? "|" : "") + Narrow(row->GetCell(i)->m_strText);
    texts.push_back(line);
  }
  return texts;
}

TEST(TradeDetailRows, PaidUnpaidAndLogisticsRows)
{
  CListRows rows;
  CListRows logistics;
  auto unpaid = UnpaidDetail(u"担保交易");
  AddTradeDetailRows(*unpaid, rows);
  EXPECT_EQ((std::vector<std::string>{"|商品名称|：|西湖龙井", "|金    额|：|128.50", "|交易行为|：|买",
                                      "|交 易 号|：|T8", "|成交时间|：|"}),
            RowTexts(rows));
  EXPECT_FALSE(AddLogisticsRows(*unpaid, logistics));

  rows.Clear();
  auto paid = PaidDetail(u"TRADE_FINISHED", u"担保交易", 2);
  AddTradeDetailRows(*paid, rows);
  EXPECT_EQ((std::vector<std::string>{"|商品名称|：|紫砂壶", "|金    额|：|66.00", "|交易行为|：|买",
                                      "|交易对方|：|李四", "|交易类型|：|担保交易", "|交 易 号|：|T9",
                                      "|成交时间|：|2010-07-02 11:30"}),
            RowTexts(rows));
  EXPECT_FALSE(AddLogisticsRows(*paid, logistics)) << "logisticsid 2";
  EXPECT_TRUE(logistics.m_rows.empty());

  paid->detail->logisticsid = 1;
  EXPECT_TRUE(AddLogisticsRows(*paid, logistics));
  EXPECT_EQ((std::vector<std::string>{"|收货地址|：|杭州市西湖区", "|运送方式|：|快递", "|物流公司|：|顺风",
                                      "|运    费|：|10.00", "|联系电话|：|0571-1234567", "|附加信息|：|工作日送货"}),
            RowTexts(logistics));
  rows.Clear();
  logistics.Clear();
}

TEST(TradeDetailRows, ValueColumnTakesTheRestLessTheScrollBarWhenRowsOverflow)
{
  EXPECT_EQ((std::vector<int>{0, 50, 10, 180}), TradeDetailColumnWidths(1, 240, false, 8));
  EXPECT_EQ((std::vector<int>{0, 100, 20, 360}), TradeDetailColumnWidths(2, 480, false, 16));
  EXPECT_EQ((std::vector<int>{0, 100, 20, 344}), TradeDetailColumnWidths(2, 480, true, 16));
  EXPECT_EQ((std::vector<int>{0, 50, 10, 0}), TradeDetailColumnWidths(1, 40, true, 8)) << "never negative";
  // A font wider than the device's widens the label and "：" columns.
  EXPECT_EQ((std::vector<int>{0, 52, 12, 176}), TradeDetailColumnWidths(1, 240, false, 8, 52, 12));
  EXPECT_EQ((std::vector<int>{0, 100, 20, 360}), TradeDetailColumnWidths(2, 480, false, 16, 52, 12));
}

}  // namespace
