// The update check and the package download: the check's answer (201, 202 taken or declined,
// 203) decides the boxes and the download; only this check's answer counts; the download over
// HTTPS ends in the installer's start, a cancel against a stalled gateway leaves nothing behind,
// and a failure (a redirect off HTTPS among them) is told and writes no package.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app_fixture.h"
#include "service_results.h"
#include "testgateway/test_gateway.h"
#include "testing/device_root.h"
#include "testing/ui_thread.h"
#include "thread_message_box.h"

namespace {

using apptest::Narrow;
using apptest::NotingApp;
using apptest::NotingService;
namespace fs = std::filesystem;

class UpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override { app.SetPaymentService(&service); }
  void TearDown() override { CThreadMessageBox::DestroyInstance(); }

  // Answers the wait box with the update operation's notification; question boxes get `answer`.
  void Answer(int code, int status, const char16_t* memo, const char16_t* url, int answer = KV_BOX_ANSWER_OK)
  {
    app.answerBox = [=, this](UINT type) {
      if (type != KV_BOX_WAIT)
        return answer;
      // Other operations' notifications (the unread count, a trade list) are not this check's.
      service.Notify(32, S_OK, 2, nullptr);
      service.Notify(14, S_OK, 0, nullptr);
      auto* record = new UpdateResult;
      record->resultStatus = status;
      record->downloadURL = url;
      service.Notify(code, code == 58 ? S_OK : static_cast<HRESULT>(0x80200001u), reinterpret_cast<LPARAM>(record),
                     memo);
      return 0;
    };
  }

  device::testing::ScopedDeviceRoot root;
  NotingService service;
  NotingApp app;
};

