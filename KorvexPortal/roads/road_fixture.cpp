#include "road_fixture.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "com/init.h"
#include "dialog_ids.h"
#include "html/html_viewer.h"
#include "html/web_browser.h"
#include "login_ids.h"
#include "message_box_types.h"
#include "selvane/selvane.h"
#include "shell/dialog.h"
#include "shell/sip.h"
#include "testing/screenshot.h"
#include "thread_message_box.h"

namespace roads {

namespace fs = std::filesystem;

namespace {

constexpr DWORD kInstallerBoundMs = 120000;

std::string Narrow(const CStringW& text)
{
  return kvtest::Narrow(std::u16string(text.GetString()));
}

// The road's name for its screenshots: the test's name in lower case words.
std::string RoadName()
{
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name;
  for (char c : std::string(test ? test->name() : "road")) {
    if (c >= 'A' && c <= 'Z') {
      if (!name.empty())
        name += '_';
      name += static_cast<char>(c - 'A' + 'a');
    } else {
      name += c;
    }
  }
  return name;
}

}  // namespace

int RoadApp::ShowMessageBox(HWND owner, const CStringW& text, const CStringW& caption, UINT type, BOOL progress,
                            int afterShow)
{
  if ((type & 0xF) == KV_BOX_WAIT)
    return CKorvexPortalShellApp::ShowMessageBox(owner, text, caption, type, progress, afterShow);
  std::lock_guard<std::mutex> guard(lock_);
  boxes_.push_back(std::to_string(type) + " " + Narrow(text));
  if (!answers_.empty()) {
    int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return (type & 0xF) == KV_BOX_YESNO ? KV_BOX_ANSWER_YES : KV_BOX_ANSWER_OK;
}

std::vector<std::string> RoadApp::Boxes()
{
  std::lock_guard<std::mutex> guard(lock_);
  return boxes_;
}

void RoadApp::AnswerNext(int answer)
{
  std::lock_guard<std::mutex> guard(lock_);
  answers_.push_back(answer);
}

bool RoadTest::PrepareDevice()
{
  demo = testgateway::installDemo(gateway, KV_DEMO_DATA);
  gateway.start();
  // The device: its screen, a phone with one contact, the gateway trusted through the test CA,
  // and a browser that notes what it is asked to open.
  std::ofstream(root.path() + "/device.ini", std::ios::binary)
      << "[screen]\nwidth = 240\nheight = 320\n"
      << "[phone]\nmanufacturer = Korvex\nmodel = KV-6\nimei = 356938035643809\nimsi = 460001234567890\n"
      << "[contact]\nname = 张三\nmobile = 13800138000\n"
      << "[network]\nca_bundle = " << gateway.tlsFiles().caCertificate.string() << "\ngateway = " << gateway.httpsUrl()
      << "\n[browser]\ncommand = " << KV_ARGS_RECORDER << "\n";
  return true;
}

void RoadTest::SetUp()
{
  kvtest::UseVirtualTime();
  clock = std::make_unique<accounttest::RealPaceClockDriver>();
  kvtest::SetScreenSize(240, 320);
  fs::create_directories(root.path() + "/Windows/Start Menu/Programs");
  fs::create_directories(root.path() + "/Temp");
  // This program's own folder, where the client keeps its settings file.
  fs::create_directories(root.path() + "/Program Files/Tests");
  fs::copy_file(KV_WCELOAD, root.path() + "/Windows/wceload.exe");
  fs::permissions(root.path() + "/Windows/wceload.exe", fs::perms::owner_all);
}

void RoadTest::TearDown()
{
  gateway.releaseStalled();
  if (running && mainWindow) {
    app.AnswerNext(KV_BOX_ANSWER_OK);
    PostMessageW(mainWindow, WM_COMMAND, ID_KV_EXIT, static_cast<LPARAM>(-1));
    EXPECT_TRUE(RunUntil([&] { return !running; })) << Recorded();
  }
  if (uiThread) {
    if (CThreadMessageBox::SharedWindow())
      CThreadMessageBox::Instance().EndWait();
    Ui().Invoke([&] {
      app.DestroyDialogs();
      app.OnIdle();
      kvtest::DestroyThreadWindows();
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    CThreadMessageBox::DestroyInstance();
  }
  clock.reset();
  SelvaneUninitialize();
}

DWORD RoadTest::RunInstaller(const std::u16string& parameters, std::string* log)
{
  SHELLEXECUTEINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = u"wceload.exe";
  info.lpParameters = parameters.c_str();
  info.nShow = SW_SHOW;
  ::testing::internal::CaptureStderr();
  bool started = ShellExecuteEx(&info) != FALSE;
  DWORD waited = started ? WaitForSingleObject(info.hProcess, kInstallerBoundMs) : WAIT_FAILED;
  *log = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(started) << GetLastError();
  EXPECT_EQ(WAIT_OBJECT_0, waited) << "the installer did not end";
  DWORD code = 0xDEAD;
  if (started) {
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
  }
  return code;
}

void RoadTest::Install()
{
  fs::copy_file(KV_KORVEX_PACKAGE, root.path() + "/Temp/KorvexPortal.CAB");
  std::string log;
  ASSERT_EQ(0u, RunInstaller(u"\"\\Temp\\KorvexPortal.CAB\" /delete 1 /silent", &log)) << log;
}

void RoadTest::StartClient()
{
  ASSERT_TRUE(fs::exists(root.path() + "/Program Files/KorvexPortal/ModelRes_240x320.dll"))
      << "the client's package is installed first";
  if (!initialised_) {
    initialised_ = true;
    uiThread = std::make_unique<kvtest::UiThread>();
    Ui().Invoke([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    SHInitExtraControls();
    app.Init(GetModuleHandleW(nullptr));
    AtlAxWinInit();
    InitHTMLControl(GetModuleHandleW(nullptr));
    SelvaneInitialize(0);
    // This program is not the installed one: the library comes from the install folder.
    app.SetResourceLibrary(LoadLibraryW(u"\\Program Files\\KorvexPortal\\ModelRes_240x320.dll"));
    });
  }
  ASSERT_NE(nullptr, app.GetResourceLibrary());
  ASSERT_NE(nullptr, app.GetPaymentService());
  running = true;
  Ui().Post([this] {
    app.Run(CStringW(), SW_SHOW);
    running = false;
  });
  ASSERT_TRUE(RunUntil([&] { return app.GetLoginDialog() && IsWindowVisible(app.GetLoginDialog()->m_hWnd); }))
      << Recorded();
  mainWindow = app.GetMainDialog() ? app.GetMainDialog()->m_hWnd : nullptr;
  ASSERT_NE(nullptr, mainWindow);
  Ui().Invoke([] { SipShowIM(SIPF_OFF); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
}

void RoadTest::ExitClient()
{
  app.AnswerNext(KV_BOX_ANSWER_OK);
  PostMessageW(mainWindow, WM_COMMAND, ID_KV_EXIT, 0);
  ASSERT_TRUE(RunUntil([&] { return !running; })) << Recorded();
  mainWindow = nullptr;
  // The program's process ends here; the next start has a shared box of its own.
  CThreadMessageBox::DestroyInstance();
}

void RoadTest::LogIn(const std::u16string& account, const std::u16string& password, bool remember)
{
  CBaseDlg* login = app.GetLoginDialog();
  ASSERT_NE(nullptr, login);
  HWND dialog = login->m_hWnd;
  if (!account.empty())
    SetText(GetDlgItem(dialog, IDC_LOGIN_ACCOUNT), account);
  if (!password.empty()) {
    HWND field = GetDlgItem(dialog, IDC_LOGIN_PASSWORD);
    Ui().Invoke([&] { ClearInputForMe(field); });
    Type(field, password);
  }
  for (int box : {IDC_LOGIN_REMEMBER_ID, IDC_LOGIN_REMEMBER_PASSWORD})
    Ui().Invoke([&] {
      SendMessageW(GetDlgItem(dialog, box), BM_SETCHECK, remember ? BST_CHECKED : BST_UNCHECKED, 0);
    });
  Command(dialog, IDC_LOGIN_BUTTON);
  ASSERT_TRUE(RunUntil([&] { return !IsWindow(dialog); })) << Recorded();
  ASSERT_TRUE(kvtest::RunUntilIdle());
}

void RoadTest::LogInToDesktop()
{
  LogIn(kDemoAccount, kDemoPassword, false);
  // The account has trades waiting: their list comes first, and its skip key goes on.
  HWND unpaid = WaitForActive(u"待付款交易");
  if (unpaid) {
    Command(unpaid, 1020);
  }
  ASSERT_TRUE(RunUntil([&] {
    CBaseDlg* desktop = app.GetDesktopDialog();
    return desktop && desktop->m_hWnd && IsWindowVisible(desktop->m_hWnd) && ActiveWindow() == desktop->m_hWnd;
  })) << Recorded();
  EXPECT_EQ(app.GetDesktopDlgWindow(), WindowOnTop()) << "the desktop shows above the main window\n" << Recorded();
}

void RoadTest::Command(HWND window, int id, LPARAM lParam)
{
  PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), lParam);
}

HWND RoadTest::OpenDesktopEntry(int entry)
{
  HWND desktop = app.GetDesktopDlgWindow();
  EXPECT_NE(nullptr, desktop);
  Command(desktop, ID_KV_DESKTOP_ITEM0 + entry);
  HWND page = nullptr;
  EXPECT_TRUE(RunUntil([&] {
    page = ActiveWindow();
    HWND box = CThreadMessageBox::SharedWindow();
    return page && page != desktop && page != box && !(box && IsWindowVisible(box));
  })) << Recorded();
  EXPECT_TRUE(kvtest::RunUntilIdle());
  return page;
}

void RoadTest::Type(HWND field, const std::u16string& text)
{
  Ui().Invoke([&] { SetFocus(field); });
  ASSERT_TRUE(kvtest::TypeText(text));
}

void RoadTest::SetText(HWND field, const std::u16string& text)
{
  Ui().Invoke([&] { SetWindowTextW(field, text.c_str()); });
}

bool RoadTest::RunUntil(const std::function<bool()>& condition)
{
  // The client's thread runs its own loop: this thread only looks, within a generous bound.
  auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > bound)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

HWND RoadTest::ActiveWindow()
{
  HWND active = nullptr;
  Ui().Invoke([&] { active = GetActiveWindow(); });
  return active;
}

HWND RoadTest::WindowOnTop()
{
  HWND top = nullptr;
  Ui().Invoke([&] {
    top = WindowFromPoint(POINT{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2});
    while (top && (GetWindowLongW(top, GWL_STYLE) & WS_CHILD))
      top = GetParent(top);
  });
  return top;
}

HWND RoadTest::WindowTitled(const std::u16string& title)
{
  return FindWindowW(nullptr, title.c_str());
}

HWND RoadTest::WaitForActive(const std::u16string& title)
{
  HWND found = nullptr;
  RunUntil([&] {
    HWND active = ActiveWindow();
    if (active && TextOf(active) == title)
      found = active;
    return found != nullptr;
  });
  return found;
}

std::u16string RoadTest::TextOf(HWND window)
{
  WCHAR text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

void RoadTest::Shot(const std::string& step)
{
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_FALSE(kvtest::SaveScreenshot("road_" + RoadName() + "_" + step).empty());
}

std::string RoadTest::Recorded()
{
  std::string text = "boxes:";
  for (const std::string& box : app.Boxes())
    text += " [" + box + "]";
  text += "\nrequests:";
  std::vector<testgateway::RecordedRequest> requests = gateway.requests();
  for (const testgateway::RecordedRequest& request : requests)
    text += " " + (request.operation.empty() ? request.path : request.operation);
  if (!requests.empty())
    text += "\nlast request: " + requests.back().body;
  // The client's own log: the last lines of each log file in the device's temporary folder.
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(root.path() + "/Temp", error)) {
    if (entry.path().extension() != ".log")
      continue;
    std::ifstream file(entry.path());
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
      lines.push_back(line);
    text += "\n" + entry.path().filename().string() + ":";
    for (size_t i = lines.size() > 20 ? lines.size() - 20 : 0; i < lines.size(); ++i)
      text += "\n  " + lines[i];
  }
  return text + "\nwindows:\n" + kvtest::DumpWindowTree();
}

bool RoadTest::Received(const std::string& operation)
{
  return !gateway.requestsOf(operation).empty();
}

}  // namespace roads
