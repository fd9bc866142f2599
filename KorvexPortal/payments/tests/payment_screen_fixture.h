// The fixture of the payment screens' tests: a device whose gateway is an in-process test
// gateway over HTTPS, the client's own screen-size library, the secure-input library, the
// service facade on that gateway (its session key the gateway's own), an application object
// that records the boxes and screens the dialogs ask for (the wait box is the real shared box),
// a user-interface thread and a recording window to stand as the screens' opener.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app_services.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "selvane/selvane.h"
#include "testgateway/test_gateway.h"
#include "testing/clock.h"
#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"
#include "thread_message_box.h"

namespace paytest {

inline std::u16string Wide(const std::string& ascii)
{
  return std::u16string(ascii.begin(), ascii.end());
}

// Records the boxes and screens asked for. Waits go to the real shared box (a listener ends
// them); every other box is noted and answered with the test's answer at once.
class RecordingApp : public CKorvexPortalApp {
 public:
  int ShowMessageBox(HWND owner, const CStringW& text, const CStringW& caption, UINT type, BOOL progress,
                     int afterShow) override
  {
    Note("box " + std::to_string(type) + " " + kvtest::Narrow(text.GetString()));
    if ((type & 0xF) == KV_BOX_WAIT)
      return CKorvexPortalApp::ShowMessageBox(owner, text, caption, type, progress, afterShow);
    return answer;
  }
  int ShowDesktopDlg(int value) override { return Note("ShowDesktopDlg(" + std::to_string(value) + ")"), -1; }
  int ShowLoginDlg(int) override { return Note("ShowLoginDlg"), -1; }
  int ShowBindPhoneDlg(int value) override { return Note("ShowBindPhoneDlg(" + std::to_string(value) + ")"), -1; }
  HWND GetDesktopDlgWindow() const override { return desktop; }
  HWND GetDesktopTradeQueryWindow() const override { return tradeQuery; }
  void ShowUnreadCount(int count) override { Note("ShowUnreadCount(" + std::to_string(count) + ")"); }

  std::vector<std::string> Calls()
  {
    std::lock_guard<std::mutex> guard(lock);
    return calls;
  }
  void ClearCalls()
  {
    std::lock_guard<std::mutex> guard(lock);
    calls.clear();
  }

  std::atomic<int> answer{KV_BOX_ANSWER_OK};
  HWND desktop = nullptr;
  HWND tradeQuery = nullptr;

 private:
  void Note(const std::string& call)
  {
    std::lock_guard<std::mutex> guard(lock);
    calls.push_back(call);
  }
  std::mutex lock;
  std::vector<std::string> calls;
};

// Moves the virtual clock on while a test waits for the code under test, so the facade's pause
// before it notifies passes without real waiting.
class ClockDriver {
 public:
  ClockDriver()
  {
    thread_ = std::thread([this] {
      while (!stop_) {
        if (device::testing::WaitForClockWaiters(1, 20))
          device::testing::AdvanceClock(10);
      }
    });
  }
  ~ClockDriver()
  {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

using kvtest::RunUntil;

class PaymentScreenTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    kvtest::UseVirtualTime(SYSTEMTIME{2010, 7, 4, 1, 12, 9, 30, 0});
    ASSERT_TRUE(SelvaneInitialize(0));
    UseLibrary(240, 320);
  }
  void TearDown() override
  {
    StopAppLoop();
    // A screen still waiting (a failed test) ends its wait before it goes.
    gateway.releaseStalled();
    if (CThreadMessageBox::SharedWindow())
      CThreadMessageBox::Instance().EndWait();
    EXPECT_TRUE(kvtest::RunUntilIdle());
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    ui.Invoke([&] { DestroyScreens(); });
    CThreadMessageBox::DestroyInstance();
    clock.reset();
    if (service) {
      app.SetPaymentService(nullptr);
      service.reset();
    }
    SelvaneUninitialize();
  }
  // The screens the test made, deleted on the user-interface thread once their windows are gone.
  virtual void DestroyScreens() {}

