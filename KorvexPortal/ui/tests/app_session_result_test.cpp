// The reply statuses every screen treats alike: each (reply, state) gives the boxes shown, the
// screens opened, the user's fields and the settings written, and the status handed back.
#include "JSonHelper.h"
#include "app_fixture.h"
#include "atl/dialog_impl.h"
#include "base_dlg.h"
#include "testing/device_root.h"

namespace {

using apptest::Narrow;
using apptest::NotingApp;

class SessionResultTest : public ::testing::Test {
 protected:
  // Parses the reply and runs it through OnSessionResult.
  int Run(NotingApp& app, const char16_t* reply)
  {
    CResponseMap map;
    map.Parse(reply);
    return app.OnSessionResult(map);
  }
  device::testing::ScopedDeviceRoot root;
  CBaseDlg* topWindow = reinterpret_cast<CBaseDlg*>(&topWindowStandIn);
  char topWindowStandIn = 0;
};

struct Case {
  const char* name;
  const char16_t* reply;
  bool hasTopWindow;
  int answer;  // of a question box
  int status;
  std::vector<std::string> calls;
  const char* userName;   // afterwards
  const char* logonId;    // afterwards
  const char* lastUserId; // in the settings, or null for none
};

TEST_F(SessionResultTest, EachStatusIsHandledAsTheTableSays)
{
  const char* kBeforeName = "张三";
  const char* kBeforeLogon = "old@example.com";
  const Case cases[] = {
      {"success", u"{\"resultStatus\":100,\"memo\":\"好\"}", true, 0, 100, {}, kBeforeName, kBeforeLogon, nullptr},
      {"not activated, without facade", u"{\"resultStatus\":111,\"memo\":\"m\"}", true, 0, 111,
       {"box(您需在本手机客户端上开通支付功能，请按短信提示回复开通。,64,shown)"}, kBeforeName, kBeforeLogon, nullptr},
      {"not bound", u"{\"resultStatus\":112}", true, 0, 112,
       {"box(您需要先绑定手机才能使用本服务。,64,hidden)", "ShowBindPhoneDlg"}, kBeforeName, kBeforeLogon, nullptr},
      {"not bound, no top window", u"{\"resultStatus\":112}", false, 0, 112,
       {"box(您需要先绑定手机才能使用本服务。,64,hidden)"}, kBeforeName, kBeforeLogon, nullptr},
      {"session ended", u"{\"resultStatus\":200,\"memo\":\"会话超时\"}", true, 0, 200,
       {"box(会话超时,64,hidden)", "ShowLoginDlg"}, "", kBeforeLogon, nullptr},
      {"update offered, accepted", u"{\"resultStatus\":202,\"memo\":\"有新版本\",\"downloadURL\":\"https://u/p.CAB\"}",
       true, KV_BOX_ANSWER_OK, 202, {"box(有新版本,65,hidden)", "DownloadUpdate(https://u/p.CAB)"}, kBeforeName,
       kBeforeLogon, nullptr},
      {"update required", u"{\"resultStatus\":203,\"memo\":\"请升级\",\"downloadURL\":\"https://u/p.CAB\"}", true, 0,
       203, {"box(请升级,64,hidden)", "DownloadUpdate(https://u/p.CAB)"}, kBeforeName, kBeforeLogon, nullptr},
      {"information needed", u"{\"resultStatus\":401,\"memo\":\"请补充\",\"userName\":\"李四\",\"logonId\":\"li@example.com\"}",
       true, 0, 401, {"box(请补充,64,shown)", "ShowPersonalInfoDlg(0)"}, "李四", "li@example.com", "li@example.com"},
      {"information needed, no logon id", u"{\"resultStatus\":401,\"memo\":\"请补充\",\"userName\":\"李四\"}", true, 0,
       401, {"box(请补充,64,shown)", "ShowPersonalInfoDlg(0)"}, kBeforeName, kBeforeLogon, nullptr},
      {"information needed, no top window",
       u"{\"resultStatus\":401,\"memo\":\"请补充\",\"userName\":\"李四\",\"logonId\":\"li@example.com\"}", false, 0, 401,
       {"box(请补充,64,shown)"}, "李四", "li@example.com", "li@example.com"},
      {"holder needed", u"{\"resultStatus\":411,\"memo\":\"请完善\",\"logonId\":\"li@example.com\"}", true, 0, 411,
       {"box(请完善,64,shown)", "ShowQtoTDlg"}, kBeforeName, "li@example.com", "li@example.com"},
      {"holder needed, logon id a number", u"{\"resultStatus\":411,\"memo\":\"请完善\",\"logonId\":5}", true, 0, 411,
       {"box(请完善,64,shown)", "ShowQtoTDlg"}, kBeforeName, kBeforeLogon, nullptr},
      {"field error", u"{\"resultStatus\":350,\"memo\":\"loginAccount,账户不存在\"}", true, 0, 350, {}, kBeforeName,
       kBeforeLogon, nullptr},
      {"refusal", u"{\"resultStatus\":500,\"memo\":\"系统繁忙\"}", true, 0, 500, {"box(系统繁忙,16,hidden)"},
       kBeforeName, kBeforeLogon, nullptr},
      {"refusal without memo", u"{\"resultStatus\":500}", true, 0, 500, {}, kBeforeName, kBeforeLogon, nullptr},
      {"status as text", u"{\"resultStatus\":\"200\",\"memo\":\"会话超时\"}", true, 0, 0, {}, kBeforeName,
       kBeforeLogon, nullptr},
      {"no status", u"{\"memo\":\"会话超时\"}", true, 0, 0, {}, kBeforeName, kBeforeLogon, nullptr},
      {"not JSON", u"会话超时", true, 0, 0, {}, kBeforeName, kBeforeLogon, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    device::testing::ScopedDeviceRoot caseRoot;
    NotingApp app;
    app.SetUserName(u"张三");
    app.SetGreeting(u"你好");
    app.SetLogonId(u"old@example.com");
    if (c.hasTopWindow)
      app.SetMainDialog(topWindow);
    app.answerBox = [&](UINT) { return c.answer; };
    EXPECT_EQ(c.status, Run(app, c.reply));
    EXPECT_EQ(c.calls, app.Calls());
    EXPECT_EQ(c.userName, Narrow(app.GetUserName()));
    EXPECT_EQ(c.logonId, Narrow(app.GetLogonId()));
    EXPECT_EQ(c.status == 200, app.GetGreeting().IsEmpty());
    CStringW lastUserId(u"none");
    app.GetConfig(u"LastUserId", lastUserId);
    EXPECT_EQ(c.lastUserId ? c.lastUserId : "none", Narrow(lastUserId));
    app.SetMainDialog(nullptr);
  }
}

TEST_F(SessionResultTest, AnOfferDeclinedOnceIsNotAskedAgainButARequiredUpdateIsAlwaysMade)
{
  NotingApp app;
  app.answerBox = [](UINT) { return KV_BOX_ANSWER_CANCEL; };
  EXPECT_EQ(202, Run(app, u"{\"resultStatus\":202,\"memo\":\"有新版本\",\"downloadURL\":\"https://u/1.CAB\"}"));
  EXPECT_EQ(202, Run(app, u"{\"resultStatus\":202,\"memo\":\"有新版本\",\"downloadURL\":\"https://u/1.CAB\"}"));
  EXPECT_EQ(203, Run(app, u"{\"resultStatus\":203,\"memo\":\"请升级\",\"downloadURL\":\"https://u/2.CAB\"}"));
  EXPECT_EQ((std::vector<std::string>{"box(有新版本,65,hidden)", "box(请升级,64,hidden)",
                                      "DownloadUpdate(https://u/2.CAB)"}),
            app.Calls());
}

TEST_F(SessionResultTest, TheUnreadCountFollowsEveryReplyThatCarriesIt)
{
  NotingApp app;
  app.SetUnreadCount(3);
  Run(app, u"{\"resultStatus\":500,\"msgCount\":7}");
  EXPECT_EQ(7, app.GetUnreadCount());
  Run(app, u"{\"resultStatus\":100}");
  EXPECT_EQ(7, app.GetUnreadCount());
  Run(app, u"{\"resultStatus\":100,\"msgCount\":0}");
  EXPECT_EQ(0, app.GetUnreadCount());
}

TEST_F(SessionResultTest, HandleCommonStatusEndsTheSessionOnlyOn200)
{
  NotingApp app;
  app.SetUserName(u"张三");
  app.SetGreeting(u"你好");
  EXPECT_EQ(0, HandleCommonStatus(100, u"好"));
  EXPECT_EQ(0, HandleCommonStatus(500, u"系统繁忙"));
  EXPECT_TRUE(app.Calls().empty());
  EXPECT_EQ(1, HandleCommonStatus(200, u"会话超时"));
  EXPECT_EQ((std::vector<std::string>{"box(会话超时,64,hidden)", "ShowLoginDlg"}), app.Calls());
  EXPECT_TRUE(app.GetUserName().IsEmpty());
  EXPECT_TRUE(app.GetGreeting().IsEmpty());
}

}  // namespace
