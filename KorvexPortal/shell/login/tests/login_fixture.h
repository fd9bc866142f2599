// The fixture of the login dialog's tests: a device whose gateway is the test gateway over HTTPS,
// the client's screen-size library, the secure-input library, the real service facade, and an
// application object that records the screens the dialog opens and answers its boxes (the wait
// box is the real shared box, which the dialog's listener ends).
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app_services.h"
#include "crypt/base64.h"
#include "login_dlg.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "selvane/selvane.h"
#include "testgateway/test_gateway.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"
#include "thread_message_box.h"

namespace logintest {

using kvtest::Narrow;

inline std::string Utf8(const CStringW& text)
{
  return Narrow(std::u16string(text.GetString()));
}

// What the dialog asked of the application, one line a call, and the answers its boxes get.
class LoginApp : public CKorvexPortalApp {
 public:
  int ShowDesktopDlg(int) override { return Note("desktop"), -1; }
  int ShowUnpaidTradeList(const CStringW& table, const CStringW& time) override
  {
    return Note("unpaid(" + Utf8(table) + "|" + Utf8(time) + ")"), -1;
  }
  int ShowQtoTDlg(int) override { return Note("supplement"), -1; }
  void ShowApnSettingsDlg(BOOL show) override { Note("apn(" + std::to_string(show) + ")"); }
  void DownloadUpdate(const CStringW& url) override { Note("download(" + Utf8(url) + ")"); }
  int ShowMessageBox(HWND owner, const CStringW& text, const CStringW& caption, UINT type, BOOL progress,
                     int afterShow) override
  {
    if (type == KV_BOX_WAIT) {
      Note("wait(" + Utf8(text) + ")");
      return CKorvexPortalApp::ShowMessageBox(owner, text, caption, type, progress, afterShow);
    }
    Note("box(" + std::to_string(type) + "," + Utf8(text) + ")");
    std::lock_guard<std::mutex> guard(lock);
    if (answers.empty())
      return KV_BOX_ANSWER_OK;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }

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
  void Answer(int answer)
  {
    std::lock_guard<std::mutex> guard(lock);
    answers.push_back(answer);
  }

 private:
  void Note(const std::string& call)
  {
    std::lock_guard<std::mutex> guard(lock);
    calls.push_back(call);
  }
  std::mutex lock;
  std::vector<std::string> calls;
  std::deque<int> answers;
};

// The login dialog, counting the results it has handled.
class TestLoginDlg : public CLoginDlg {
 public:
  BEGIN_MSG_MAP(TestLoginDlg)
    MESSAGE_HANDLER(WM_KV_LOGIN_DONE, OnDone)
    MESSAGE_HANDLER(WM_KV_CHECKCODE_DONE, OnDone)
    CHAIN_MSG_MAP(CLoginDlg)
  END_MSG_MAP()

  std::atomic<int> results{0};

 private:
  LRESULT OnDone(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
  {
    LRESULT result = 0;
    CLoginDlg::ProcessWindowMessage(m_hWnd, message, wParam, lParam, result, 0);
    ++results;
    return result;
  }
};

// Stands for the program's top window: the dialog opens the next screen only when there is one.
class TopWindow : public CBaseDlg {
 public:
  int GetTemplateId(int) override { return 0; }
};

// The Base64 text of a one-colour bitmap file.
inline std::string ImageBase64(const std::string& file)
{
  int length = Base64EncodeGetRequiredLength(static_cast<int>(file.size()), ATL_BASE64_FLAG_NOCRLF);
  std::string text(static_cast<size_t>(length), '\0');
  Base64Encode(reinterpret_cast<const BYTE*>(file.data()), static_cast<int>(file.size()), text.data(), &length,
               ATL_BASE64_FLAG_NOCRLF);
  text.resize(static_cast<size_t>(length));
  return text;
}

class LoginTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    UseScreen(240, 320);
    ASSERT_TRUE(SelvaneInitialize(0));
    service.reset(RegisterServiceCommands(u"KORVEX_WM_PPC", u"111111111111111|333333333333333"));
    ASSERT_NE(nullptr, service);
    app.SetPaymentService(service.get());
    app.SetMainDialog(&top);
  }
  void TearDown() override
  {
    gateway.releaseStalled();
    CThreadMessageBox::DestroyInstance();
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      dialog.reset();
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    service.reset();
    SelvaneUninitialize();
  }

