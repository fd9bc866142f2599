// The order-pay screen's payment: the "orderPay" request as the gateway decodes it (the password
// decrypting with the gateway's key), what each reply shows and hands back, a wrong password typed
// again, passwords refused before anything is sent, and a run that has no hand-off block.
#include "order_pay_fixture.h"

using namespace orderpaytest;
using testgateway::Reply;

namespace {

constexpr int kStillOpen = kPending;

class OrderPaySubmitTest : public OrderPayTest {
 protected:
  // Opens a verified order, types the password and pays.
  void OpenAndPay(const std::u16string& password = kPassword)
  {
    gateway_.script("preOrderPay", Reply::success(order_));
    OpenVerified();
    Pay(password);
  }

  // The n-th "orderPay" request carries the trade number, the client and the typed password
  // encrypted with the key the verification handed out.
  void ExpectOrderPayRequest(size_t n = 1)
  {
    auto request = gateway_.waitForRequest("orderPay", n);
    ASSERT_TRUE(request);
    CStringW clientId;
    app_.JoinPair(clientId);
    EXPECT_EQ(request->field("clientID"), kvtest::Narrow(clientId.GetString()));
    EXPECT_EQ(request->field("outTradeNo"), "T100");
    auto typed = gateway_.key().decryptPassword(request->field("payPassword"), stamp_);
    ASSERT_TRUE(typed) << "the password does not decrypt with the gateway's key and stamp";
    EXPECT_EQ(typed->password, kvtest::Narrow(kPassword));
  }

  void SetUp() override
  {
    OrderPayTest::SetUp();
    order_ = ValidOrder();
    stamp_ = order_["rsaTS"].get<std::string>();
  }

