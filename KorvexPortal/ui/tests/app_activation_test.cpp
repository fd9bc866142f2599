// The activation request behind the wait box: the application object's own listener takes the
// answer (codes 10 and 11 only) and shows it; no command means no wait; a cancel cancels the
// command; the listener is gone afterwards.
#include "JSonHelper.h"
#include "app_fixture.h"
#include "service_results.h"
#include "testing/device_root.h"
#include "thread_message_box.h"

namespace {

using apptest::NotingApp;
using apptest::NotingService;

class ActivationTest : public ::testing::Test {
 protected:
  void SetUp() override { app.SetPaymentService(&service); }
  void TearDown() override { CThreadMessageBox::DestroyInstance(); }

  device::testing::ScopedDeviceRoot root;
  NotingService service;
  NotingApp app;
};

TEST_F(ActivationTest, TheAnswerIsShownAndNothingElseEndsTheWait)
{
  struct Case {
    const char* name;
    int code;
    const char16_t* memo;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {"activated", 10, u"开通成功", {"box(正在提交数据，请稍候……,6,hidden)", "box(开通成功,64,hidden)"}},
      {"refused", 11, u"手机号码不符", {"box(正在提交数据，请稍候……,6,hidden)", "box(手机号码不符,16,hidden)"}},
      {"network", 11, nullptr, {"box(正在提交数据，请稍候……,6,hidden)", "box(连接服务器出错,16,hidden)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NotingApp caseApp;
    caseApp.SetPaymentService(&service);
    service.operations.clear();
    // The unread count's notification during the wait changes nothing; then the answer comes.
    caseApp.answerBox = [&](UINT type) {
      if (type == KV_BOX_WAIT) {
        service.Notify(32, S_OK, 4, nullptr);
        CServiceResult record{100, c.memo ? c.memo : u""};
        service.Notify(c.code, c.code == 10 ? S_OK : static_cast<HRESULT>(0x80200001u),
                       c.code == 10 ? reinterpret_cast<LPARAM>(&record) : 0, c.memo);
      }
      return 0;
    };
    EXPECT_EQ(0, caseApp.SubmitActivation(nullptr));
    EXPECT_EQ(c.boxes, caseApp.Calls());
    EXPECT_EQ(std::vector<std::string>{"confirmMobilePay"}, service.operations);
    EXPECT_TRUE(service.listeners.empty());
  }
}

TEST_F(ActivationTest, AnAnswerBeforeTheBoxShowsIsKept)
{
  service.onStart = [&] { service.Notify(10, S_OK, 0, u"开通成功"); };
  app.SubmitActivation(nullptr);
  EXPECT_EQ((std::vector<std::string>{"box(正在提交数据，请稍候……,6,hidden)", "box(开通成功,64,hidden)"}), app.Calls());
}

TEST_F(ActivationTest, WithoutACommandNothingWaits)
{
  service.makesCommand = false;
  EXPECT_EQ(0, app.SubmitActivation(nullptr));
  EXPECT_TRUE(app.Calls().empty());
  EXPECT_EQ(std::vector<std::string>{"confirmMobilePay"}, service.operations);
  EXPECT_TRUE(service.listeners.empty());
}

TEST_F(ActivationTest, ACancelCancelsTheCommandAndALaterAnswerIsNotShown)
{
  app.answerBox = [](UINT) { return KV_BOX_ANSWER_CANCEL; };
  app.SubmitActivation(nullptr);
  EXPECT_EQ((std::vector<std::string>{"confirmMobilePay", "cancel"}), service.operations);
  EXPECT_EQ(std::vector<std::string>{"box(正在提交数据，请稍候……,6,hidden)"}, app.Calls());
  EXPECT_TRUE(service.listeners.empty());

  // The next activation waits again for its own answer: the event does not stay set.
  app.answerBox = [&](UINT type) {
    if (type == KV_BOX_WAIT)
      service.Notify(11, static_cast<HRESULT>(0x80200001u), 500, u"系统繁忙");
    return 0;
  };
  app.SubmitActivation(nullptr);
  EXPECT_EQ((std::vector<std::string>{"box(正在提交数据，请稍候……,6,hidden)", "box(正在提交数据，请稍候……,6,hidden)",
                                      "box(系统繁忙,16,hidden)"}),
            app.Calls());
}

TEST_F(ActivationTest, Status111RunsTheActivationWhenThereIsATopWindow)
{
  char standIn = 0;
  app.SetMainDialog(reinterpret_cast<CBaseDlg*>(&standIn));
  app.answerBox = [&](UINT type) {
    if (type == KV_BOX_WAIT)
      service.Notify(10, S_OK, 0, u"开通成功");
    return 0;
  };
  CResponseMap reply;
  reply.Parse(u"{\"resultStatus\":111}");
  EXPECT_EQ(111, app.OnSessionResult(reply));
  EXPECT_EQ((std::vector<std::string>{"box(您需在本手机客户端上开通支付功能，请按短信提示回复开通。,64,shown)",
                                      "box(正在提交数据，请稍候……,6,hidden)", "box(开通成功,64,hidden)"}),
            app.Calls());
  app.SetMainDialog(nullptr);
}

}  // namespace
