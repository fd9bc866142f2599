#include "road_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dialog_ids.h"
#include "message_box_types.h"
#include "shell/sip.h"
#include "testing/screenshot.h"
#include "thread_message_box.h"
#include "unpaid_ids.h"

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

RoadTest::RoadTest(int width, int height) : screenWidth(width), screenHeight(height) {}

bool RoadTest::PrepareDevice()
{
  // The demo account, its merchant page sending orders to this device's local gateway.
  std::ifstream data(KV_DEMO_DATA, std::ios::binary);
  auto account = nlohmann::ordered_json::parse(data);
  account["merchant"]["localGateway"] = "http://127.0.0.1:" + std::to_string(localGatewayPort) + "/gateway.do";
  demo = testgateway::installDemoData(gateway, std::move(account), fs::path(KV_DEMO_DATA).parent_path());
  gateway.start();
  // The device: its screen, a phone with one contact, the gateway trusted through the test CA,
  // and a browser that notes what it is asked to open.
  std::ofstream(root.path() + "/device.ini", std::ios::binary)
      << "[screen]\nwidth = " << screenWidth << "\nheight = " << screenHeight << "\n"
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
  kvtest::SetScreenSize(screenWidth, screenHeight);
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
  if (driver) {
    if (driver->Running() && mainWindow) {
      App().AnswerNext(KV_BOX_ANSWER_OK);
      ClientDriver::PostCommand(mainWindow, ID_KV_EXIT, static_cast<LPARAM>(-1));
      EXPECT_TRUE(ClientDriver::WaitUntil([&] { return !driver->Running(); })) << Recorded();
    }
    if (CThreadMessageBox::SharedWindow())
      CThreadMessageBox::Instance().EndWait();
    EXPECT_TRUE(driver->Stop());
    CThreadMessageBox::DestroyInstance();
    driver.reset();
    app = nullptr;
  }
  clock.reset();
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
  std::string library = "ModelRes_" + std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + ".dll";
  ASSERT_TRUE(fs::exists(root.path() + "/Program Files/KorvexPortal/" + library))
      << "the client's package is installed first";
  // Each run is the program started again: a fresh application object.
  driver.reset();
  app = nullptr;
  auto owned = std::make_unique<RoadApp>();
  app = owned.get();
  driver = std::make_unique<ClientDriver>(std::move(owned));
  // This program is not the installed one: the library comes from the install folder.
  driver->UseScreenLibrary(u"\\Program Files\\KorvexPortal\\" + std::u16string(library.begin(), library.end()));
  ASSERT_TRUE(driver->Start(GetModuleHandleW(nullptr)));
  ASSERT_NE(nullptr, App().GetPaymentService());
  ASSERT_NE(nullptr, driver->WaitForShown([](CKorvexPortalShellApp& shell) { return shell.GetLoginDialog(); }))
      << Recorded();
  mainWindow = driver->WindowOf([](CKorvexPortalShellApp& shell) { return shell.GetMainDialog(); });
  ASSERT_NE(nullptr, mainWindow);
  driver->OnUi([] { SipShowIM(SIPF_OFF); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
}

void RoadTest::ExitClient()
{
  App().AnswerNext(KV_BOX_ANSWER_OK);
  ClientDriver::PostCommand(mainWindow, ID_KV_EXIT);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !driver->Running(); })) << Recorded();
  ASSERT_TRUE(driver->Stop());
  mainWindow = nullptr;
  // The program's process ends here; the next start has a shared box of its own.
  CThreadMessageBox::DestroyInstance();
}

void RoadTest::LogIn(const std::u16string& account, const std::u16string& password, bool remember)
{
  HWND dialog = Driver().WindowOf([](CKorvexPortalShellApp& shell) { return shell.GetLoginDialog(); });
  ASSERT_NE(nullptr, dialog);
  ASSERT_TRUE(Driver().SubmitLogin(account, password, remember)) << Recorded();
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !IsWindow(dialog); })) << Recorded();
  ASSERT_TRUE(kvtest::RunUntilIdle());
}

void RoadTest::LogInToDesktop()
{
  LogIn(kDemoAccount, kDemoPassword, false);
  GoOnToDesktop();
}

void RoadTest::GoOnToDesktop()
{
  // The account has trades waiting: their list comes first, and its skip key goes on.
  HWND next = Driver().WaitForScreenAfterLogin();
  ASSERT_NE(nullptr, next) << Recorded();
  if (next == Driver().WindowOf([](CKorvexPortalShellApp& shell) { return shell.GetUnpaidTradeListDialog(); }))
    ClientDriver::PostCommand(next, IDC_UNPAID_SKIP);
  HWND desktop = Driver().WaitForShown([](CKorvexPortalShellApp& shell) { return shell.GetDesktopDialog(); });
  ASSERT_NE(nullptr, desktop) << Recorded();
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return Driver().ActiveWindow() == desktop; })) << Recorded();
  EXPECT_EQ(desktop, ClientDriver::WindowOnTop()) << "the desktop shows above the main window\n" << Recorded();
}

HWND RoadTest::OpenDesktopEntry(DesktopSlot slot)
{
  HWND page = Driver().OpenDesktopPage(slot, ID_KV_DESKTOP_ITEM0 + static_cast<int>(slot));
  EXPECT_NE(nullptr, page) << Recorded();
  return page;
}

void RoadTest::SetText(HWND field, const std::u16string& text)
{
  Driver().OnUi([&] { SetWindowTextW(field, text.c_str()); });
}

HWND RoadTest::WaitForActive(const std::u16string& title)
{
  HWND found = nullptr;
  ClientDriver::WaitUntil([&] {
    HWND active = Driver().ActiveWindow();
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

std::string RoadTest::ReadHostFile(const std::string& path)
{
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void RoadTest::Shot(const std::string& step)
{
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_FALSE(kvtest::SaveScreenshot("road_" + RoadName() + "_" + step).empty());
}

void RoadTest::ShotOfProgram(kvtest::DeviceProgram& program, const std::string& step)
{
  ASSERT_TRUE(program.WaitUntilIdle());
  EXPECT_FALSE(kvtest::SaveScreenshotOfProcess("road_" + RoadName() + "_" + step, program.Window()).empty());
}

std::string RoadTest::Recorded()
{
  std::string text = "boxes:";
  if (app)
    for (const std::string& box : App().Boxes())
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

}  // namespace roads
