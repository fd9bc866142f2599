// What one login sends: the key request, then the login with the password encrypted under the
// handed-out key; the check code only when its field is shown; nothing at all when a field does
// not validate; the password wiped from the dialog once sent.
#include <algorithm>

#include "login_fixture.h"

using namespace logintest;
using testgateway::Reply;

namespace {

TEST_F(LoginTest, TheLoginCarriesTheAccountTheEncryptedPasswordAndTheTradeQuery)
{
  gateway.script("login", Reply::success({{"userName", "张三"}, {"logonId", "13912345678"}}));
  Open();
  Fill(u"13912345678", u"abc12345");
  // The input panel came up for the password and lies over the button: the user puts it down.
  ui.Invoke([] { SipShowIM(SIPF_OFF); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  ASSERT_TRUE(kvtest::TapWindow(Item(IDC_LOGIN_BUTTON)));
  ASSERT_TRUE(WaitForResults(1));

  auto key = gateway.waitForRequest("getRSAPKey");
  auto login = gateway.waitForRequest("login");
  ASSERT_TRUE(key && login);
  EXPECT_LT(key->index, login->index);
  const nlohmann::ordered_json& json = *login->json;
  std::vector<std::string> keys;
  for (auto it = json.begin(); it != json.end(); ++it)
    keys.push_back(it.key());
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ((std::vector<std::string>{"accessPoint", "clientID", "extraParam", "loginAccount", "loginPassword",
                                      "operationType", "productID", "productVersion", "screenHigh", "screenWidth",
                                      "userAgent"}),
            keys)
      << "no check code while its field is hidden";
  EXPECT_EQ("111111111111111|333333333333333", login->field("clientID"));
  EXPECT_EQ("13912345678", login->field("loginAccount"));
  EXPECT_EQ("KORVEX_WM_PPC", login->field("productID"));
  EXPECT_EQ(240, json["screenWidth"]);
  EXPECT_EQ(320, json["screenHigh"]);
  auto password = gateway.key().decryptPassword(login->field("loginPassword"));
  ASSERT_TRUE(password);
  EXPECT_EQ("abc12345", password->password) << "the password followed by the key's time stamp";

  auto extra = nlohmann::ordered_json::parse(login->field("extraParam"));
  EXPECT_EQ("queryTradeLists", extra["operationType"]);
  EXPECT_EQ("waitPay", extra["queryTradeType"]);
  EXPECT_EQ(5, extra["pageCount"]);
  EXPECT_EQ(1, extra["nextPage"]);
  EXPECT_EQ("", extra["startDateTime"]);
  EXPECT_EQ("buyer", extra["userRole"]);

  std::vector<std::string> calls = app.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ("wait(正在登录...)", calls.front());
}

TEST_F(LoginTest, AFieldThatDoesNotValidateSendsNothing)
{
  struct Case {
    const char16_t* account;
    const char16_t* password;
    const char* box;
  };
  const Case cases[] = {
      {u"", u"abc12345", "box(71,账户不能为空！)"},
      {u"12345", u"abc12345", "box(71,手机号码输入不正确！)"},
      {u"13912345678", u"", "box(71,登陆密码不能为空！)"},
      {u"13912345678", u"abc", "box(71,登陆密码格式不正确，只能由6-20个字符或数字组成。)"},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.account) + " / " + Narrow(c.password));
    app.ClearCalls();
    Fill(c.account, c.password);
    ui.Invoke([&] { dialog->SendMessage(WM_COMMAND, IDC_LOGIN_BUTTON, 0); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(std::vector<std::string>{c.box}, app.Calls());
  }
  EXPECT_EQ(0, dialog->results) << "nothing is posted when nothing was sent";
  EXPECT_TRUE(gateway.requestsOf("login").empty());
}

TEST_F(LoginTest, AShownCheckCodeIsSentAndAnEmptyOneStopsTheLoginWithoutReplayingTheLastResult)
{
  std::string picture = ImageBase64(std::string(64, 'x'));
  gateway.scriptSequence("login", {Reply::json({{"resultStatus", 500}, {"memo", "请输入验证码"},
                                                {"loginCheckCodeImg", picture}}),
                                   Reply::success({{"logonId", "13912345678"}})});
  Open();
  Fill(u"13912345678", u"abc12345");
  Login();
  ASSERT_TRUE(Visible(Item(IDC_LOGIN_CHECKCODE)));

  // The field is shown and empty: asked for, nothing sent, the earlier result not shown again.
  app.ClearCalls();
  Fill(u"13912345678", u"abc12345");
  ui.Invoke([&] { dialog->SendMessage(WM_COMMAND, IDC_LOGIN_BUTTON, 0); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(std::vector<std::string>{"box(71,请输入验证码.)"}, app.Calls());
  HWND focus = nullptr;
  ui.Invoke([&] { focus = GetFocus(); });
  EXPECT_EQ(Item(IDC_LOGIN_CHECKCODE), focus);
  EXPECT_EQ(1, dialog->results);

  ui.Invoke([&] { SetWindowTextW(Item(IDC_LOGIN_CHECKCODE), u"3947"); });
  Fill(u"13912345678", u"abc12345");
  Login(2);
  std::vector<testgateway::RecordedRequest> logins = gateway.requestsOf("login");
  ASSERT_EQ(2u, logins.size());
  EXPECT_FALSE(logins[0].json->contains("loginCheckCode"));
  EXPECT_EQ("3947", logins[1].field("loginCheckCode"));
}

TEST_F(LoginTest, CancellingTheWaitCancelsTheLoginAndPostsNothing)
{
  gateway.script("login", Reply::stall(Reply::success()));
  Open();
  Fill(u"13912345678", u"abc12345");
  Command(IDC_LOGIN_BUTTON);
  ASSERT_TRUE(gateway.waitForRequest("login"));
  HWND cancel = nullptr;
  // The wait box's strip keeps its thread busy while it is up: poll for it rather than wait for idle.
  ASSERT_TRUE(kvtest::PollUntil([&] {
    cancel = GetDlgItem(CThreadMessageBox::SharedWindow(), KV_BOX_ANSWER_CANCEL);
    return Visible(cancel);
  }));
  ASSERT_TRUE(kvtest::TapWindow(cancel));
  gateway.releaseStalled();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(0, dialog->results);
  EXPECT_EQ(std::vector<std::string>{"wait(正在登录...)"}, app.Calls());
  EXPECT_TRUE(IsWindow(dialog->m_hWnd));
}

TEST_F(LoginTest, ThePasswordIsWipedFromTheDialogOnceSent)
{
  gateway.script("login", Reply::stall(Reply::json({{"resultStatus", 500}, {"memo", "系统繁忙"}})));
  Open();
  Fill(u"13912345678", u"abc12345");
  Command(IDC_LOGIN_BUTTON);
  ASSERT_TRUE(gateway.waitForRequest("login"));
  // The answer is still to come: nothing needs the plain password any more.
  bool held = true;
  ui.Invoke([&] { held = dialog->HoldsPlainPassword(); });
  EXPECT_FALSE(held);
  gateway.releaseStalled();
  ASSERT_TRUE(WaitForResults(1));
}

TEST_F(LoginTest, AnUnreadCountArrivingDuringTheWaitChangesNothing)
{
  gateway.script("login", Reply::stall(Reply::success({{"logonId", "13912345678"}})));
  Open();
  Fill(u"13912345678", u"abc12345");
  Command(IDC_LOGIN_BUTTON);
  ASSERT_TRUE(gateway.waitForRequest("login"));
  // The desktop's unread-count result reaches every listener on the network worker.
  std::thread([&] { dialog->OnServiceNotify(32, 0, 7, nullptr); }).join();
  std::thread([&] { dialog->OnServiceNotify(33, 0, 0, u"失败"); }).join();
  // Had either ended the wait, the dialog would have taken an empty result now and the login's
  // own result, coming later, would find no listener.
  EXPECT_EQ(0, dialog->results) << "the wait went on";
  EXPECT_TRUE(Visible(CThreadMessageBox::SharedWindow()));

  gateway.releaseStalled();
  ASSERT_TRUE(WaitForResults(1));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ((std::vector<std::string>{"wait(正在登录...)", "desktop"}), app.Calls());
}

}  // namespace
