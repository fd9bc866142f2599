// The information supplement dialog against the test gateway: the name's and password's checks,
// the key request and then "qUserInfoSupplement" with the logon id, the name and the password
// (decrypted at the gateway), each reply status, and another operation's notification during
// the wait, whose memo does not replace the gateway's.
#include "account_screen_fixture.h"
#include "qtot_dlg.h"
#include "qtot_ids.h"

using namespace accounttest;
using testgateway::Reply;

namespace {

class QtoTTest : public AccountScreenTest<CQtoTDlg> {
 protected:
  void SetUp() override
  {
    AccountScreenTest::SetUp();
    app.SetLogonId(u"13912345678");
  }
  HWND Field(int id) { return GetDlgItem(dialog->GetFormWindow(), id); }
  void Fill(const std::u16string& name, const std::u16string& password)
  {
    Type(Field(IDC_QTOT_NAME), name);
    Type(Field(IDC_QTOT_PASSWORD), password);
  }
};

TEST_F(QtoTTest, ShowsTheAccountAndRefusesBadInputBeforeAnythingIsSent)
{
  struct Case {
    const char16_t* name;
    const char16_t* password;
    const char* box;
  };
  const Case cases[] = {
      {u"张", u"pay123456", "box 71 真实姓名长度必须在2到32位以内,请重新填写。"},
      {u"张三", u"abc", "box 71 密码格式不正确，只能由6-20个字符或数字组成！"},
  };
  StartGateway();
  for (const Case& c : cases) {
    SCOPED_TRACE(kvtest::Narrow(c.name));
    app.ClearCalls();
    Open();
    EXPECT_EQ(u"账　　户：13912345678", Text(Field(IDC_QTOT_ACCOUNT)));
    Fill(c.name, c.password);
    Command(IDC_QTOT_SAVE);
    EXPECT_EQ((std::vector<std::string>{c.box}), Boxes());
    Close();
  }
  EXPECT_TRUE(gateway.requests().empty());
}

TEST_F(QtoTTest, EachStatusOfTheSupplement)
{
  struct Case {
    const char* name;
    Reply reply;
    std::vector<std::string> boxes;
    const char* screen;
    bool stillOpen;
    bool focusOnName;
  };
  const Case cases[] = {
      {"enabled", Reply::success(), {"box 64 保存成功！\r\n 您的Korvex账户已启用。"}, "ShowDesktopDlg(0)", false, false},
      {"field error", Reply::result(301, "userName,姓名与证件不符"), {"box 16 姓名与证件不符"}, "", true, true},
      {"field error without a field", Reply::result(302, "姓名与证件不符"), {"box 16 姓名与证件不符"}, "", true, true},
      {"refused", Reply::result(500, "系统繁忙"), {"box 16 系统繁忙"}, "", true, false},
      // The session's end shows its memo once, returns to the login and closes the dialog.
      {"session ended", Reply::result(200, "请重新登录"), {"box 64 请重新登录"}, "ShowLoginDlg", false, false},
  };
  AnswerWithCurrent("qUserInfoSupplement");
  StartGateway();
  UseTopWindow();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetCurrent(c.reply);
    app.ClearCalls();
    size_t before = gateway.requestsOf("qUserInfoSupplement").size();
    HWND window = Open();
    Fill(u"张三", u"pay123456");
    Command(IDC_QTOT_SAVE);
    auto sent = gateway.waitForRequest("qUserInfoSupplement", before + 1);
    ASSERT_TRUE(sent);
    EXPECT_EQ("13912345678", sent->field("logonId"));
    EXPECT_EQ("张三", sent->field("userName"));
    EXPECT_EQ("pay123456", SentPassword(*sent));
    EXPECT_EQ(c.boxes, Boxes());
    if (*c.screen) {
      EXPECT_TRUE(Called(c.screen));
    }
    EXPECT_EQ(c.stillOpen, IsWindow(window) != FALSE);
    if (c.focusOnName) {
      HWND focus = nullptr;
      ui.Invoke([&] { focus = GetFocus(); });
      EXPECT_EQ(Field(IDC_QTOT_NAME), focus);
    }
    Close();
  }
  EXPECT_FALSE(gateway.requestsOf("getRSAPKey").empty());
}

TEST_F(QtoTTest, TheUnreadCountDuringTheWaitNeitherEndsItNorReplacesTheMemo)
{
  gateway.script("qUserInfoSupplement", Reply::stall(Reply::result(500, "系统繁忙")));
  StartGateway();
  Open();
  Fill(u"张三", u"pay123456");
  ui.Invoke([&] { PostMessageW(dialog->m_hWnd, WM_COMMAND, IDC_QTOT_SAVE, 0); });
  ASSERT_TRUE(gateway.waitForRequest("qUserInfoSupplement"));
  NotifyUnreadCount();
  EXPECT_TRUE(Boxes().empty());
  gateway.releaseStalled();
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ((std::vector<std::string>{"box 16 系统繁忙"}), Boxes());
}

}  // namespace