TEST_F(UpdateCheckTest, TheAnswerDecidesTheBoxesAndTheDownload)
{
  struct Case {
    const char* name;
    int code;
    int status;
    const char16_t* memo;
    int answer;
    std::vector<std::string> calls;
  };
  const char* wait = "box(正在检测更新……,6,hidden)";
  const Case cases[] = {
      {"up to date", 64, 201, u"已是最新版本", 0, {wait, "box(已是最新版本,64,hidden)"}},
      {"offered, taken", 64, 202, u"有新版本", KV_BOX_ANSWER_OK,
       {wait, "box(有新版本,65,hidden)", "DownloadUpdate(https://gw/KorvexPortal.CAB)"}},
      {"offered, declined", 64, 202, u"有新版本", KV_BOX_ANSWER_CANCEL, {wait, "box(有新版本,65,hidden)"}},
      {"required", 64, 203, u"请升级", 0,
       {wait, "box(请升级,71,hidden)", "DownloadUpdate(https://gw/KorvexPortal.CAB)"}},
      {"checked", 58, 100, nullptr, 0, {wait, "box(,64,hidden)"}},
      {"failed", 65, 0, u"连接服务器出错", 0, {wait, "box(连接服务器出错,64,hidden)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NotingApp caseApp;
    caseApp.SetPaymentService(&service);
    service.operations.clear();
    app.answerBox = nullptr;
    Answer(c.code, c.status, c.memo, u"https://gw/KorvexPortal.CAB", c.answer);
    caseApp.answerBox = app.answerBox;
    caseApp.CheckUpdate(nullptr, 0x61F, u"https://gw/home/mobile.htm");
    EXPECT_EQ(c.calls, caseApp.Calls());
    EXPECT_EQ(std::vector<std::string>{"update(Unknown ProductID,2.1.3.1119)"}, service.operations);
    EXPECT_TRUE(service.listeners.empty());
  }
}

TEST_F(UpdateCheckTest, ACancelledCheckShowsNothingMoreAndAnEarlierAnswerIsNotReused)
{
  Answer(64, 203, u"请升级", u"https://gw/KorvexPortal.CAB");
  app.CheckUpdate(nullptr, 0, u"");
  ASSERT_EQ(3u, app.Calls().size());

  app.answerBox = [](UINT) { return KV_BOX_ANSWER_CANCEL; };
  app.CheckUpdate(nullptr, 0, u"");
  EXPECT_EQ(4u, app.Calls().size()) << "only the wait box";
  EXPECT_EQ("cancel", service.operations.back());

  service.makesCommand = false;
  app.CheckUpdate(nullptr, 0, u"");
  EXPECT_EQ(4u, app.Calls().size()) << "no command: nothing shown";
}

using kvtest::RunUntil;

// The download against the test gateway over HTTPS, with the client's library for the box and a
// stand-in installer that notes its command line; the failure text is the library's string 149.
class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    kvtest::SetScreenSize(240, 320);
    fs::create_directories(Host("Program Files/Tests"));
    fs::copy(KV_RESOURCE_OUTPUT "/ModelRes_240x320.dll", Host("Program Files/Tests/ModelRes_240x320.dll"),
             fs::copy_options::recursive);
    app.SetResourceLibrary(LoadLibraryW(u"ModelRes_240x320"));
    ASSERT_NE(nullptr, app.GetResourceLibrary());
    fs::create_directories(Host("Windows"));
    std::ofstream(Host("Windows/wceload.exe"), std::ios::binary)
        << "#!/bin/sh\nprintf '%s' \"$1\" > \"$KORVEX_DEVICE_ROOT/installer.txt.tmp\"\n"
           "mv \"$KORVEX_DEVICE_ROOT/installer.txt.tmp\" \"$KORVEX_DEVICE_ROOT/installer.txt\"\n";
    fs::permissions(Host("Windows/wceload.exe"), fs::perms::owner_all);
    gateway.servePage("/KorvexPortal.CAB", testgateway::Reply::http(200, "CAB-BYTES", "application/octet-stream"));
    gateway.servePage("/stalled.CAB", testgateway::Reply::stall(
                                          testgateway::Reply::http(200, "LATE", "application/octet-stream")));
    gateway.start();
    // An https address that sends the download to the plain listener, which has the package too.
    testgateway::Reply moved = testgateway::Reply::http(302, "");
    moved.headers = {{"Location", gateway.httpUrl() + "/KorvexPortal.CAB"}};
    gateway.servePage("/moved.CAB", moved);
    std::ofstream(Host("device.ini"), std::ios::binary)
        << "[network]\nca_bundle = " << gateway.tlsFiles().caCertificate.string() << "\n";
    app.noteDownloads = false;
  }
  void TearDown() override
  {
    gateway.releaseStalled();
    CThreadMessageBox::DestroyInstance();
  }

  std::string Host(const std::string& relative) const { return root.path() + "/" + relative; }
  CStringW Url(const std::string& path, bool tls = true) const
  {
    std::string url = (tls ? gateway.httpsUrl() : gateway.httpUrl()) + path;
    return CStringW(std::u16string(url.begin(), url.end()).c_str());
  }
  // Starts the download on the user-interface thread; `done` is raised when it returned.
  void StartDownload(const CStringW& url)
  {
    ui.Post([this, url] {
      app.DownloadUpdate(url);
      done = true;
    });
  }
  static std::string Read(const std::string& path)
  {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  device::testing::ScopedDeviceRoot root;
  testgateway::TestGateway gateway{testgateway::GatewayOptions{.tlsDir = root.path() + "/certs"}};
  NotingApp app;
  kvtest::UiThread ui;
  std::atomic<bool> done{false};
};

TEST_F(DownloadTest, ACompletePackageIsHandedToTheInstaller)
{
  StartDownload(Url("/KorvexPortal.CAB"));
  ASSERT_TRUE(RunUntil([&] { return done.load(); }));
  EXPECT_EQ("CAB-BYTES", Read(Host("Program Files/Tests/KorvexPortal.CAB")));
  ASSERT_TRUE(RunUntil([&] { return fs::exists(Host("installer.txt")); }));
  EXPECT_EQ("\"\\Program Files\\Tests\\KorvexPortal.CAB\" /delete 1", Read(Host("installer.txt")));
  EXPECT_TRUE(app.Calls().empty());
}

TEST_F(DownloadTest, ACancelAgainstAStalledGatewayEndsAtOnceAndLeavesNoFile)
{
  StartDownload(Url("/stalled.CAB"));
  ASSERT_TRUE(RunUntil([&] { return gateway.stalledCount() == 1; }));
  HWND box = nullptr;
  ui.Invoke([&] { box = GetActiveWindow(); });
  HWND cancel = GetDlgItem(box, KV_BOX_ANSWER_CANCEL);
  ASSERT_NE(nullptr, cancel) << kvtest::DumpWindowTree();
  ASSERT_TRUE(kvtest::TapWindow(cancel));
  ASSERT_TRUE(RunUntil([&] { return done.load(); }));
  EXPECT_FALSE(fs::exists(Host("Program Files/Tests/KorvexPortal.CAB")));
  EXPECT_FALSE(fs::exists(Host("installer.txt")));
  EXPECT_TRUE(app.Calls().empty()) << "a cancel is not a failure";
}

TEST_F(DownloadTest, FailuresAreToldAndInstallNothing)
{
  struct Case {
    const char* name;
    CStringW url;
    bool removeInstaller;
  };
  const Case cases[] = {
      {"missing package", Url("/missing.CAB"), false},
      // The plain listener would serve the package: only the scheme stops it.
      {"plain http", Url("/KorvexPortal.CAB", false), false},
      {"redirected to plain http", Url("/moved.CAB"), false},
      {"no installer", Url("/KorvexPortal.CAB"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gateway.clearRequests();
    size_t before = app.Calls().size();
    if (c.removeInstaller)
      fs::remove(Host("Windows/wceload.exe"));
    done = false;
    StartDownload(c.url);
    ASSERT_TRUE(RunUntil([&] { return done.load(); }));
    std::vector<std::string> calls = app.Calls();
    ASSERT_EQ(before + 1, calls.size());
    EXPECT_EQ("box(下载更新失败，请稍后再试。,16,hidden)", calls.back());
    EXPECT_FALSE(fs::exists(Host("installer.txt")));
    EXPECT_FALSE(fs::exists(Host("Program Files/Tests/KorvexPortal.CAB")));
    for (const testgateway::RecordedRequest& request : gateway.requests())
      EXPECT_TRUE(request.tls) << "asked over plain http: " << request.path;
  }
}

}  // namespace
