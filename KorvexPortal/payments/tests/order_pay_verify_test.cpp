// The order-pay screen's verification: the "preOrderPay" request as the gateway decodes it, the
// summary of a valid order, what each failed verification shows and leaves, the cancelled wait,
// other operations' notifications during the wait, and leaving without paying.
#include "layout_checks.h"
#include "order_pay_fixture.h"
#include "testing/screenshot.h"

using namespace orderpaytest;
using testgateway::Reply;

namespace {

const std::vector<std::string> kEmptySummary = {"商　　品：", "来　　自：", "交易对方：",
                                                "用户名称：", "应付总价：", "可用余额："};
const Box kVerifyWait = {"正在访问服务器验证订单数据", KV_BOX_WAIT};

TEST_F(OrderPayTest, AValidOrderIsShownWithItsSummary)
{
  gateway_.script("preOrderPay", Reply::success(ValidOrder()));
  OpenVerified();

  auto request = gateway_.waitForRequest("preOrderPay");
  ASSERT_TRUE(request);
  EXPECT_EQ(request->field("clientID"), kvtest::Narrow(kClientId));
  EXPECT_EQ(request->field("orderData"), kvtest::Narrow(kOrder)) << "the order text as it arrived";
  EXPECT_EQ(SummaryLines(), (std::vector<std::string>{"商　　品：编程珠玑", "来　　自：淘书网",
                                                      "交易对方：书香书店(shop@books.cn)", "用户名称：张三",
                                                      "应付总价：12.50", "可用余额：88.00"}));
  EXPECT_EQ(app_.Boxes(), std::vector<Box>{kVerifyWait});
  HWND focus = nullptr;
  ui_.Invoke([&] { focus = GetFocus(); });
  EXPECT_EQ(focus, GetDlgItem(dialog_->m_hWnd, COrderPayDlg::kPasswordEdit));
  EXPECT_FALSE(Ended());
  EXPECT_FALSE(block_->Written());
}

TEST_F(OrderPayTest, ALongCounterpartyIsShortened)
{
  nlohmann::ordered_json order = ValidOrder();
  order["sellerName"] = "北京市海淀区中关村大街图书批发有限公司";
  gateway_.script("preOrderPay", Reply::success(order));
  OpenVerified();
  EXPECT_EQ(kvtest::Narrow(ItemText(1043)), "交易对方：北京市海淀区中关村大街图书批发有限公司(sh..");
}

// A verification that fails: the reason is shown, the screen stays without an order, paying
// is refused without a request, and leaving hands back "failed".
struct FailedVerification {
  const char* name;
  // The reply, given the reply of a valid order.
  std::function<Reply(nlohmann::ordered_json valid)> reply;
  Box shown;
};

void PrintTo(const FailedVerification& verification, std::ostream* out)
{
  *out << verification.name;
}

class FailedVerificationTest : public OrderPayTest, public ::testing::WithParamInterface<FailedVerification> {};

TEST_P(FailedVerificationTest, ShowsWhyAndLeavesOnlyLeaving)
{
  gateway_.script("preOrderPay", GetParam().reply(ValidOrder()));
  OpenVerified();
  EXPECT_EQ(app_.Boxes(), (std::vector<Box>{kVerifyWait, GetParam().shown}));
  EXPECT_EQ(SummaryLines(), kEmptySummary);

  Pay();
  EXPECT_EQ(app_.Boxes().back(), (Box{"订单提交验证中，请稍候...", KV_BOX_ERROR}));
  EXPECT_FALSE(Ended());
  EXPECT_FALSE(block_->Written());

  ASSERT_TRUE(kvtest::PressKey(VK_F2));  // leave: the exit question, answered OK
  ASSERT_TRUE(RunUntil([this] { return Ended(); }));
  EXPECT_EQ(app_.Boxes().back().type, static_cast<UINT>(KV_BOX_QUESTION));
  EXPECT_EQ(result_, 4);
  EXPECT_EQ(block_->Outcome(), std::make_pair(4, std::u16string()));
  EXPECT_TRUE(gateway_.requestsOf("orderPay").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FailedVerificationTest,
    ::testing::Values(
        FailedVerification{"Refused", [](auto) { return Reply::result(500, "订单已失效"); },
                           {"订单已失效", KV_BOX_ERROR}},
        FailedVerification{"SessionEnded", [](auto) { return Reply::result(200, "请重新登录"); },
                           {"请重新登录", KV_BOX_ERROR}},
        FailedVerification{"NotValid",
                           [](auto) { return Reply::success({{"orderValidate", 0}, {"tradeData", "T9"}}); },
                           {"订单验证未通过，无法支付", KV_BOX_ERROR}},
        // A valid order, key and all, but no trade number to pay.
        FailedVerification{"NoTradeNumber",
                           [](nlohmann::ordered_json valid) {
                             valid["outTradeNo"] = "";
                             return Reply::success(valid);
                           },
                           {"订单验证未通过，无法支付", KV_BOX_ERROR}},
        FailedVerification{"NoReply", [](auto) { return Reply::close(); }, {"连接服务器出错", KV_BOX_ERROR}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OrderPayTest, ACancelledVerificationLeavesTheScreenEmpty)
{
  gateway_.script("preOrderPay", Reply::stall(Reply::success(ValidOrder())));
  Open();
  ASSERT_TRUE(gateway_.waitForRequest("preOrderPay"));
  ASSERT_TRUE(PollUntil([] { return IsWindowVisible(CThreadMessageBox::SharedWindow()); })) << kvtest::DumpWindowTree();
  ASSERT_TRUE(kvtest::TapWindow(GetDlgItem(CThreadMessageBox::SharedWindow(), KV_BOX_ANSWER_CANCEL)));
  ASSERT_TRUE(RunUntil([this] { return Shown(); }));
  gateway_.releaseStalled();

  EXPECT_EQ(app_.Boxes(), std::vector<Box>{kVerifyWait}) << "cancelling is the user's choice: nothing more is shown";
  EXPECT_EQ(SummaryLines(), kEmptySummary);
  EXPECT_FALSE(block_->Written());
}

TEST_F(OrderPayTest, AnotherOperationsNotificationDuringTheWaitChangesNothing)
{
  gateway_.script("preOrderPay", Reply::stall(Reply::success(ValidOrder())));
  Open();
  ASSERT_TRUE(gateway_.waitForRequest("preOrderPay"));
  // The desktop's unread count, as the facade hands it to every listener on its worker.
  HANDLE worker = CreateThread(
      nullptr, 0,
      [](LPVOID service) -> DWORD {
        return static_cast<DWORD>(static_cast<CPaymentService*>(service)->FanOutResult(32, 0, 3, nullptr));
      },
      service_.get(), 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(worker, 30000), WAIT_OBJECT_0);
  CloseHandle(worker);

  // Had it ended the wait or been kept, the verification's own answer would be lost.
  ASSERT_TRUE(PollUntil([this] { return gateway_.stalledCount() == 1; }));
  gateway_.releaseStalled();
  ASSERT_TRUE(RunUntil([this] { return Shown(); }));
  EXPECT_EQ(kvtest::Narrow(ItemText(1038)), "商　　品：编程珠玑");
  EXPECT_EQ(app_.Boxes(), std::vector<Box>{kVerifyWait});
}

// Every way out before an outcome hands back "failed" once and ends the screen with 4.
TEST_F(OrderPayTest, LeavingWithoutPayingHandsBackFailed)
{
  struct Way {
    const char* name;
    std::function<void(HWND)> leave;
  } ways[] = {
      {"the leave key", [](HWND) { ASSERT_TRUE(kvtest::PressKey(VK_F2)); }},
      {"the installer's close", [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, ID_KV_EXIT, -1); }},
      {"the end message", [](HWND dialog) { PostMessageW(dialog, WM_KV_ENDDIALOG, 0, 0); }},
  };
  gateway_.script("preOrderPay", Reply::success(ValidOrder()));
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    block_.reset();
    block_ = std::make_unique<HandoffBlock>();
    // The end of a screen closes the shared box; the next run has a box of its own.
    CThreadMessageBox::DestroyInstance();
    CThreadMessageBox::Instance();
    OpenVerified();
    way.leave(dialog_->m_hWnd);
    ASSERT_TRUE(RunUntil([this] { return Ended(); }));
    EXPECT_EQ(result_, 4);
    EXPECT_EQ(block_->Outcome(), std::make_pair(4, std::u16string()));
    ui_.Invoke([&] { dialog_.reset(); });
  }
}

TEST_F(OrderPayTest, TheAboutCommandShowsTheAboutScreen)
{
  gateway_.script("preOrderPay", Reply::success(ValidOrder()));
  OpenVerified();
  PostMessageW(dialog_->m_hWnd, WM_COMMAND, ID_APP_ABOUT, 0);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(app_.aboutShown, 1);
}

// The screen as a user sees it, with a verified order and the password typed: the layout check
// of every screen, with a merchant whose name and account fill most of the summary's line.
class OrderPayLook : public OrderPayTest, public ::testing::WithParamInterface<std::pair<int, int>> {
 protected:
  void SetUp() override { StartDevice(GetParam().first, GetParam().second); }
};

TEST_P(OrderPayLook, Screenshot)
{
  nlohmann::ordered_json order = ValidOrder();
  order["sellerName"] = "数码专营店";
  order["sellerAccount"] = "shop@korvex.cn";
  gateway_.script("preOrderPay", Reply::success(order));
  OpenVerified();
  ASSERT_TRUE(kvtest::TypeText(kPassword));
  kvtest::ExpectSoundLayout(ui_, *dialog_, "order_pay_" + kvtest::SizeName(GetParam().first, GetParam().second));
  EXPECT_EQ(ItemText(COrderPayDlg::kPasswordEdit).size(), std::u16string(kPassword).size())
      << "the edit shows a mask only";
  EXPECT_NE(ItemText(COrderPayDlg::kPasswordEdit), kPassword);
}

INSTANTIATE_TEST_SUITE_P(Sizes, OrderPayLook,
                         ::testing::ValuesIn(kvtest::kLookSizes),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

}  // namespace
