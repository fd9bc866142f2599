// The fixture of the desktop's tests: the client's screen-size library, a user-interface thread,
// an application object that records the screens and boxes it is asked for (the wait box is the
// real shared box, so a wait lasts until the desktop's listener ends it), and the service facade
// on a test gateway under driven virtual time.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app_services.h"
#include "desktop_dlg.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "service_test_support.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"
#include "thread_message_box.h"

namespace desktoptest {

struct BoxCall {
  std::u16string text;
  UINT type;
};

class DesktopApp : public CKorvexPortalApp {
 public:
  int ShowMessageBox(HWND owner, const CStringW& text, const CStringW& caption, UINT type, BOOL progress,
                     int afterShow) override
  {
    int answer = 0;
    {
      std::lock_guard<std::mutex> guard(lock);
      boxes.push_back({text.GetString(), type});
      answer = (type & 0xF) == KV_BOX_WAIT ? waitAnswer : boxAnswer;
    }
    // The wait is the shared box's own: it ends when the desktop's listener ends it.
    if ((type & 0xF) == KV_BOX_WAIT && answer == 0)
      return CKorvexPortalApp::ShowMessageBox(owner, text, caption, type, progress, afterShow);
    return answer;
  }
  int ShowLoginDlg(int) override { return Note("ShowLoginDlg"), -1; }
  int ShowBindPhoneDlg(int) override { return Note("ShowBindPhoneDlg"), -1; }
  void PostToActiveDialog(int value) override { Note("PostToActiveDialog(" + std::to_string(value) + ")"); }

  std::vector<BoxCall> Boxes()
  {
    std::lock_guard<std::mutex> guard(lock);
    return boxes;
  }
  std::vector<std::string> Calls()
  {
    std::lock_guard<std::mutex> guard(lock);
    return calls;
  }
  void Note(const std::string& call)
  {
    std::lock_guard<std::mutex> guard(lock);
    calls.push_back(call);
  }

  // The answer of every box but the wait box; the wait box's (0: wait for real).
  int boxAnswer = KV_BOX_ANSWER_OK;
  int waitAnswer = 0;

 private:
  std::mutex lock;
  std::vector<BoxCall> boxes;
  std::vector<std::string> calls;
};

// The client's library of the screen size, copied into the device root.
inline HMODULE UseModelLibrary(const std::filesystem::path& root, int width, int height)
{
  kvtest::SetScreenSize(width, height);
  std::string name = "ModelRes_" + std::to_string(width) + "x" + std::to_string(height);
  std::filesystem::path target = root / "Program Files" / "Tests" / (name + ".dll");
  if (!std::filesystem::exists(target)) {
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy(KV_RESOURCE_OUTPUT "/" + name + ".dll", target, std::filesystem::copy_options::recursive);
  }
  return LoadLibraryW(std::u16string(name.begin(), name.end()).c_str());
}

using kvtest::RunUntil;

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(240, 320); }
  void Start(int width, int height)
  {
    device.Start();
    HMODULE library = UseModelLibrary(device.Host(""), width, height);
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
    service.reset(RegisterServiceCommands(u"KORVEX_WM_PPC", u"460001234567890|351234567890123"));
    ASSERT_NE(nullptr, service);
    app.SetPaymentService(service.get());
    CThreadMessageBox::Instance();
  }
  void TearDown() override
  {
    ui.Invoke([&] {
      if (desktop)
        desktop->DestroyWindow();
      kvtest::DestroyThreadWindows();
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    EXPECT_TRUE(svcb_test::DrainNetWorker());
    ui.Invoke([&] { desktop.reset(); });
    CThreadMessageBox::DestroyInstance();
    app.SetPaymentService(nullptr);
  }

  // The desktop, shown modelessly and full screen on the user-interface thread.
  HWND ShowDesktop(bool runUntilIdle = true)
  {
    ui.Invoke([&] {
      if (!desktop)
        desktop = std::make_unique<CDesktopDlg>();
      if (customOpeners)
        desktop->SetPageOpeners(*customOpeners);
      desktop->ShowDialog(nullptr, 0, FALSE, TRUE);
    });
    if (runUntilIdle) {
      EXPECT_TRUE(kvtest::RunUntilIdle());
    }
    return desktop->m_hWnd;
  }
  // Sends the desktop a command on its thread without waiting (it may wait itself).
  void PostCommand(int id, LPARAM lParam = 0)
  {
    PostMessageW(desktop->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), lParam);
    EXPECT_TRUE(kvtest::RunUntilIdle());
  }
  // Waits in real time until the condition holds, without running until idle: while a request
  // is held at the gateway the driven clock keeps the screens' timers firing.
  static bool Poll(const std::function<bool()>& condition)
  {
    auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > bound)
        return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  testgateway::TestGateway& Gateway() { return device.Gateway(); }

  svcb_test::GatewayDevice device;
  svcb_test::ClockDriver clock;
  DesktopApp app;
  std::unique_ptr<CPaymentService> service;
  kvtest::UiThread ui;
  std::unique_ptr<CDesktopDlg> desktop;
  std::unique_ptr<DesktopPageOpeners> customOpeners;
};

}  // namespace desktoptest
