// The fixture of the message box's tests: the client's own screen-size library (with a screen of
// the client's kind added to show the box over), an application object, a user-interface thread
// that asks the shared box its questions, and ways to find and tap the box's keys.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "app_services.h"
#include "base_dlg.h"
#include "message_box_types.h"
#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"
#include "thread_message_box.h"

namespace boxtest {

constexpr int kScreen = 9100;
constexpr int kPending = 0x7777;

// A screen to stand behind the box.
inline const char kScreenScript[] = R"(
9100 DIALOG 0, 0, 120, 160
STYLE WS_POPUP | WS_VISIBLE | DS_SETFONT
FONT 9, "宋体"
BEGIN
    LTEXT           "收款账户", -1, 8, 22, 104, 10
    LTEXT           "zhang.san@example.com", -1, 8, 34, 104, 10
    LTEXT           "付款金额（元）", -1, 8, 54, 104, 10
    LTEXT           "128.50", -1, 8, 66, 104, 10
END
)";

class ScreenDlg : public CBaseDlg {
 public:
  int GetTemplateId(int) override { return kScreen; }
  int GetBackgroundBitmapId(int orientation) override { return orientation == 1 ? 0x418 : 0x419; }
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return 133; }
  int GetSoftKey2Id() override { return 134; }
};

using kvtest::RunUntil;

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { UseLibrary(240, 320); }
  void TearDown() override
  {
    CThreadMessageBox::DestroyInstance();
    CThreadMessageBox::SetRequestQueue(nullptr);
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      screen.reset();
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
  }

  // The client's library of the screen size (a copy in the device root, with the test screen).
  void UseLibrary(int width, int height)
  {
    kvtest::SetScreenSize(width, height);
    std::string name = "ModelRes_" + std::to_string(width) + "x" + std::to_string(height);
    std::filesystem::path target = root.path() + "/Program Files/Tests/" + name + ".dll";
    if (!std::filesystem::exists(target)) {
      std::filesystem::create_directories(target.parent_path());
      std::filesystem::copy(KV_RESOURCE_OUTPUT "/" + name + ".dll", target, std::filesystem::copy_options::recursive);
      std::ofstream(target / "zz_screen.rc", std::ios::binary) << kScreenScript;
    }
    HMODULE library = LoadLibraryW(std::u16string(name.begin(), name.end()).c_str());
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }

  // The test screen, shown full screen on the user-interface thread.
  HWND ShowScreen()
  {
    ui.Invoke([&] {
      screen = std::make_unique<ScreenDlg>();
      screen->ShowDialog(nullptr, 0, FALSE, TRUE);
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    return screen->m_hWnd;
  }

  // Asks the shared box on the user-interface thread; the answer lands in result. The box is made
  // first (running until idle does not wait for a thread that has no window yet).
  void Ask(const std::u16string& text, UINT type, BOOL progress = FALSE, int afterShow = SW_HIDE)
  {
    CThreadMessageBox::Instance();
    result = kPending;
    ui.Post([this, text, type, progress, afterShow] {
      result = ShowSkinMessageBox(nullptr, text.c_str(), u"", type, progress, afterShow);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  // Runs the work on the user-interface thread without waiting for it; its int lands in result.
  void Run(std::function<int()> work)
  {
    CThreadMessageBox::Instance();
    result = kPending;
    ui.Post([this, work] { result = work(); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  bool Waiting() const { return result == kPending; }

  static HWND Box() { return CThreadMessageBox::SharedWindow(); }
  static CThreadMessageBox& SharedBox() { return CThreadMessageBox::Instance(); }
  // The box's key that gives the answer; null when no key gives it.
  static HWND Key(int answer) { return GetDlgItem(Box(), answer); }
  static bool Visible(HWND window) { return window && IsWindowVisible(window); }
  static std::u16string Text(HWND window)
  {
    WCHAR text[64] = {};
    GetWindowTextW(window, text, 64);
    return text;
  }
  // A window of the user-interface thread that records what it is sent and posted.
  HWND RecordingWindow(const std::string& name, kvtest::MessageHandler handler = nullptr)
  {
    HWND hwnd = nullptr;
    ui.Invoke([&] { hwnd = kvtest::CreateRecordingWindow(log, {.name = name, .handler = handler}); });
    return hwnd;
  }

  device::testing::ScopedDeviceRoot root;
  CKorvexPortalApp app;
  kvtest::MessageLog log;
  kvtest::UiThread ui;
  std::unique_ptr<ScreenDlg> screen;
  std::atomic<int> result{kPending};
};

}  // namespace boxtest
