// The fixture of the shell's tests: a device root with the client's screen-size library, the
// application object of the shell with the message box answered by the test, and a
// user-interface thread.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "portal_shell_app.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"

namespace shelltest {

// The shell's application object; the shared message box is answered by the test and its texts
// noted, and a test may hook the pre-registration reply (which every dialog passes on).
class ShellTestApp : public CKorvexPortalShellApp {
 public:
  int ShowMessageBox(HWND, const CStringW& text, const CStringW&, UINT type, BOOL, int) override
  {
    std::lock_guard<std::mutex> guard(lock);
    boxes.push_back(kvtest::Narrow(text.GetString()) + " type " + std::to_string(type));
    return boxAnswer;
  }
  HWND GetMessageBoxWindow() const override { return nullptr; }
  void OnPreRegisterResult(WPARAM result, LPARAM reply) override
  {
    if (onPreRegisterReply)
      onPreRegisterReply();
    else
      CKorvexPortalShellApp::OnPreRegisterResult(result, reply);
  }

  std::vector<std::string> Boxes()
  {
    std::lock_guard<std::mutex> guard(lock);
    return boxes;
  }

  int boxAnswer = -1;
  std::function<void()> onPreRegisterReply;

 private:
  std::mutex lock;
  std::vector<std::string> boxes;
};

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override { UseLibrary(240, 320); }
  void TearDown() override
  {
    ui.Invoke([&] {
      app.DestroyDialogs();
      app.OnIdle();
      kvtest::DestroyThreadWindows();
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
  }

  // The client's library of the screen size, copied into the device root, as the application's.
  void UseLibrary(int width, int height)
  {
    kvtest::SetScreenSize(width, height);
    std::string name = "ModelRes_" + std::to_string(width) + "x" + std::to_string(height);
    std::filesystem::path target = root.path() + "/Program Files/Tests/" + name + ".dll";
    if (!std::filesystem::exists(target)) {
      std::filesystem::create_directories(target.parent_path());
      std::filesystem::copy(KV_RESOURCE_OUTPUT "/" + name + ".dll", target, std::filesystem::copy_options::recursive);
    }
    HMODULE library = LoadLibraryW(std::u16string(name.begin(), name.end()).c_str());
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }

  // Runs the function on the user-interface thread, then until every thread is idle.
  void OnUi(const std::function<void()>& function)
  {
    ui.Invoke(function);
    EXPECT_TRUE(kvtest::RunUntilIdle());
  }

  static std::string TitleOf(HWND window)
  {
    WCHAR text[64] = {};
    GetWindowTextW(window, text, 64);
    return kvtest::Narrow(text);
  }
  static bool IsShown(CBaseDlg* dialog)
  {
    return dialog && dialog->m_hWnd && IsWindow(dialog->m_hWnd) && IsWindowVisible(dialog->m_hWnd);
  }

  device::testing::ScopedDeviceRoot root;
  ShellTestApp app;
  kvtest::UiThread ui;
};

}  // namespace shelltest