  // The client's library of the screen size, copied into the device root.
  void UseLibrary(int width, int height)
  {
    kvtest::SetScreenSize(width, height);
    std::string name = "ModelRes_" + std::to_string(width) + "x" + std::to_string(height);
    std::filesystem::path target = root.path() + "/Program Files/Tests/" + name + ".dll";
    if (!std::filesystem::exists(target)) {
      std::filesystem::create_directories(target.parent_path());
      std::filesystem::copy(KV_RESOURCE_OUTPUT "/" + name + ".dll", target, std::filesystem::copy_options::recursive);
    }
    HMODULE library = LoadLibraryW(Wide(name).c_str());
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }

  // Uses the library of the size; the size's name, for screenshots and traces ("240x320").
  std::string UseSize(int width, int height)
  {
    UseLibrary(width, height);
    return std::to_string(width) + "x" + std::to_string(height);
  }

  // Starts the gateway (after the test scripted it), names it in the device settings (followed
  // by the test's own settings) and makes the facade, whose session key is the gateway's.
  void StartGateway(const std::string& moreSettings = {})
  {
    gateway.start();
    std::ofstream(root.path() + "/device.ini", std::ios::binary)
        << "[network]\nca_bundle = " << gateway.tlsFiles().caCertificate.string()
        << "\ngateway = " << gateway.httpsUrl() << "\n" << moreSettings;
    service.reset(RegisterServiceCommands(u"KORVEX_WM_PPC", u"111111111111111|333333333333333"));
    ASSERT_NE(nullptr, service);
    std::u16string key = Wide(gateway.key().publicKeyText());
    std::u16string stamp = Wide(gateway.key().issueTimeStamp());
    service->SetSession(key.c_str(), stamp.c_str());
    app.SetPaymentService(service.get());
    clock = std::make_unique<ClockDriver>();
  }

  // Runs the application's message loop on the user-interface thread until the test ends, so keys
  // pass the screens' message filters as on the phone.
  void RunAppLoop()
  {
    ui.Invoke([&] { app.AddMessageLoop(&appLoop); });
    appLooping = true;
    ui.Post([&] {
      appLoop.Run();
      appLooping = false;
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  void StopAppLoop()
  {
    if (!appLooping)
      return;
    ui.Post([] { PostQuitMessage(0); });
    EXPECT_TRUE(RunUntil([&] { return !appLooping; }));
    ui.Invoke([&] { app.RemoveMessageLoop(); });
  }

  // Whether a call was recorded that starts with the text.
  bool Called(const std::string& prefix)
  {
    for (const std::string& call : app.Calls())
      if (call.rfind(prefix, 0) == 0)
        return true;
    return false;
  }
  // The boxes recorded, the waits (of any frame) left out.
  std::vector<std::string> Boxes()
  {
    std::vector<std::string> boxes;
    for (const std::string& call : app.Calls())
      if (call.rfind("box ", 0) == 0 && (std::stoul(call.substr(4)) & 0xF) != KV_BOX_WAIT)
        boxes.push_back(call);
    return boxes;
  }
  // The opener: a window of the user-interface thread that records what it is posted.
  HWND Opener()
  {
    HWND hwnd = nullptr;
    ui.Invoke([&] { hwnd = kvtest::CreateRecordingWindow(log, {.name = "opener", .style = WS_POPUP | WS_VISIBLE}); });
    return hwnd;
  }
  std::vector<kvtest::RecordedMessage> Received(const std::string& window, UINT message)
  {
    std::vector<kvtest::RecordedMessage> found;
    for (const kvtest::RecordedMessage& m : log.Messages())
      if (m.window == window && m.message == message)
        found.push_back(m);
    return found;
  }
  static std::u16string Text(HWND window)
  {
    WCHAR text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
  }

  device::testing::ScopedDeviceRoot root;
  testgateway::TestGateway gateway{testgateway::GatewayOptions{.tlsDir = root.path() + "/certs"}};
  RecordingApp app;
  std::unique_ptr<CPaymentService> service;
  std::unique_ptr<ClockDriver> clock;
  kvtest::MessageLog log;
  CMessageLoop appLoop;
  std::atomic<bool> appLooping{false};
  kvtest::UiThread ui;
};

}  // namespace paytest
