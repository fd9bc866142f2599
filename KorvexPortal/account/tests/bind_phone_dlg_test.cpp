// The phone binding dialog against the test gateway: the number's check, "confirmBinding" with
// the number, each reply status's box and whether the dialog stays, and another operation's
// notification during the wait.
#include "account_screen_fixture.h"
#include "bind_phone_dlg.h"
#include "bindphone_ids.h"

using namespace accounttest;
using testgateway::Reply;

namespace {

class BindPhoneTest : public AccountScreenTest<CBindPhoneDlg> {};

TEST_F(BindPhoneTest, ANumberThatFailsTheRuleIsRefusedAndNothingIsSent)
{
  StartGateway();
  Open();
  Type(Item(IDC_BINDPHONE_NUMBER), u"1234567");
  Command(IDOK);
  EXPECT_EQ((std::vector<std::string>{"box 71 手机号码输入不正确！"}), Boxes());
  EXPECT_TRUE(gateway.requests().empty());
  EXPECT_TRUE(IsWindow(dialog->m_hWnd));
}

TEST_F(BindPhoneTest, EachStatusShowsItsBoxAndClosesOrKeepsTheDialog)
{
  struct Case {
    const char* name;
    Reply reply;
    std::vector<std::string> boxes;
    bool login;
    bool stillOpen;
  };
  const Case cases[] = {
      {"bound", Reply::success(), {"box 64 手机绑定申请成功！"}, false, false},
      {"refused", Reply::result(500, "该手机号已绑定其他账户"), {"box 16 该手机号已绑定其他账户"}, false, true},
      {"refused without memo", Reply::result(500), {"box 16 连接服务器出错"}, false, true},
      {"session ended", Reply::result(200, "请重新登录"), {"box 64 请重新登录"}, true, false},
  };
  AnswerWithCurrent("confirmBinding");
  StartGateway();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetCurrent(c.reply);
    app.ClearCalls();
    size_t before = gateway.requestsOf("confirmBinding").size();
    HWND window = Open();
    Type(Item(IDC_BINDPHONE_NUMBER), u"13912345678");
    Command(IDOK);
    auto sent = gateway.waitForRequest("confirmBinding", before + 1);
    ASSERT_TRUE(sent);
    EXPECT_EQ("13912345678", sent->field("phoneNO"));
    EXPECT_EQ("111111111111111|333333333333333", sent->field("clientID"));
    EXPECT_EQ(c.boxes, Boxes());
    EXPECT_EQ(c.login, Called("ShowLoginDlg"));
    EXPECT_EQ(c.stillOpen, IsWindow(window) != FALSE);
    Close();
  }
}

TEST_F(BindPhoneTest, AnotherOperationsNotificationDuringTheWaitChangesNothing)
{
  gateway.script("confirmBinding", Reply::stall(Reply::result(500, "绑定失败")));
  StartGateway();
  Open();
  Type(Item(IDC_BINDPHONE_NUMBER), u"13912345678");
  ui.Invoke([&] { PostMessageW(dialog->m_hWnd, WM_COMMAND, IDOK, 0); });
  ASSERT_TRUE(gateway.waitForRequest("confirmBinding"));
  NotifyUnreadCount();
  EXPECT_TRUE(Boxes().empty());
  gateway.releaseStalled();
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ((std::vector<std::string>{"box 16 绑定失败"}), Boxes());
}

}  // namespace
