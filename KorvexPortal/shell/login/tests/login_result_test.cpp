// Each reply to the login, in one table: what the user is shown, the screens opened, whether the
// dialog stays, and what the application keeps.
#include "login_fixture.h"

using namespace logintest;
using testgateway::Reply;

namespace {

struct Branch {
  const char* name;
  Reply reply;
  int answer;  // the answer to the first box, when one is asked
  std::vector<std::string> calls;
  bool dialogStays;
};

const std::string kTrades =
    R"({"resultStatus":100,"tradeTableList":[{"tradeNo":"T1","goodsName":"书"}]})";

std::vector<Branch> Branches()
{
  return {
      {"success, no trades", Reply::success({{"userName", "张三"}, {"logonId", "13912345678"}}), 0, {"desktop"}, false},
      {"success with unpaid trades",
       Reply::success({{"logonId", "13912345678"}, {"loginServerTime", "2010-07-04 12:00:00"}, {"extraData", kTrades}}),
       0,
       {"unpaid(" + kTrades + "|2010-07-04 12:00:00)"},
       false},
      {"success, empty trade table",
       Reply::success({{"extraData", R"({"resultStatus":100,"tradeTableList":[]})"}}), 0, {"desktop"}, false},
      {"success, trade query refused", Reply::success({{"extraData", R"({"resultStatus":500,"tradeTableList":[1]})"}}),
       0, {"desktop"}, false},
      {"success, trade query unreadable", Reply::success({{"extraData", "{oops"}}), 0, {"desktop"}, false},
      {"optional update taken",
       Reply::json({{"resultStatus", 202}, {"memo", "有新版本"}, {"downloadURL", "https://dl.test/KorvexPortal.CAB"}}),
       KV_BOX_ANSWER_OK,
       {"box(65,有新版本)", "download(https://dl.test/KorvexPortal.CAB)"},
       true},
      {"optional update declined",
       Reply::json({{"resultStatus", 202}, {"memo", "有新版本"}, {"downloadURL", "https://dl.test/KorvexPortal.CAB"}}),
       KV_BOX_ANSWER_CANCEL,
       {"box(65,有新版本)"},
       true},
      {"forced update",
       Reply::json({{"resultStatus", 203}, {"memo", "必须升级"}, {"downloadURL", "https://dl.test/KorvexPortal.CAB"}}),
       0,
       {"box(64,必须升级)", "download(https://dl.test/KorvexPortal.CAB)"},
       true},
      {"field error", Reply::result(350, "loginAccount,该账户不存在"), 0, {"box(16,该账户不存在)"}, true},
      {"field error without a comma", Reply::result(301, "账户已冻结"), 0, {"box(16,账户已冻结)"}, true},
      {"field error with the comma first", Reply::result(400, ",密码错误"), 0, {"box(16,,密码错误)"}, true},
      {"information to supplement", Reply::result(411, "请补充您的信息"), 0, {"box(64,请补充您的信息)", "supplement"},
       true},
      {"other refusal", Reply::result(500, "系统繁忙"), 0, {"box(16,系统繁忙)"}, true},
      {"refusal without memo", Reply::result(500), 0, {"box(16,登录失败，请稍后再试。)"}, true},
      {"no connection", Reply::close(), 0, {"box(16,连接服务器出错)", "apn(1)"}, true},
  };
}

class LoginBranches : public LoginTest, public ::testing::WithParamInterface<int> {};

TEST_P(LoginBranches, TheReplyDecidesWhatComesNext)
{
  Branch branch = Branches()[static_cast<size_t>(GetParam())];
  SCOPED_TRACE(branch.name);
  gateway.script("login", branch.reply);
  if (branch.answer)
    app.Answer(branch.answer);
  Open();
  Fill(u"13912345678", u"abc12345");
  Login();

  std::vector<std::string> expected{"wait(正在登录...)"};
  expected.insert(expected.end(), branch.calls.begin(), branch.calls.end());
  EXPECT_EQ(expected, app.Calls());
  EXPECT_EQ(branch.dialogStays, IsWindow(dialog->m_hWnd) != FALSE);
  if (!branch.dialogStays) {
    EXPECT_FALSE(Visible(CThreadMessageBox::SharedWindow())) << "the wait box is hidden at the end";
  }
}

INSTANTIATE_TEST_SUITE_P(Replies, LoginBranches, ::testing::Range(0, static_cast<int>(Branches().size())));

TEST_F(LoginTest, SuccessKeepsTheUserAndAFieldErrorFocusesTheAccount)
{
  gateway.scriptSequence("login", {Reply::result(350, "loginPassword,密码错误"),
                                   Reply::success({{"userName", "张三"}, {"logonId", "zs@example.com"},
                                                   {"mobileNo", "13912345678"}})});
  Open();
  Fill(u"zs@example.com", u"abc12345");
  Login();
  HWND focus = nullptr;
  ui.Invoke([&] { focus = GetFocus(); });
  EXPECT_EQ(Item(IDC_LOGIN_ACCOUNT), focus);
  EXPECT_TRUE(app.GetLogonId().IsEmpty());

  Fill(u"zs@example.com", u"abc12345");
  Login(2);
  EXPECT_EQ(CStringW(u"张三"), app.GetUserName());
  EXPECT_EQ(CStringW(u"zs@example.com"), app.GetLogonId());
}

TEST_F(LoginTest, ASupplementDemandKeepsTheAccountAsTyped)
{
  if (!SettingsWork())
    GTEST_SKIP() << "the application keeps no settings yet";
  gateway.script("login", Reply::result(411, "请补充您的信息"));
  Open();
  Fill(u"  13912345678 ", u"abc12345");
  Login();
  EXPECT_EQ(CStringW(u"13912345678"), app.GetLogonId());
  CStringW stored;
  EXPECT_TRUE(app.GetConfig(u"LastUserId", stored));
  EXPECT_EQ(CStringW(u"13912345678"), stored);
}

}  // namespace
