// The desktop's gateway requests: the unread count on activation (also when it comes during
// another wait) and the withdrawal data before the withdrawal page, by reply status.
#include <optional>

#include "desktop_fixture.h"

namespace desktoptest {
namespace {

using testgateway::Reply;

class DesktopRequestsTest : public DesktopTest {
 protected:
  void SetUp() override
  {
    DesktopTest::SetUp();
    customOpeners = std::make_unique<DesktopPageOpeners>(DefaultDesktopPageOpeners());
    customOpeners->showWithdrawal = [this](CBaseDlg* page, DesktopPageContext& context) {
      shownWithdrawal = *context.withdrawal;
      page->ShowDialog(context.desktop, 0, FALSE, TRUE);
    };
  }
  std::optional<WithdrawInfo> shownWithdrawal;
};

TEST_F(DesktopRequestsTest, CountReplySetsTheCaption)
{
  Gateway().script("getMsgCount", Reply::success({{"msgCount", 12}}));
  ShowDesktop();
  ASSERT_TRUE(Gateway().waitForRequest("getMsgCount"));
  ASSERT_TRUE(RunUntil([&] { return desktop->GetUnreadCount() == 12; }));
  EXPECT_EQ(u"（12）", std::u16string(desktop->GetCountCaption().GetString()));
  WCHAR shown[16] = {};
  GetDlgItemTextW(desktop->m_hWnd, 1078, shown, 16);
  EXPECT_EQ(u"（12）", std::u16string(shown));
}

TEST_F(DesktopRequestsTest, FailedCountLeavesTheCaption)
{
  Gateway().script("getMsgCount", Reply::result(500, "系统繁忙"));
  ui.Invoke([&] {
    desktop = std::make_unique<CDesktopDlg>();
    desktop->SetCountCaption(3);
  });
  ShowDesktop();
  ASSERT_TRUE(Gateway().waitForRequest("getMsgCount"));
  EXPECT_TRUE(svcb_test::DrainNetWorker());
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(u"（3）", std::u16string(desktop->GetCountCaption().GetString()));
  EXPECT_TRUE(app.Boxes().empty());
}

struct WithdrawalCase {
  const char* name;
  Reply reply;
  std::u16string box;  // the box after the wait ("" none)
  UINT boxType;
  bool pageShown;
  bool activation = false;  // the activation request follows, behind its own wait box
};

class DesktopWithdrawalTest : public DesktopRequestsTest, public ::testing::WithParamInterface<WithdrawalCase> {};

TEST_P(DesktopWithdrawalTest, ShowsTheOutcomeOfTheWithdrawalData)
{
  const WithdrawalCase& c = GetParam();
  Gateway().script("preDrawMoney", c.reply);
  ShowDesktop();
  app.SetMainDialog(desktop.get());
  PostCommand(4082);
  ASSERT_TRUE(Gateway().waitForRequest("preDrawMoney"));
  size_t expected = c.box.empty() ? 1u : (c.activation ? 4u : 2u);
  ASSERT_TRUE(RunUntil([&] { return app.Boxes().size() >= expected; }));
  EXPECT_TRUE(kvtest::RunUntilIdle());
  app.SetMainDialog(nullptr);

  auto boxes = app.Boxes();
  ASSERT_GE(boxes.size(), 1u);
  EXPECT_EQ(u"正在申请提现，请稍候……", boxes[0].text);
  EXPECT_EQ(static_cast<UINT>(KV_BOX_WAIT), boxes[0].type);
  if (c.box.empty()) {
    EXPECT_EQ(1u, boxes.size());
  } else {
    ASSERT_EQ(expected, boxes.size());
    EXPECT_EQ(c.box, boxes[1].text);
    EXPECT_EQ(c.boxType, boxes[1].type);
  }
  if (c.activation) {
    EXPECT_EQ(u"正在提交数据，请稍候……", boxes[2].text);
    EXPECT_EQ(1u, Gateway().requestsOf("confirmMobilePay").size());
  }
  CBaseDlg* page = desktop->GetPage(DesktopSlot::kWithdrawal);
  ASSERT_NE(nullptr, page) << "made before the request";
  EXPECT_EQ(c.pageShown, page->m_hWnd != nullptr && IsWindowVisible(page->m_hWnd));
  EXPECT_EQ(c.pageShown, shownWithdrawal.has_value());
  if (c.pageShown) {
    EXPECT_EQ(u"招商银行", shownWithdrawal->bankName);
    EXPECT_EQ(u"5000.00", shownWithdrawal->onceAvailableAmount);
  }
  EXPECT_EQ(static_cast<int>(DesktopSlot::kWithdrawal), desktop->GetCurrentSlot());
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, DesktopWithdrawalTest,
    ::testing::Values(
        WithdrawalCase{"Success",
                       Reply::success({{"userName", "张三"},
                                       {"bankName", "招商银行"},
                                       {"accountType", "借记卡"},
                                       {"bankAccountNO", "6225****1234"},
                                       {"availableAmount", "8000.00"},
                                       {"onceAvailableAmount", "5000.00"}}),
                       u"", 0, true},
        WithdrawalCase{"NotActivated", Reply::result(111, "未开通"),
                       u"您需在本手机客户端上开通支付功能，请按短信提示回复开通。", KV_BOX_INFO, false, true},
        WithdrawalCase{"Refused", Reply::result(500, "您的账户暂不能提现"), u"您的账户暂不能提现", KV_BOX_ERROR, false},
        WithdrawalCase{"NetworkFailure", Reply::close(), u"连接服务器出错", KV_BOX_ERROR, false}),
    [](const ::testing::TestParamInfo<WithdrawalCase>& info) { return std::string(info.param.name); });

TEST_F(DesktopRequestsTest, CountReplyDuringTheWithdrawalWaitChangesNothingThere)
{
  // The count of the desktop's activation is held until the withdrawal waits behind it.
  Gateway().script("getMsgCount", Reply::stall(Reply::success({{"msgCount", 7}})));
  Gateway().script("preDrawMoney", Reply::result(500, "暂停服务"));
  ShowDesktop(false);
  ASSERT_TRUE(Gateway().waitForRequest("getMsgCount"));
  PostMessageW(desktop->m_hWnd, WM_COMMAND, 4082, 0);
  ASSERT_TRUE(Poll([&] { return !app.Boxes().empty(); }));
  EXPECT_EQ(static_cast<UINT>(KV_BOX_WAIT), app.Boxes()[0].type);
  Gateway().releaseStalled();
  ASSERT_TRUE(Gateway().waitForRequest("preDrawMoney"));
  ASSERT_TRUE(Poll([&] { return app.Boxes().size() >= 2; }));
  auto boxes = app.Boxes();
  EXPECT_EQ(u"暂停服务", boxes[1].text) << "the wait ended on the withdrawal's own reply";
  ASSERT_TRUE(Poll([&] { return desktop->GetUnreadCount() == 7; }));
  EXPECT_EQ(u"（7）", std::u16string(desktop->GetCountCaption().GetString()));
}

TEST_F(DesktopRequestsTest, CancelledWithdrawalShowsNothing)
{
  app.waitAnswer = KV_BOX_ANSWER_CANCEL;
  Gateway().script("preDrawMoney", Reply::result(500, "不应显示"));
  ShowDesktop();
  PostCommand(4082);
  // The cancelled command is dropped, whether or not it reached the gateway.
  EXPECT_TRUE(svcb_test::DrainNetWorker());
  EXPECT_TRUE(kvtest::RunUntilIdle());
  ASSERT_EQ(1u, app.Boxes().size());
  CBaseDlg* page = desktop->GetPage(DesktopSlot::kWithdrawal);
  ASSERT_NE(nullptr, page);
  EXPECT_EQ(nullptr, page->m_hWnd);
}

}  // namespace
}  // namespace desktoptest