  nlohmann::ordered_json order_;
  std::string stamp_;
};

// A reply to "orderPay" and what follows it: the box shown, the outcome handed back (status,
// payload) and the screen's result.
struct PayReply {
  const char* name;
  std::function<Reply()> reply;
  Box shown;
  DWORD status;
  std::u16string payload;
};

std::string LongTradeData()
{
  std::string data = "out_trade_no=T100&body=";
  for (int i = 0; i < 2100; ++i)
    data += "书";  // 2 UTF-16 bytes each: the whole is past the block's 4079 bytes
  return data;
}

void PrintTo(const PayReply& reply, std::ostream* out)
{
  *out << reply.name;
}

class PayReplyTest : public OrderPaySubmitTest, public ::testing::WithParamInterface<PayReply> {};

TEST_P(PayReplyTest, ShowsHandsBackAndEnds)
{
  const PayReply& expected = GetParam();
  gateway_.script("orderPay", expected.reply());
  OpenAndPay();
  ASSERT_TRUE(RunUntil([this] { return Ended(); })) << kvtest::DumpWindowTree();

  ExpectOrderPayRequest();
  EXPECT_EQ(app_.Boxes().back(), expected.shown);
  // The outcome goes first, so a run that ends at the box (its process ended) still hands it back.
  EXPECT_TRUE(app_.HandedOffAtBoxes().back()) << "handed back before the box showed";
  EXPECT_EQ(result_, static_cast<int>(expected.status));
  EXPECT_EQ(block_->Outcome(), std::make_pair(static_cast<int>(expected.status), expected.payload));
  DWORD bytes = static_cast<DWORD>(expected.payload.size() * sizeof(char16_t));
  EXPECT_EQ(block_->Header(), (std::array<DWORD, 4>{0, expected.status, kHandoffHeaderLength, bytes}));
  EXPECT_EQ(gateway_.requestsOf("orderPay").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, PayReplyTest,
    ::testing::Values(
        PayReply{"PaidWithTradeData",
                 [] { return Reply::success({{"tradeData", "out_trade_no=T100&trade_status=TRADE_SUCCESS&付款=是"}}); },
                 {"支付成功！", KV_BOX_OK},
                 0,
                 u"out_trade_no=T100&trade_status=TRADE_SUCCESS&付款=是"},
        PayReply{"PaidWithoutTradeData", [] { return Reply::success(); }, {"支付成功！", KV_BOX_OK}, 0,
                 u"result=successed"},
        // Trade data the block cannot hold: still paid, with the stand-in text.
        PayReply{"PaidWithTooMuchTradeData", [] { return Reply::success({{"tradeData", LongTradeData()}}); },
                 {"支付成功！", KV_BOX_OK}, 0, u"result=successed"},
        // "resultStatus" is a number: a real without a fraction is that status, one with a
        // fraction is none.
        PayReply{"PaidWithARealStatus",
                 [] { return Reply::json({{"resultStatus", 100.0}, {"tradeData", "out_trade_no=T100"}}); },
                 {"支付成功！", KV_BOX_OK}, 0, u"out_trade_no=T100"},
        PayReply{"AFractionIsNoStatus",
                 [] { return Reply::json({{"resultStatus", 100.5}, {"tradeData", "out_trade_no=T100"}}); },
                 {"发生错误！服务端未返回错误信息", KV_BOX_ERROR}, 4, u""},
        PayReply{"RefusedWithMemo", [] { return Reply::result(500, "余额不足，请充值"); },
                 {"余额不足，请充值", KV_BOX_ERROR}, 4, u""},
        PayReply{"RefusedWithoutMemo", [] { return Reply::result(500); },
                 {"发生错误！服务端未返回错误信息", KV_BOX_ERROR}, 4, u""},
        PayReply{"NotJson", [] { return Reply::http(200, "<html>维护中</html>"); },
                 {"发生错误！服务端未返回错误信息", KV_BOX_ERROR}, 4, u""},
        PayReply{"ConnectionLost", [] { return Reply::close(); }, {"连接服务器出错", KV_BOX_ERROR}, 4, u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OrderPaySubmitTest, AWrongPasswordIsClearedAndTypedAgain)
{
  gateway_.scriptSequence("orderPay", {Reply::result(105), Reply::success()});
  OpenAndPay();
  ASSERT_TRUE(RunUntil([this] { return app_.Boxes().size() == 2; }));
  ExpectOrderPayRequest(1);
  EXPECT_EQ(app_.Boxes().back(), (Box{"支付密码错误！请重输", KV_BOX_ERROR}));
  EXPECT_EQ(ItemText(COrderPayDlg::kPasswordEdit), u"") << "the password field is cleared";
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_FALSE(Ended());
  EXPECT_FALSE(block_->Written()) << "a wrong password hands back nothing";

  // Cleared means the guard holds nothing: the next try sends only what is typed now.
  Pay();
  ASSERT_TRUE(RunUntil([this] { return Ended(); }));
  ExpectOrderPayRequest(2);
  EXPECT_EQ(result_, 0);
  EXPECT_EQ(block_->Outcome(), std::make_pair(0, std::u16string(u"result=successed")));
}

// A password the check refuses: its message only, nothing sent, nothing handed back; the field
// keeps the keyboard for the next try.
TEST_F(OrderPaySubmitTest, APasswordTheCheckRefusesIsNotSent)
{
  struct Case {
    std::u16string typed;
    const char* shown;
  } cases[] = {
      {u"", "密码不能为空！"},
      {u"12345", "密码格式不正确，只能由6-20个字符或数字组成！"},
      {u"pay 1234", "密码格式不正确，只能由6-20个字符或数字组成！"},
      {u"密码123456", "密码格式不正确，只能由6-20个字符或数字组成！"},
      {u"123456789012345678901", "密码格式不正确，只能由6-20个字符或数字组成！"},
  };
  gateway_.script("preOrderPay", Reply::success(order_));
  OpenVerified();
  HWND edit = GetDlgItem(dialog_->m_hWnd, COrderPayDlg::kPasswordEdit);
  for (const Case& c : cases) {
    SCOPED_TRACE(kvtest::Narrow(c.typed));
    ui_.Invoke([&] { ClearInputForMe(edit); });
    size_t before = app_.Boxes().size();
    Pay(c.typed);
    ASSERT_EQ(app_.Boxes().size(), before + 1) << "one box for this try";
    EXPECT_EQ(app_.Boxes().back(), (Box{c.shown, KV_BOX_INFO}));
    HWND focus = nullptr;
    ui_.Invoke([&] { focus = GetFocus(); });
    EXPECT_EQ(focus, edit);
  }
  EXPECT_TRUE(gateway_.requestsOf("orderPay").empty());
  EXPECT_EQ(result_, kStillOpen);
  EXPECT_FALSE(block_->Written());
}

// Started without the service's block (not by the gateway service): the outcome is shown and the
// screen ends as usual; nothing is made or written in the block's name.
TEST_F(OrderPaySubmitTest, WithoutAHandoffBlockTheRunEndsAndWritesNothing)
{
  struct Case {
    const char* name;
    Reply reply;
    int result;
  } cases[] = {{"paid", Reply::success({{"tradeData", "T100"}}), 0}, {"refused", Reply::result(500, "拒绝"), 4}};
  block_.reset();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gateway_.clearRequests();
    gateway_.script("orderPay", c.reply);
    CThreadMessageBox::DestroyInstance();
    CThreadMessageBox::Instance();
    OpenAndPay();
    ASSERT_TRUE(RunUntil([this] { return Ended(); }));
    ExpectOrderPayRequest();
    EXPECT_EQ(result_, c.result);
    ui_.Invoke([&] { dialog_.reset(); });

    HANDLE made = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0, kHandoffBlockSize,
                                     HandoffObjectName(GetCurrentProcessId()));
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "the screen left a block behind";
    CloseHandle(made);
  }
}

}  // namespace
