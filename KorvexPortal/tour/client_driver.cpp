#include "client_driver.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include "login_ids.h"
#include "program_entry.h"
#include "selvane/selvane.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"

namespace korvexdrive {

ClientDriver::ClientDriver() : ClientDriver(std::make_unique<CKorvexPortalShellApp>()) {}

ClientDriver::ClientDriver(std::unique_ptr<CKorvexPortalShellApp> app)
    : app_(std::move(app)), ended_(std::make_shared<std::atomic<bool>>(true))
{
}

ClientDriver::~ClientDriver()
{
  Stop();
}

bool ClientDriver::Start(HINSTANCE instance, const CStringW& commandLine)
{
  ui_ = std::make_unique<kvtest::UiThread>();
  bool hasScreens = false;
  ui_->Invoke([&] {
    StartClientServices(*app_, instance);
    if (!screenLibrary_.empty())
      app_->SetResourceLibrary(LoadLibraryW(screenLibrary_.c_str()));
    hasScreens = app_->GetResourceLibrary() != nullptr;
  });
  if (!hasScreens) {
    ui_->Invoke([&] { StopClientServices(*app_); });
    return false;
  }
  ended_->store(false);
  CKorvexPortalShellApp* app = app_.get();
  std::shared_ptr<std::atomic<bool>> ended = ended_;
  ui_->Post([app, ended, commandLine] {
    app->Run(commandLine, SW_SHOW);
    StopClientServices(*app);
    ended->store(true);
  });
  return true;
}

bool ClientDriver::Stop()
{
  if (!ui_)
    return true;
  bool ended = ended_->load();
  if (!ended) {
    PostThreadMessageW(ui_->ThreadId(), WM_QUIT, 0, 0);
    ended = WaitUntil([&] { return ended_->load(); });
  }
  if (ended)
    ui_.reset();
  return ended;
}

void ClientDriver::OnUi(const std::function<void()>& function)
{
  ui_->Invoke(function);
}

void ClientDriver::PostToUi(std::function<void()> function)
{
  ui_->Post(std::move(function));
}

HWND ClientDriver::WindowOf(const std::function<CBaseDlg*(CKorvexPortalShellApp&)>& screen)
{
  HWND window = nullptr;
  OnUi([&] {
    CBaseDlg* dialog = screen(*app_);
    window = dialog ? dialog->m_hWnd : nullptr;
  });
  return window;
}

bool ClientDriver::WaitUntil(const std::function<bool()>& condition, DWORD boundMs)
{
  auto bound = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > bound)
      return false;
    // A shown wait box animates, so the threads need not come to rest on the way: polled.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

bool ClientDriver::BoxShown()
{
  HWND box = nullptr;
  OnUi([&] { box = app_->GetMessageBoxWindow(); });
  return box && IsWindow(box) && IsWindowVisible(box);
}

bool ClientDriver::WaitForScreen(HWND window, DWORD boundMs)
{
  return WaitUntil([&] { return window && IsWindow(window) && IsWindowVisible(window) && !BoxShown(); }, boundMs) &&
         kvtest::RunUntilIdle();
}

HWND ClientDriver::WaitForShown(const std::function<CBaseDlg*(CKorvexPortalShellApp&)>& screen, DWORD boundMs)
{
  HWND window = nullptr;
  bool shown = WaitUntil([&] {
    window = WindowOf(screen);
    return window && IsWindowVisible(window) && !BoxShown();
  }, boundMs);
  return shown && kvtest::RunUntilIdle() ? window : nullptr;
}

HWND ClientDriver::WaitForScreenAfterLogin(DWORD boundMs)
{
  return WaitForShown([](CKorvexPortalShellApp& app) -> CBaseDlg* {
    for (CBaseDlg* screen : {app.GetUnpaidTradeListDialog(), app.GetDesktopDialog()})
      if (screen && screen->m_hWnd && ::IsWindowVisible(screen->m_hWnd))
        return screen;
    return nullptr;
  }, boundMs);
}

void ClientDriver::PostCommand(HWND window, int id, LPARAM lParam)
{
  PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), lParam);
}

HWND ClientDriver::ActiveWindow()
{
  HWND active = nullptr;
  OnUi([&] { active = GetActiveWindow(); });
  return active;
}

HWND ClientDriver::WindowOnTop()
{
  // The input panel's keyboard lies above every window while it is up; it is never one of the
  // client's windows (it cannot be activated).
  HWND top = GetWindow(GetDesktopWindow(), GW_CHILD);
  while (top && (!IsWindowVisible(top) || (GetWindowLongW(top, GWL_EXSTYLE) & WS_EX_NOACTIVATE)))
    top = GetWindow(top, GW_HWNDNEXT);
  return top;
}

bool ClientDriver::Type(HWND field, const std::u16string& text)
{
  OnUi([&] { SetFocus(field); });
  return kvtest::TypeText(text);
}

bool ClientDriver::SubmitLogin(const std::u16string& account, const std::u16string& password,
                               std::optional<bool> remember)
{
  HWND login = WaitForShown([](CKorvexPortalShellApp& app) { return app.GetLoginDialog(); });
  if (!login)
    return false;
  HWND passwordField = GetDlgItem(login, IDC_LOGIN_PASSWORD);
  OnUi([&] {
    if (!account.empty())
      SetWindowTextW(GetDlgItem(login, IDC_LOGIN_ACCOUNT), account.c_str());
    if (!password.empty())
      ClearInputForMe(passwordField);
    if (remember)
      for (int box : {IDC_LOGIN_REMEMBER_ID, IDC_LOGIN_REMEMBER_PASSWORD})
        SendMessageW(GetDlgItem(login, box), BM_SETCHECK, *remember ? BST_CHECKED : BST_UNCHECKED, 0);
  });
  if (!password.empty() && !Type(passwordField, password))
    return false;
  PostCommand(login, IDC_LOGIN_BUTTON);
  return true;
}

HWND ClientDriver::OpenDesktopPage(DesktopSlot slot, int command)
{
  HWND desktop = WindowOf([](CKorvexPortalShellApp& app) { return app.GetDesktopDialog(); });
  if (!desktop)
    return nullptr;
  PostCommand(desktop, command);
  return WaitForShown([slot](CKorvexPortalShellApp& app) -> CBaseDlg* {
    auto* desktopDialog = static_cast<CDesktopDlg*>(app.GetDesktopDialog());
    return desktopDialog ? desktopDialog->GetPage(slot) : nullptr;
  });
}

bool ClientDriver::Screenshot(const std::string& path)
{
  return kvtest::SaveScreenshotTo(path);
}

}  // namespace korvexdrive
