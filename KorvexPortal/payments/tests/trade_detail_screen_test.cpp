// The trade detail against the test gateway: the rows of a paid and an unpaid trade, the
// logistics tab, the tab keys, each reply status, and no wait when no request could start.
#include "trade_detail_dlg.h"
#include "trade_query_fixture.h"

using namespace paytest;
using testgateway::Reply;

namespace {

nlohmann::ordered_json PaidDetail(int logistics)
{
  return {{"paid", 1},          {"act", "买"},           {"tradeNO", "T9"},         {"goodsName", "紫砂壶"},
          {"tradeMoney", "66.00"}, {"tradeTime", "2010-07-02 11:30"}, {"tradeType", "担保交易"},
          {"tradeStatus", "TRADE_FINISHED"}, {"sellerName", "王五"}, {"logisticsid", logistics},
          {"logisticsType", "快递"}, {"buyerAddress", "杭州市西湖区"}, {"logisticsFee", "10.00"},
          {"logisticsName", "顺风"}, {"logisticsPhone", "0571-1234567"}, {"logisticsMemo", "工作日送货"}};
}

nlohmann::ordered_json UnpaidDetail()
{
  return {{"paid", 0},          {"act", "买"},             {"tradeNO", "T8"},        {"tradeType", "担保交易"},
          {"goodsName", "西湖龙井"}, {"partnerName", "淘宝"}, {"sellerName", "李四"},
          {"sellerAccount", "li@example.com"}, {"payMoney", "128.50"}, {"balance", "300.00"}};
}

// A facade whose detail request cannot start.
class NoCommandService : public CPaymentService {
 public:
  CServiceCommand* QueryTradeDetail(const WCHAR*) override { return nullptr; }
};

class TradeDetailTest : public PaymentScreenTest {
 protected:
  void DestroyScreens() override { detail.reset(); }

  // Shows the detail over the opener and returns once its reply shows.
  void Open()
  {
    opener = Opener();
    ui.Invoke([&] {
      detail = std::make_unique<CTradeDetailDlg>();
      detail->SetTradeNo(u"T9");
      detail->SetStatusText(u"交易成功结束");
      detail->ShowDialog(opener, 0, FALSE, TRUE);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    ui.Post([&] { detail->QueryTradeDetail(); });
    ASSERT_TRUE(RunUntil([&] {
      return !detail->IsWindow() || !Boxes().empty() || !detail->GetDetailRows().m_rows.empty();
    }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  std::vector<std::u16string> Labels(const CListRows& rows)
  {
    std::vector<std::u16string> labels;
    for (const CListRow* row : rows.m_rows)
      labels.push_back(std::u16string(row->GetCell(1)->m_strText.GetString()) + u"=" +
                       row->GetCell(3)->m_strText.GetString());
    return labels;
  }
  // The key as the dialog's message filter sees it; whether the filter consumed it.
  bool Key(UINT key)
  {
    BOOL consumed = FALSE;
    ui.Invoke([&] {
      MSG msg{detail->m_hWnd, WM_KEYDOWN, key, 0, 0, {}};
      consumed = detail->PreTranslateMessage(&msg);
    });
    return consumed != FALSE;
  }

  HWND opener = nullptr;
  std::unique_ptr<CTradeDetailDlg> detail;
};

TEST_F(TradeDetailTest, APaidTradeWithLogisticsHasTwoTabsThatTheKeysCycle)
{
  gateway.script("queryTradeDetail", Reply::success(PaidDetail(1)));
  StartGateway();
  Open();
  auto sent = gateway.waitForRequest("queryTradeDetail");
  ASSERT_TRUE(sent);
  EXPECT_EQ("T9", sent->field("tradeNO"));
  EXPECT_EQ(u"交易信息", std::u16string(detail->GetTitle().GetString()));
  EXPECT_EQ(u"交易成功结束", std::u16string(detail->GetCaptionStrip().GetText().GetString()));
  EXPECT_EQ((std::vector<std::u16string>{u"商品名称=紫砂壶", u"金    额=66.00", u"交易行为=买", u"交易对方=王五",
                                         u"交易类型=担保交易", u"交 易 号=T9", u"成交时间=2010-07-02 11:30"}),
            Labels(detail->GetDetailRows()));
  EXPECT_EQ(6u, detail->GetLogisticsRows().m_rows.size());
  CAccountTabCtrl& tabs = detail->GetTabs();
  ASSERT_EQ(2, tabs.GetPageCount());
  EXPECT_EQ(0, tabs.GetCurSel());
  EXPECT_TRUE(Key(VK_RIGHT));
  EXPECT_EQ(1, tabs.GetCurSel());
  EXPECT_TRUE(Key(VK_RIGHT)) << "from the last tab to the first";
  EXPECT_EQ(0, tabs.GetCurSel());
  EXPECT_TRUE(Key(VK_LEFT)) << "from the first tab to the last";
  EXPECT_EQ(1, tabs.GetCurSel());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(TradeDetailTest, AnUnpaidTradeHasFiveRowsAndOneTab)
{
  gateway.script("queryTradeDetail", Reply::success(UnpaidDetail()));
  StartGateway();
  Open();
  EXPECT_EQ((std::vector<std::u16string>{u"商品名称=西湖龙井", u"金    额=128.50", u"交易行为=买", u"交 易 号=T8",
                                         u"成交时间="}),
            Labels(detail->GetDetailRows()));
  CAccountTabCtrl& tabs = detail->GetTabs();
  EXPECT_EQ(1, tabs.GetPageCount());
  EXPECT_TRUE(Key(VK_LEFT));
  EXPECT_EQ(0, tabs.GetCurSel()) << "a single tab stays";
}

TEST_F(TradeDetailTest, EachReplyStatusEndsItsWay)
{
  struct Case {
    const char* name;
    Reply reply;
    std::vector<std::string> boxes;
    bool open;
    bool login;
    bool listClosed;
  };
  const Case cases[] = {
      {"paid, no logistics", Reply::success(PaidDetail(0)), {}, true, false, false},
      {"refused", Reply::result(500, "交易不存在"), {"box 16 交易不存在"}, true, false, false},
      {"no answer", Reply::http(500), {"box 16 连接服务器出错"}, true, false, false},
      {"session ended", Reply::result(200, "会话已过期"), {"box 64 会话已过期"}, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gateway.script("queryTradeDetail", c.reply);
    if (!service)
      StartGateway();
    app.ClearCalls();
    log.Clear();
    Open();
    EXPECT_EQ(c.boxes, Boxes());
    EXPECT_EQ(c.open, detail->IsWindow() != FALSE);
    EXPECT_EQ(c.login, Called("ShowLoginDlg"));
    auto closes = Received("opener", WM_CLOSE);
    EXPECT_EQ(c.listClosed, closes.size() == 1 && closes[0].wParam == 1);
    if (c.open) {
      EXPECT_EQ(c.boxes.empty() ? 7u : 0u, detail->GetDetailRows().m_rows.size());
      EXPECT_EQ(1, detail->GetTabs().GetPageCount());
      ui.Invoke([&] { detail->CloseDialog(2, FALSE); });
    }
    ui.Invoke([&] { detail.reset(); });
  }
}

TEST_F(TradeDetailTest, NoRequestMeansNoWaitAndAnErrorBox)
{
  NoCommandService noCommand;
  app.SetPaymentService(&noCommand);
  Open();
  EXPECT_EQ((std::vector<std::string>{"box 16 连接服务器出错"}), app.Calls());
  EXPECT_TRUE(detail->GetDetailRows().m_rows.empty());
  app.SetPaymentService(nullptr);
}

}  // namespace
