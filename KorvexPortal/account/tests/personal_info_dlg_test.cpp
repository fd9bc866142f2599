// The personal settings dialog: the greeting's checks, the "personalSetup" body (keys in order,
// the screen size as quoted numbers, a quote in the greeting escaped), each reply status, and
// the back key offered or not.
#include "account_screen_fixture.h"
#include "base_dlg.h"
#include "personal_ids.h"
#include "personal_info_dlg.h"

using namespace accounttest;
using testgateway::Reply;

namespace {

class PersonalInfoTest : public AccountScreenTest<CPersonalInfoDlg> {
 protected:
  void SetUp() override
  {
    AccountScreenTest::SetUp();
    app.SetLogonId(u"zhangsan@example.com");
    app.SetUserName(u"张三");
    app.SetGreeting(u"春眠不觉晓");
  }
  HWND OpenWithBackKey(int backKey)
  {
    return Open([backKey](CPersonalInfoDlg& dlg) { dlg.SetBackKey(backKey); });
  }
  void TypeGreeting(const std::u16string& greeting)
  {
    ui.Invoke([&] { SetWindowTextW(Item(IDC_PERSONAL_GREETING), u""); });
    Type(Item(IDC_PERSONAL_GREETING), greeting);
  }
};

TEST_F(PersonalInfoTest, TheGreetingsChecks)
{
  struct Case {
    const char16_t* greeting;
    const char16_t* refusal;
  };
  const Case cases[] = {
      {u"", u"安全签名不能为空！"},
      {u"   ", u"安全签名不能都为空格！"},
      {u"一二三四五六七八九十", u""},
      {u"  一二三四五六七八九十  ", u""},
      {u"一二三四五六七八九十一", u"安全签名超出10个字符，请重输！"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::u16string(c.refusal), CPersonalInfoDlg::CheckGreeting(c.greeting).GetString())
        << kvtest::Narrow(c.greeting);
}

TEST_F(PersonalInfoTest, ShowsTheAccountTheUserAndTheGreeting)
{
  OpenWithBackKey(1);
  EXPECT_EQ(u"账　　户：zhangsan@example.com", Text(Item(IDC_PERSONAL_ACCOUNT)));
  EXPECT_EQ(u"用 户 名：张三", Text(Item(IDC_PERSONAL_NAME)));
  EXPECT_EQ(u"春眠不觉晓", Text(Item(IDC_PERSONAL_GREETING)));
}

TEST_F(PersonalInfoTest, TheRequestCarriesItsKeysInOrderWithTheGreetingEscaped)
{
  gateway.script("personalSetup", Reply::success());
  StartGateway();
  OpenWithBackKey(1);
  TypeGreeting(u" 我的\"签名\" ");
  HWND window = dialog->m_hWnd;
  ui.Invoke([&] { PostMessageW(window, WM_COMMAND, IDC_PERSONAL_SAVEKEY, 0); });
  // Saved, the dialog hides.
  ASSERT_TRUE(RunUntil([&] { return !IsWindowVisible(window); })) << ::testing::PrintToString(app.Calls());
  auto sent = gateway.waitForRequest("personalSetup");
  ASSERT_TRUE(sent && sent->requestData && sent->json);
  std::vector<std::string> keys;
  for (auto& [key, value] : sent->json->items())
    keys.push_back(key);
  EXPECT_EQ((std::vector<std::string>{"operationType", "clientID", "greeting", "userAgent", "screenWidth",
                                      "screenHigh", "productID", "productVersion"}),
            keys);
  // Sent as typed, spaces kept, the quotes escaped; the screen size as quoted numbers.
  EXPECT_NE(std::string::npos, sent->requestData->find(R"("greeting":" 我的\"签名\" ")"));
  EXPECT_NE(std::string::npos, sent->requestData->find(R"("screenWidth":"240","screenHigh":"320")"));
  EXPECT_EQ(" 我的\"签名\" ", sent->field("greeting"));
  CStringW clientId;
  app.JoinPair(clientId);
  EXPECT_EQ(kvtest::Narrow(clientId.GetString()), sent->field("clientID"));
}

TEST_F(PersonalInfoTest, ARefusedGreetingIsNotSent)
{
  StartGateway();
  OpenWithBackKey(1);
  TypeGreeting(u"   ");
  Command(IDC_PERSONAL_SAVEKEY);
  EXPECT_EQ((std::vector<std::string>{"box 71 安全签名不能都为空格！"}), Boxes());
  EXPECT_TRUE(gateway.requests().empty());
}

TEST_F(PersonalInfoTest, EachStatusOfTheReply)
{
  struct Case {
    const char* name;
    Reply reply;
    std::vector<std::string> boxes;
    const char16_t* greeting;  // the application's greeting afterwards
    const char* screen;        // the screen opened, or ""
    bool visible;
    bool stillOpen;
  };
  const Case cases[] = {
      {"saved", Reply::success(), {}, u"新签名", "ShowDesktopDlg(0)", false, true},
      {"session ended", Reply::result(200, "请重新登录"), {"box 64 请重新登录"}, u"", "ShowLoginDlg", false, false},
      {"field error", Reply::result(320, "greeting,签名含有非法字符"), {"box 16 签名含有非法字符"}, u"春眠不觉晓", "",
       true, true},
      {"refused", Reply::result(500, "系统繁忙"), {"box 16 系统繁忙"}, u"春眠不觉晓", "", true, true},
      {"no connection", Reply::close(), {"box 16 连接服务器出错"}, u"春眠不觉晓", "", true, true},
  };
  AnswerWithCurrent("personalSetup");
  StartGateway();
  UseTopWindow();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetCurrent(c.reply);
    app.SetGreeting(u"春眠不觉晓");
    app.SetUserName(u"张三");
    app.ClearCalls();
    HWND window = OpenWithBackKey(0);
    TypeGreeting(u"新签名");
    HWND dlg = dialog->m_hWnd;
    ui.Invoke([&] { PostMessageW(dlg, WM_COMMAND, IDC_PERSONAL_SAVEKEY, 0); });
    ASSERT_TRUE(RunUntil([&] {
      return !Boxes().empty() || !IsWindow(window) || !IsWindowVisible(window);
    }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(c.boxes, Boxes());
    EXPECT_EQ(std::u16string(c.greeting), app.GetGreeting().GetString());
    EXPECT_EQ(*c.screen != 0, Called(c.screen[0] ? c.screen : "no screen"));
    EXPECT_EQ(c.stillOpen, IsWindow(window) != FALSE);
    EXPECT_EQ(c.visible, IsWindow(window) && IsWindowVisible(window));
    Close();
  }
}

TEST_F(PersonalInfoTest, TheBackKeyOnlyWhenOpenedFromTheMenu)
{
  HWND window = OpenWithBackKey(0);
  HWND backKey = Item(IDC_PERSONAL_BACK);
  EXPECT_EQ(u"", Text(backKey));
  ui.Invoke([&] { SendMessageW(window, WM_COMMAND, IDC_PERSONAL_BACK, 0); });
  EXPECT_TRUE(IsWindowVisible(window)) << "without the back key the user has to save";
  Close();

  window = OpenWithBackKey(1);
  EXPECT_EQ(u"返回", Text(Item(IDC_PERSONAL_BACK)));
  ui.Invoke([&] { SendMessageW(window, WM_COMMAND, IDC_PERSONAL_BACK, 0); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