  // The client's library of the screen size, copied into the device.
  void UseScreen(int width, int height)
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

  bool NameGateway()
  {
    gateway.start();
    std::ofstream(root.path() + "/device.ini", std::ios::binary)
        << "[network]\nca_bundle = " << gateway.tlsFiles().caCertificate.string()
        << "\ngateway = " << gateway.httpsUrl() << "\n";
    return true;
  }

  // Whether the application object keeps settings (the settings file is there).
  bool SettingsWork() { return app.SetConfig(u"probe", u"1") != FALSE; }

  // Opens the login dialog as the application does: modeless and full screen.
  HWND Open()
  {
    ui.Invoke([&] {
      dialog = std::make_unique<TestLoginDlg>();
      dialog->ShowDialog(nullptr, 0, FALSE, TRUE);
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    return dialog->m_hWnd;
  }
  HWND Item(int id) const { return GetDlgItem(dialog->m_hWnd, id); }
  static bool Visible(HWND window) { return window && IsWindowVisible(window); }
  static std::u16string Text(HWND window)
  {
    WCHAR text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
  }

  // Types the account, and the password into the guarded edit.
  void Fill(const std::u16string& account, const std::u16string& password)
  {
    ui.Invoke([&] { SetWindowTextW(Item(IDC_LOGIN_ACCOUNT), account.c_str()); });
    ui.Invoke([&] {
      ClearInputForMe(Item(IDC_LOGIN_PASSWORD));
      SetFocus(Item(IDC_LOGIN_PASSWORD));
    });
    ASSERT_TRUE(kvtest::TypeText(password));
  }
  void SetChecked(int id, bool checked)
  {
    ui.Invoke([&] { SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); });
  }
  bool Checked(int id) { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // The guarded edit's text.
  std::u16string GuardedText(int id)
  {
    WCHAR buffer[260] = {};
    ui.Invoke([&] { GetInputForMe(Item(id), buffer, sizeof buffer); });
    return buffer;
  }

  // Sends the command as a tap would, without waiting for the wait box it may show (whose
  // animation keeps the user-interface threads busy while it is up).
  void Command(int id)
  {
    ui.Post([this, id] { dialog->SendMessage(WM_COMMAND, static_cast<WPARAM>(id), 0); });
  }
  // Waits (bounded) until the dialog has handled `count` results in all.
  bool WaitForResults(int count) { return RunUntil([&] { return dialog->results >= count; }); }
  // Runs the user-interface threads until the condition holds; false when it did not within
  // 30 s. A shown wait box animates, so the threads need not come to rest on the way.
  static bool RunUntil(const std::function<bool()>& condition)
  {
    auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > bound)
        return false;
      kvtest::RunUntilIdle(50);
      std::this_thread::yield();
    }
    return true;
  }
  // Submits the filled form and waits for its result.
  void Login(int expectedResults = 1)
  {
    Command(IDC_LOGIN_BUTTON);
    ASSERT_TRUE(WaitForResults(expectedResults)) << kvtest::DumpWindowTree();
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }

  device::testing::ScopedDeviceRoot root;
  testgateway::TestGateway gateway{testgateway::GatewayOptions{.tlsDir = root.path() + "/certs"}};
  // The gateway starts and the device names it before anything reads the device's settings,
  // which are read once (the user-interface thread below is the first reader).
  bool gatewayNamed = NameGateway();
  LoginApp app;
  TopWindow top;
  std::unique_ptr<CPaymentService> service;
  kvtest::UiThread ui;
  std::unique_ptr<TestLoginDlg> dialog;
};

}  // namespace logintest
